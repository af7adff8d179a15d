// The shipped transformer-window example: its drawing must trace into the regions its README
// describes, and its solution must show the field a balanced pair of windings gives, since the
// demonstration and the first look of a new user rest on it.

#include "common/progress.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "problem/dat_io.h"
#include "problem/editing.h"
#include "problem/formar_regioes.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"
#include "solver/export_msh.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace tarvex;
using namespace tarvex::problem;

namespace {

constexpr double Mu0 = 4e-7 * 3.14159265358979323846;

const std::string ExamplePath
    = std::string(TARVEX_TEST_DATA) + "/../../examples/transformer_window/transformer_window.pre";

geometry::DrawingData exampleDrawing()
{
    geometry::DrawingData drawing;
    const Status s = geometry::openDrawing(ExamplePath, "pre", drawing);
    EXPECT_TRUE(s) << ExamplePath << ": " << s.message;
    return drawing;
}

/// Signed area of a traced contour (straight elements only, as in this drawing); a cut walked
/// both ways adds nothing.
double contourArea(const Regiao& region)
{
    double twice = 0.0;
    for (const SegmentoContorno& s : region.segmentos.inListOrder())
        twice += s.x1 * s.y2 - s.x2 * s.y1;
    return 0.5 * twice;
}

/// The traced regions' areas (the outer contour's included), sorted.
std::vector<double> tracedAreas(const geometry::DrawingData& drawing)
{
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    std::vector<double> areas;
    for (const Regiao& region : formed.regioes.inListOrder())
        areas.push_back(std::fabs(contourArea(region)));
    std::sort(areas.begin(), areas.end());
    return areas;
}

/// The two 20 × 100 windings, the window air less the windings, the core frame less the window,
/// the outer air less the frame, and the outer contour 320 × 260.
const std::vector<double> ExpectedAreas { 2000.0, 2000.0, 8000.0, 28000.0, 43200.0, 83200.0 };

void setRegion(ProblemData& data, double x, double y, double mu, double j)
{
    int position = 0;
    ASSERT_TRUE(regiaoSobPonto(data, { x, y }, position)) << x << "," << y;
    ValoresRegiao values = valoresDaRegiao(*data.regiaoNaPosicao(position), data.tipoAnalise);
    values.permeabilidade = mu;
    values.densidade = j;
    ASSERT_TRUE(editaRegioes(data, { position }, values));
}

/// The demonstration's problem (scripts/demo), on a coarser mesh.
solver::SolverModel solvedExample(double maxEdge)
{
    geometry::DrawingData drawing = exampleDrawing();
    ResultadoFormacao formed;
    EXPECT_TRUE(formarRegioes(drawing, formed));
    ProblemData data;
    EXPECT_TRUE(readDat(
        std::string_view(escreveDatExportado(drawing.fatorEscala, {}, formed.regioes)), data));
    setRegion(data, 85, 130, 1000.0, 0.0);
    setRegion(data, 130, 100, 1.0, 2.0);
    setRegion(data, 170, 100, 1.0, -2.0);
    potencialContornoExterno(data, 0.0);
    data.arestaMaxima = maxEdge;
    data.tolerancia = maxEdge / 1e6;
    OpcoesMalha options;
    options.verificaAngulo = true;
    options.comprimentoReferencia = maxEdge;
    NoProgress progress;
    EXPECT_TRUE(gerarMalha(data, options, progress));

    solver::SolverModel model;
    const solver::ExportResult exported = solver::buildSolverModel(data, model);
    EXPECT_TRUE(exported) << exported.status.message;
    solver::RunSettings settings;
    settings.linearTolerance = 1e-8;
    solver::NoRunReporter reporter;
    const solver::RunResult run = solver::runLinear(model, settings, reporter);
    EXPECT_TRUE(run) << run.status.message;
    return model;
}

/// The node nearest to a point (the model is small: a scan will do).
const solver::MeshNode& nearestNode(const solver::SolverModel& model, double x, double y)
{
    std::size_t best = 1;
    for (std::size_t i = 1; i < model.nodes.size(); ++i)
        if (std::hypot(model.nodes[i].x - x, model.nodes[i].y - y)
            < std::hypot(model.nodes[best].x - x, model.nodes[best].y - y))
            best = i;
    return model.nodes[best];
}

} // namespace

