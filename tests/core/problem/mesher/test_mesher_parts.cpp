#include "mesh_fixtures.h"

#include "problem/mesher/spatial_index.h"
#include "problem/mesher/triangulation.h"
#include "problem/mesher/verify_mesh.h"
#include "problem/region_locator.h"

#include <random>

using namespace meshtest;
using namespace tarvex::problem::mesher;

TEST(InsideTest, BucketedEdgesAgreeWithTheFullCrossingCount)
{
    const ProblemData data = referenceProblem();
    const PoligonoRegiao& outer = data.poligonosRegioes[1];
    std::vector<std::pair<Ponto, Ponto>> edges;
    for (const auto& ring : outer.aneis)
        for (std::size_t i = 0; i < ring.size(); ++i)
            edges.push_back({ ring[i], ring[(i + 1) % ring.size()] });
    TesteInterior test;
    test.build(edges);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(-20, 220), y(-20, 120);
    for (int i = 0; i < 20000; ++i) {
        const Ponto p { x(random), y(random) };
        ASSERT_EQ(test.contains(p), contemPonto(outer, p)) << p.x << " " << p.y;
    }
}

TEST(CavityInsertion, KeepsADelaunayTriangulationAndRefusesRepeatedPoints)
{
    Triangulacao mesh(1e-9);
    mesh.iniciaCaixa(0, 0, 10, 10);
    std::mt19937 random(3);
    std::uniform_real_distribution<double> u(0.5, 9.5);
    Triangulacao::Insercao ins;
    std::size_t nodes = 0;
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(mesh.insere({ u(random), u(random) }, SemVizinho, ins));
        ++nodes;
    }
    VerifyOptions options;
    options.boxCount = true;
    options.nodeCount = nodes;
    EXPECT_EQ(verifyMesh(mesh, options).problem, "");
    // Empty circumcircles: no vertex strictly inside any triangle's circle.
    for (std::size_t t = 0; t < mesh.tris.size(); ++t) {
        if (!mesh.tris[t].vivo)
            continue;
        Ponto k;
        double r2 = 0;
        mesh.circuncirculo(static_cast<TriId>(t), k, r2);
        for (const TriId nb : mesh.tris[t].n) {
            if (nb == SemVizinho)
                continue;
            for (const VertexId v : mesh.tris[nb].v) {
                const double dx = mesh.pontos[v].x - k.x, dy = mesh.pontos[v].y - k.y;
                EXPECT_GE(dx * dx + dy * dy, r2 * (1 - 1e-9));
            }
        }
    }
    const Ponto again = mesh.pontos[10];
    EXPECT_FALSE(mesh.insere(again, SemVizinho, ins));
    EXPECT_EQ(ins.coincidente, 10);
    EXPECT_FALSE(mesh.insere({ 50, 50 }, SemVizinho, ins)); // outside the box
    EXPECT_EQ(verifyMesh(mesh, options).problem, "");
}

TEST(VerifyMesh, CatchesBrokenLinksTurnedTrianglesAndMissingBoundaryEdges)
{
    Triangulacao mesh(1e-9);
    mesh.iniciaCaixa(0, 0, 4, 4);
    Triangulacao::Insercao ins;
    ASSERT_TRUE(mesh.insere({ 1, 1 }, SemVizinho, ins));
    ASSERT_TRUE(mesh.insere({ 3, 3 }, SemVizinho, ins));
    ASSERT_TRUE(verifyMesh(mesh).ok());

    Triangulacao broken = mesh;
    const TriId t = ins.novos.front();
    broken.tris[t].n[0] = broken.tris[t].n[1];
    EXPECT_FALSE(verifyMesh(broken).ok());

    Triangulacao turned = mesh;
    std::swap(turned.tris[t].v[1], turned.tris[t].v[2]);
    EXPECT_FALSE(verifyMesh(turned).ok());

    VerifyOptions counted;
    counted.boxCount = true;
    counted.nodeCount = 3;
    EXPECT_FALSE(verifyMesh(mesh, counted).ok());
    // The diagonal from (1, 1) to the box corner (4, 0) is not an edge unless it is one.
    const VertexId p = 4; // (1, 1)
    std::vector<ArestaVertices> edges { { p, 3 } };
    VerifyOptions boundary;
    boundary.boundary = &edges;
    EXPECT_EQ(verifyMesh(mesh, boundary).ok(), mesh.comLado(p, 3) != SemVizinho);
}
