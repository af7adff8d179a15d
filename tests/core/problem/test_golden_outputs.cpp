#include "core/problem/mesher/mesh_fixtures.h"

#include "common/progress.h"
#include "geometry/arrangements.h"
#include "geometry/drawing_edit.h"
#include "geometry/helpers.h"
#include "problem/mesher/triangulation.h"

#include <cmath>
#include <cstdint>
#include <string_view>

using namespace meshtest;
using namespace tarvex::problem::mesher;
using geometry::DrawingData;

// Drawings, exported problems and meshes are stored files: these runs pin the bytes they are
// written as, so that a reorganisation that moves one record or changes one rounding fails.

namespace {

/// FNV-1a: a short fingerprint of a whole file, so a golden value fits on a line.
std::uint64_t fingerprint(std::string_view bytes)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

class Silent : public Progress {
public:
    void status(std::string_view) override { }
    void percent(int) override { }
    bool goOn() override { return true; }
};

std::uint64_t meshFingerprint(ProblemData data, const OpcoesMalha& options)
{
    Silent progress;
    VerifyingObserver observer;
    EXPECT_TRUE(gerarMalha(data, options, progress, &observer));
    EXPECT_EQ(observer.problem, "");
    return fingerprint(writeDat(data));
}

std::uint64_t exportFingerprint(const DrawingData& drawing)
{
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    return fingerprint(escreveDatExportado(drawing.fatorEscala, { 0, 1, 0, 1 }, formed.regioes));
}

void circle(DrawingData& d, double cx, double cy, double r)
{
    d.arcos.pushFront({ { cx + r, cy }, { cx - r, cy }, { cx, cy } });
    d.arcos.pushFront({ { cx - r, cy }, { cx + r, cy }, { cx, cy } });
}

/// A square area of the given side about (cx, cy), counter-clockwise.
Regiao squareArea(double cx, double cy, double side)
{
    const double s = side / 2;
    const geometry::Ponto p[4]
        = { { cx - s, cy - s }, { cx + s, cy - s }, { cx + s, cy + s }, { cx - s, cy + s } };
    Regiao area;
    for (int i = 3; i >= 0; --i)
        area.segmentos.pushFront(SegmentoContorno::reta(p[i], p[(i + 1) % 4]));
    return area;
}

} // namespace

TEST(GoldenOutputs, ArrangementDrawings)
{
    const std::uint64_t expected[4] = { 8300382669176008203ull, 14583772006313478666ull,
        7198306766665773342ull, 12879653829597374405ull };
    for (int tipo = 1; tipo <= 4; ++tipo) {
        DrawingData drawing;
        ASSERT_TRUE(geometry::gerarArranjo(geometry::dimensoesPadrao(tipo), drawing));
        EXPECT_EQ(fingerprint(geometry::writeDes(drawing)), expected[tipo - 1]) << tipo;
    }
}

TEST(GoldenOutputs, ReproducedMovedAndDeletedSegmentsAndArcs)
{
    DrawingData d;
    geometry::SelecaoDesenho sel;
    geometry::Alteracoes alt;
    const geometry::Segmento s { { 0, 0 }, { 3, 1 } };
    const geometry::Arco a { { 5, 0 }, { 4, 1 }, { 4, 0 } };
    d.segmentos.pushFront(s);
    d.arcos.pushFront(a);
    sel.segmentos = { s };
    sel.arcos = { a };
    ASSERT_TRUE(geometry::reproduzLinear(d, sel, 1.5, -0.5, 3, alt));
    ASSERT_TRUE(geometry::reproduzPolar(d, sel, 0.25, 40, 2, { 1, 1 }, alt));
    ASSERT_TRUE(geometry::deslocaPolar(d, sel, 0.5, 15, alt));
    // Copies of records that are in the drawing twice, and of one that is not there at all.
    d.segmentos.pushFront(s);
    d.arcos.pushFront(a);
    sel.segmentos = { s, s, s, { { 9, 9 }, { 8, 8 } } };
    sel.arcos = { a, a };
    ASSERT_TRUE(geometry::excluiSegmentosSelecionados(d, sel, alt));
    EXPECT_EQ(fingerprint(geometry::writeDes(d)), 15822534600156043923ull);
}

