#include "mesh_fixtures.h"

#include "common/messages.h"
#include "common/progress.h"
#include "geometry/helpers.h"
#include "problem/mesher/spatial_index.h"
#include "problem/region_locator.h"

#include <cmath>
#include <cstring>

using namespace meshtest;
using namespace tarvex;
using namespace tarvex::problem;
using geometry::Pi;
using geometry::Ponto;

namespace {

/// Records what the run reports and stops it at a chosen checkpoint.
class RecordingProgress : public Progress {
public:
    int stopAt = -1;
    std::vector<std::string> statuses;
    std::vector<int> positions;
    void status(std::string_view text) override { statuses.emplace_back(text); }
    void percent(int value) override { positions.push_back(value); }
    bool goOn() override { return positions.empty() || positions.back() != stopAt; }
};

struct MeshRun {
    Status status;
    VerifyingObserver observer;
};

Status mesh(ProblemData& data, const OpcoesMalha& options, VerifyingObserver& observer)
{
    RecordingProgress progress;
    return gerarMalha(data, options, progress, &observer);
}

double smallestAngle(const Triangulo& t)
{
    const Ponto p[3] = { { t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 } };
    double best = 180.0;
    for (int i = 0; i < 3; ++i) {
        const Ponto& a = p[i];
        const Ponto& b = p[(i + 1) % 3];
        const Ponto& c = p[(i + 2) % 3];
        const double ang = std::acos(((b.x - a.x) * (c.x - a.x) + (b.y - a.y) * (c.y - a.y))
            / (geometry::distancia(a, b) * geometry::distancia(a, c)));
        best = std::min(best, ang * 180.0 / Pi);
    }
    return best;
}

/// Every triangle's centroid lies inside the outer contour's polygon.
void expectInsideDomain(const ProblemData& data)
{
    for (const Triangulo& t : data.triangulos.inListOrder()) {
        const Ponto c { (t.x1 + t.x2 + t.x3) / 3, (t.y1 + t.y2 + t.y3) / 3 };
        ASSERT_TRUE(contemPonto(data.poligonosRegioes[0], c)) << c.x << " " << c.y;
    }
}

double meshArea(const ProblemData& data)
{
    double area = 0.0;
    for (const Triangulo& t : data.triangulos.inListOrder())
        area += std::fabs(geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
    return area;
}

} // namespace

TEST(BoundaryCutting, StraightSegmentsRoundTheirPieceCountUpOnlyPastAFifth)
{
    const double h = 1.0;
    EXPECT_EQ(cortaElemento(SegmentoContorno::reta({ 0, 0 }, { 2.15, 0 }), h, 18).size(), 3u);
    EXPECT_EQ(cortaElemento(SegmentoContorno::reta({ 0, 0 }, { 2.25, 0 }), h, 18).size(), 4u);
    EXPECT_EQ(cortaElemento(SegmentoContorno::reta({ 0, 0 }, { 0.3, 0 }), h, 18).size(), 2u);
    const auto pts = cortaElemento(SegmentoContorno::reta({ 1, 1 }, { 1, 4 }), h, 18);
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_EQ(pts.front().y, 1.0);
    EXPECT_DOUBLE_EQ(pts[1].y, 2.0);
    EXPECT_EQ(pts.back().y, 4.0);
}

TEST(BoundaryCutting, ArcsAreCutByAngleAndLengthAndShortArcsMoreCoarsely)
{
    // A half circle of radius 50 with h = 2: pieces of at most h and at most 18 degrees.
    SegmentoContorno big = SegmentoContorno::arco({ 50, 0 }, { -50, 0 }, { 0, 0 });
    std::vector<Ponto> pts = cortaElemento(big, 2.0, 18);
    ASSERT_GT(pts.size(), 2u);
    for (std::size_t k = 1; k < pts.size(); ++k) {
        EXPECT_LE(geometry::distancia(pts[k - 1], pts[k]), 2.0 + 1e-12);
        EXPECT_NEAR(std::hypot(pts[k].x, pts[k].y), 50.0, 1e-9);
    }
    // With a large h the angle rules: 180/18 = 10 pieces; with h above five chords, 180/30.
    EXPECT_EQ(cortaElemento(big, 400.0, 18).size(), 11u);
    EXPECT_EQ(cortaElemento(big, 1000.0, 18).size(), 7u);
    // An arc stored the other way round is cut counter-clockwise from its real start.
    SegmentoContorno flipped = SegmentoContorno::arco({ -50, 0 }, { 50, 0 }, { 0, 0 });
    flipped.sentido = 0;
    EXPECT_EQ(cortaElemento(flipped, 1000.0, 18).front().x, 50.0);
    // A small arc (chord below h/5): pieces of up to 30 degrees, so 90 degrees gives 3.
    SegmentoContorno small = SegmentoContorno::arco({ 0.1, 0 }, { 0, 0.1 }, { 0, 0 });
    const auto few = cortaElemento(small, 10.0, 18);
    EXPECT_EQ(few.size(), 4u);
    for (std::size_t k = 1; k < few.size(); ++k) {
        const double a0 = std::atan2(few[k - 1].y, few[k - 1].x);
        const double a1 = std::atan2(few[k].y, few[k].x);
        EXPECT_LE((a1 - a0) * 180 / Pi, 30.0 + 1e-9);
    }
}

TEST(MeshGenerator, MeshesARectangleSoundly)
{
    ProblemData data = rectangleProblem(10, 6);
    data.arestaMaxima = 1.0;
    data.tolerancia = 1e-6;
    VerifyingObserver observer;
    ASSERT_TRUE(mesh(data, {}, observer));
    EXPECT_EQ(observer.problem, "");
    EXPECT_GT(data.numTriangulos, 60);
    EXPECT_EQ(data.numTriangulos, static_cast<int>(data.triangulos.size()));
    EXPECT_EQ(data.numNos, static_cast<int>(data.nos.size()));
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    EXPECT_NEAR(meshArea(data), 60.0, 1e-9);
    expectInsideDomain(data);
    // Euler on a disc: T = 2N - B - 2 with B boundary nodes.
    EXPECT_GT(data.qualidadeMalha, 0.5);
    EXPECT_LE(data.qualidadeMalha, 1.0);
}

TEST(MeshGenerator, MeshesTheReferenceGeometryWithEveryInvariant)
{
    ProblemData data = referenceProblem();
    data.arestaMaxima = 4.0;
    data.tolerancia = data.arestaMaxima / 1e6;
    VerifyingObserver observer;
    OpcoesMalha options;
    options.verificaAngulo = true;
    options.comprimentoReferencia = 4.0;
    ASSERT_TRUE(mesh(data, options, observer));
    EXPECT_EQ(observer.problem, "");
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    expectInsideDomain(data);
    // The domain is the rectangle; the disc is a 20-gon or finer (its chords cut the area).
    EXPECT_NEAR(meshArea(data), 20000.0, 40.0);
    EXPECT_GT(data.numTriangulos, 1500);
}

TEST(MeshGenerator, InteriorRefinementLeavesNoLargeCircleWithItsCentreInside)
{
    ProblemData data = referenceProblem();
    data.arestaMaxima = 5.0;
    data.tolerancia = data.arestaMaxima / 1e6;
    struct AfterInterior : VerifyingObserver {
        double h = 5.0;
        int offending = -1;
        const ProblemData* data = nullptr;
        void stageDone(EtapaMalha stage, const mesher::Triangulacao& m,
            const std::vector<mesher::ArestaVertices>& b, std::size_t n) override
        {
            VerifyingObserver::stageDone(stage, m, b, n);
            if (stage != EtapaMalha::PontosInternos)
                return;
            offending = 0;
            for (std::size_t t = 0; t < m.tris.size(); ++t) {
                if (!m.tris[t].vivo)
                    continue;
                Ponto k;
                double r2 = 0;
                m.circuncirculo(static_cast<mesher::TriId>(t), k, r2);
                if (std::sqrt(r2) > 0.7 * h && contemPonto(data->poligonosRegioes[0], k))
                    ++offending;
            }
        }
    } observer;
    observer.data = &data;
    RecordingProgress progress;
    ASSERT_TRUE(gerarMalha(data, {}, progress, &observer));
    EXPECT_EQ(observer.offending, 0);
    EXPECT_EQ(observer.problem, "");
}

TEST(MeshGenerator, AngleConditionHonoursTheQualityBoundOnASimpleDomain)
{
    ProblemData data = referenceProblem();
    data.arestaMaxima = 6.0;
    data.tolerancia = 6e-6;
    OpcoesMalha options;
    options.verificaAngulo = true;
    options.comprimentoReferencia = 0.5; // lets every encroached boundary edge be split
    VerifyingObserver observer;
    ASSERT_TRUE(mesh(data, options, observer));
    EXPECT_EQ(observer.problem, "");
    const double bound = std::asin(1.0 / (2.0 * data.fatorQualidade)) * 180.0 / Pi;
    for (const Triangulo& t : data.triangulos.inListOrder())
        EXPECT_GE(smallestAngle(t), bound - 1e-6);
}

TEST(MeshGenerator, ReportsItsStagesAndAnInterruptionAtAnyCheckpointLeavesNoMesh)
{
    for (const int stop : { 10, 20, 55, 65, 70, 85, 90 }) {
        ProblemData data = rectangleProblem(10, 6);
        data.arestaMaxima = 1.0;
        data.triangulos.pushFront({ 0, 0, 1, 0, 0, 1 }); // a previous mesh
        data.numTriangulos = 1;
        data.numNos = 3;
        RecordingProgress progress;
        progress.stopAt = stop;
        const Status s = gerarMalha(data, {}, progress);
        EXPECT_FALSE(s);
        EXPECT_EQ(s.message, msg::MalhaInterrompida);
        EXPECT_TRUE(data.triangulos.empty());
        EXPECT_TRUE(data.nos.empty());
        EXPECT_EQ(data.numTriangulos, 0);
        EXPECT_EQ(data.numNos, 0);
    }
    ProblemData data = rectangleProblem(10, 6);
    data.arestaMaxima = 1.0;
    RecordingProgress progress;
    OpcoesMalha all;
    all.verificaAngulo = true;
    all.recentragem = true;
    all.comprimentoReferencia = 1.0;
    ASSERT_TRUE(gerarMalha(data, all, progress));
    EXPECT_EQ(progress.positions, (std::vector<int> { 10, 20, 55, 65, 70, 85, 90, 100 }));
    EXPECT_EQ(progress.statuses,
        (std::vector<std::string> { std::string(msg::MalhaPreparando),
            std::string(msg::MalhaNosFronteira), std::string(msg::MalhaNosInternos),
            std::string(msg::MalhaCondicaoAngulo), std::string(msg::MalhaReconstituindo),
            std::string(msg::MalhaCantos), std::string(msg::MalhaRecentrando),
            std::string(msg::MalhaConcluida) }));
}

TEST(MeshGenerator, SameInputGivesTheSameTriangleListByteForByte)
{
    const auto run = [] {
        ProblemData data = referenceProblem();
        data.arestaMaxima = 6.0;
        data.tolerancia = 6e-6;
        OpcoesMalha options;
        options.verificaAngulo = true;
        options.recentragem = true;
        options.comprimentoReferencia = 6.0;
        VerifyingObserver observer;
        EXPECT_TRUE(mesh(data, options, observer));
        EXPECT_EQ(observer.problem, "");
        return writeDat(data);
    };
    const std::string first = run();
    EXPECT_EQ(first, run());
}

TEST(MeshGenerator, SmoothingKeepsContourNodesAndTheMeshValid)
{
    ProblemData data = referenceProblem();
    data.arestaMaxima = 5.0;
    data.tolerancia = 5e-6;
    OpcoesMalha options;
    options.recentragem = true;
    VerifyingObserver observer;
    ASSERT_TRUE(mesh(data, options, observer));
    EXPECT_TRUE(mesher::verifyTriangulos(data).ok()) << mesher::verifyTriangulos(data).problem;
    // The disc keeps its polygonal outline: the area inside it is unchanged by smoothing.
    double disc = 0.0;
    for (const Triangulo& t : data.triangulos.inListOrder()) {
        const Ponto c { (t.x1 + t.x2 + t.x3) / 3, (t.y1 + t.y2 + t.y3) / 3 };
        if (std::hypot(c.x - 60, c.y - 50) < 20)
            disc += std::fabs(
                geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
    }
    ProblemData rough = referenceProblem();
    rough.arestaMaxima = 5.0;
    rough.tolerancia = 5e-6;
    ASSERT_TRUE(mesh(rough, {}, observer));
    EXPECT_GE(data.qualidadeMalha, rough.qualidadeMalha);
    double discRough = 0.0;
    for (const Triangulo& t : rough.triangulos.inListOrder()) {
        const Ponto c { (t.x1 + t.x2 + t.x3) / 3, (t.y1 + t.y2 + t.y3) / 3 };
        if (std::hypot(c.x - 60, c.y - 50) < 20)
            discRough += std::fabs(
                geometry::areaOrientada({ t.x1, t.y1 }, { t.x2, t.y2 }, { t.x3, t.y3 }));
    }
    EXPECT_NEAR(disc, discRough, 1e-6);
}

TEST(MeshGenerator, RefusesRunsThatCannotGiveAMesh)
{
    ProblemData empty;
    empty.arestaMaxima = 1.0;
    RecordingProgress progress;
    EXPECT_EQ(gerarMalha(empty, {}, progress).message, msg::MalhaSemContorno);
    ProblemData tiny = rectangleProblem(10, 6);
    tiny.arestaMaxima = 1e-6;
    EXPECT_EQ(gerarMalha(tiny, {}, progress).message, msg::MalhaGrandeDemais);
    EXPECT_EQ(tiny.numTriangulos, 0);
}