TEST(TransformerWindowExample, TracesTheOuterContourAndFiveRegionsOfTheDescribedAreas)
{
    const geometry::DrawingData drawing = exampleDrawing();
    EXPECT_DOUBLE_EQ(drawing.fatorEscala, 1000.0);
    const std::vector<double> areas = tracedAreas(drawing);
    ASSERT_EQ(areas.size(), ExpectedAreas.size());
    for (std::size_t k = 0; k < areas.size(); ++k)
        EXPECT_NEAR(areas[k], ExpectedAreas[k], 1e-6) << k;
}

// The same drawing with its elements listed the other way round (as a .des written from the .pre
// reads back) must trace the same regions: a region walk that passes its start point a second
// time (at a cut line) must not close there, or the export gives ten overlapping regions.
TEST(TransformerWindowExample, TracesTheSameRegionsWhateverTheElementOrder)
{
    const geometry::DrawingData drawing = exampleDrawing();
    geometry::DrawingData reversed = drawing;
    reversed.segmentos = {};
    for (const auto& s : drawing.segmentos.inListOrder())
        reversed.segmentos.pushFront(s);
    const std::vector<double> areas = tracedAreas(reversed);
    ASSERT_EQ(areas.size(), ExpectedAreas.size());
    for (std::size_t k = 0; k < areas.size(); ++k)
        EXPECT_NEAR(areas[k], ExpectedAreas[k], 1e-6) << k;
}

TEST(TransformerWindowExample, BalancedWindingsGiveTheLeakageFieldOfAmpereLaw)
{
    const solver::SolverModel model = solvedExample(6.0);
    ASSERT_EQ(model.calculationKind, solver::CalculationKind::Linear);

    // The imposed outer contour stays at 0, and with the ampere-turns balanced almost no flux
    // leaves the core: the outer air sees a small fraction of the window's potentials.
    double largest = 0.0;
    double outside = 0.0;
    for (std::size_t i = 1; i < model.nodes.size(); ++i) {
        const solver::MeshNode& n = model.nodes[i];
        if (n.x == 0.0 || n.y == 0.0 || n.x == 320.0 || n.y == 260.0) {
            EXPECT_EQ(n.value, 0.0) << n.x << "," << n.y;
        }
        largest = std::max(largest, std::fabs(n.value));
        if (n.x < 55.0 || n.x > 265.0 || n.y < 25.0 || n.y > 235.0)
            outside = std::max(outside, std::fabs(n.value));
    }
    ASSERT_GT(largest, 0.0);
    EXPECT_LT(outside, 0.05 * largest);

    // In the gap between the windings the field is vertical and H ≈ NI / h with NI = 2 A/mm² ×
    // 2000 mm² = 4 kA, h between the winding height (0.1 m) and the window height (0.12 m).
    const solver::MeshNode& left = nearestNode(model, 144.0, 130.0);
    const solver::MeshNode& right = nearestNode(model, 156.0, 130.0);
    ASSERT_GT(right.x - left.x, 5.0);
    const double b = std::fabs(right.value - left.value) / ((right.x - left.x) / 1000.0);
    EXPECT_GT(b, Mu0 * 4000.0 / 0.12 * 0.95);
    EXPECT_LT(b, Mu0 * 4000.0 / 0.10 * 1.05);
    // Positive J flows into the drawing plane: the inner winding's potential is negative, the
    // outer one's positive.
    EXPECT_LT(nearestNode(model, 130.0, 130.0).value, 0.0);
    EXPECT_GT(nearestNode(model, 170.0, 130.0).value, 0.0);
}