TEST(GoldenOutputs, ExportsWithSplitArcsAndJunctions)
{
    DrawingData arcs; // arcs crossing arcs and segments
    circle(arcs, 0, 0, 10);
    circle(arcs, 12, 0, 10);
    arcs.segmentos.pushFront({ { -15, -15 }, { 30, -15 } });
    arcs.segmentos.pushFront({ { 30, -15 }, { 30, 15 } });
    arcs.segmentos.pushFront({ { 30, 15 }, { -15, 15 } });
    arcs.segmentos.pushFront({ { -15, 15 }, { -15, -15 } });
    arcs.segmentos.pushFront({ { 6, -15 }, { 6, 15 } });
    EXPECT_EQ(exportFingerprint(arcs), 3006620456466002914ull);

    DrawingData junctions; // ends on other elements' interiors, one within the minimum distance
    circle(junctions, 0, 0, 10);
    junctions.segmentos.pushFront({ { 0, -10 }, { 0, 10 } });
    junctions.segmentos.pushFront({ { 0, 3 }, { 9.99, 3 } });
    EXPECT_EQ(exportFingerprint(junctions), 2465858032089222998ull);
}

TEST(GoldenOutputs, Meshes)
{
    ProblemData plain = referenceProblem();
    plain.arestaMaxima = 5.0;
    plain.tolerancia = 5e-6;
    EXPECT_EQ(meshFingerprint(plain, {}), 18363757039185315557ull);

    // The angle condition splits encroached boundary edges and adds interior points.
    OpcoesMalha angle;
    angle.verificaAngulo = true;
    angle.comprimentoReferencia = 0.5;
    ProblemData quality = referenceProblem();
    quality.arestaMaxima = 6.0;
    quality.tolerancia = 6e-6;
    EXPECT_EQ(meshFingerprint(quality, angle), 12171094451698228042ull);

    // A finer special region, far enough below h for the grading next to it, plus a special
    // area, the angle condition and smoothing.
    OpcoesMalha all = angle;
    all.recentragem = true;
    ProblemData special = referenceProblem();
    special.arestaMaxima = 8.0;
    special.tolerancia = 8e-6;
    special.arestaEspecial = 2.0;
    special.regioesEspeciais.pushFront(2);
    special.areasEspeciais.pushFront(squareArea(150, 50, 20));
    EXPECT_EQ(meshFingerprint(special, all), 8692759355009840844ull);
}

TEST(CavityInsertion, LinksAWideCavityAsANarrowOne)
{
    // Co-circular points make every triangle's circle the same: the centre's cavity is the whole
    // polygon, on both sides of the size where new triangles are linked through a sorted table.
    for (const int sides : { 40, 100 }) {
        Triangulacao mesh(1e-9);
        mesh.iniciaCaixa(-2, -2, 2, 2);
        Triangulacao::Insercao ins;
        for (int i = 0; i < sides; ++i) {
            const double a = 2 * geometry::Pi * i / sides;
            ASSERT_TRUE(mesh.insere({ std::cos(a), std::sin(a) }, SemVizinho, ins));
        }
        ASSERT_TRUE(mesh.insere({ 0.0, 0.0 }, SemVizinho, ins));
        EXPECT_GE(ins.novos.size(), static_cast<std::size_t>(sides));
        VerifyOptions options;
        options.boxCount = true;
        options.nodeCount = static_cast<std::size_t>(sides) + 1;
        EXPECT_EQ(verifyMesh(mesh, options).problem, "") << sides;
        for (int i = 0; i < sides; ++i)
            EXPECT_NE(mesh.comLado(ins.vertice, static_cast<VertexId>(i + 4)), SemVizinho) << i;
    }
}
