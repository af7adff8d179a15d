#include "path_models.h"

#include "common/messages.h"
#include "results/critical_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

namespace {

using namespace tarvex;
using pathtest::Layer;
using results::computeCriticalPath;

// 50 kV over 5 mm: 1e7 V/m.
constexpr double High = 5e4;
constexpr double Field = 1e7;

double curveY(const graphs::GraphData& g, std::size_t curve, double x)
{
    const materials::Curva& c = g.curves.at(curve);
    for (std::size_t i = c.count(); i >= 1; --i)
        if (std::fabs(c.x(i) - x) < 1e-9)
            return c.y(i);
    return std::nan("");
}

TEST(CriticalPath, UniformOilGapReportsTheFarEndAgainstTheOilFormula)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, High);
    const auto r = computeCriticalPath(m, { 5.3, -1.0 }, { 5.3, 7.0 });
    ASSERT_TRUE(r) << r.status.message;
    EXPECT_DOUBLE_EQ(r.start.x, 5.3);
    EXPECT_DOUBLE_EQ(r.start.y, 0.0);
    EXPECT_NEAR(r.length(), 5.0, 1e-9);
    EXPECT_NEAR(r.path.back().x2, 5.3, 1e-9);
    EXPECT_NEAR(r.path.back().y2, 5.0, 1e-9);

    const double expected = 100.0 * 1.75e7 * std::pow(5.0, -0.37) / Field;
    EXPECT_NEAR(r.minSafetyFactor, expected, 1e-4 * expected);
    EXPECT_NEAR(r.minSafetyDistance, 5.0, 1e-9);
    EXPECT_NEAR(r.minSafetyPoint.y, 5.0, 1e-9);
    char report[200];
    std::snprintf(report, sizeof report,
        "Fator de Segurança Mínimo: %8.2f %% \n\nPonto(%8.3f,%8.3f)", r.minSafetyFactor,
        r.minSafetyPoint.x, r.minSafetyPoint.y);
    EXPECT_EQ(r.report, report);

    // Samples every 0.1 at most; the mean field of one gap is the field itself.
    const graphs::GraphData& g = r.pathGraph;
    ASSERT_EQ(g.curves.size(), 3u);
    EXPECT_EQ(g.title, "Campo sobre Caminho");
    EXPECT_EQ(g.curveNames, (std::vector<std::string> { "| Em |", "| E |", "Óleo" }));
    const materials::Curva& mean = g.curves[0];
    for (std::size_t i = 2; i <= mean.count(); ++i) {
        EXPECT_LE(mean.x(i) - mean.x(i - 1), 0.1 + 1e-9);
        EXPECT_NEAR(mean.y(i), Field, 1e-6 * Field);
    }
    // No pressboard: no sample counts as between barriers.
    EXPECT_NEAR(curveY(g, 2, 2.5), 1.75e7 * std::pow(2.5, -0.37), 1.0);

    const graphs::GraphData fs = results::safetyFactorGraph(g);
    EXPECT_EQ(fs.title, "Fator de Segurança sobre o Caminho (%)");
    EXPECT_EQ(fs.curveNames, (std::vector<std::string> { "FS", "Ref." }));
    EXPECT_NEAR(fs.curves[0].y(fs.curves[0].count()), expected, 1e-4 * expected);
    EXPECT_DOUBLE_EQ(fs.curves[1].y(1), 100.0);
}

TEST(CriticalPath, StartOnASharedVertexSkipsTrianglesTheFieldLeavesAtOnce)
{
    // The start electrode on top: around the vertex (5, 5) the first triangle in list order lies
    // to the left, and the field, pointing down, leaves it at the vertex itself.
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, -High,
        { pathtest::electrode(0, 0, 10, 0, -High), pathtest::electrode(0, 5, 10, 5, 0.0) });
    const auto r = computeCriticalPath(m, { 5.0, 6.0 }, { 5.0, -1.0 });
    ASSERT_TRUE(r) << r.status.message;
    EXPECT_NEAR(r.length(), 5.0, 1e-9);
    for (const solver::ContourSegment& s : r.path) {
        EXPECT_NEAR(s.x1, 5.0, 1e-9);
        EXPECT_NEAR(s.x2, 5.0, 1e-9);
    }
    EXPECT_NEAR(r.path.back().y2, 0.0, 1e-9);
}

TEST(CriticalPath, GapsRestartAtEveryInterfaceAndPressboardSpanRaisesOil)
{
    // oil | pressboard | oil | pressboard | oil, one millimetre each.
    const solver::SolverModel m = pathtest::platesModel(
        { { 0, 1, 2.2 }, { 1, 2, 4.4 }, { 2, 3, 2.2 }, { 3, 4, 4.4 }, { 4, 5, 2.2 } }, High);
    const auto r = computeCriticalPath(m, { 5.3, -1.0 }, { 5.3, 7.0 });
    ASSERT_TRUE(r) << r.status.message;
    const graphs::GraphData& g = r.pathGraph;
    const double oil = curveY(g, 1, 0.5);
    const double board = curveY(g, 1, 1.5);
    EXPECT_NEAR(oil / board, 2.0, 1e-6); // D is continuous

    // Each layer is its own gap: the mean restarts, and so does the allowable field's length.
    EXPECT_NEAR(curveY(g, 0, 2.5), oil, 1e-6 * oil);
    EXPECT_NEAR(curveY(g, 2, 0.5), 1.75e7 * std::pow(0.5, -0.37), 1.0);
    EXPECT_NEAR(curveY(g, 2, 2.5), 2.15e7 * std::pow(0.5, -0.37), 1.0);
    EXPECT_NEAR(curveY(g, 2, 4.5), 1.75e7 * std::pow(0.5, -0.37), 1.0);
    EXPECT_DOUBLE_EQ(curveY(g, 2, 1.5), 0.0);
    // The worst oil is the end of a 1 mm outer gap.
    const double expected = 100.0 * 1.75e7 / oil;
    EXPECT_NEAR(r.minSafetyFactor, expected, 1e-6 * expected);
    EXPECT_NEAR(r.minSafetyDistance, 1.0, 1e-9);
}

TEST(CriticalPath, SolidOnlyPathHasNoFactorAndTheWideFormat)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 4.4 } }, High);
    const auto r = computeCriticalPath(m, { 2.5, -1.0 }, { 2.5, 7.0 });
    ASSERT_TRUE(r) << r.status.message;
    EXPECT_EQ(r.minSafetyFactor, 1e300);
    EXPECT_EQ(r.report, "Fator de Segurança Mínimo:   1e+300 % \n\nPonto(   2.500,   0.000)");
}

TEST(CriticalPath, Refusals)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, High);
    auto r = computeCriticalPath(m, { 2.0, -1.0 }, { 8.0, -1.0 });
    EXPECT_EQ(r.status.message, msg::MesmoPotencial);
    EXPECT_TRUE(r.path.empty());
    EXPECT_TRUE(r.electrodesChosen);

    // A straight electrode and an arc over it with the same two ends.
    problem::SegmentoContorno arc = problem::SegmentoContorno::arco({ 10, 0 }, { 0, 0 }, { 5, 0 });
    arc.potencial = 1.0;
    const solver::SolverModel twin = pathtest::platesModel(
        { { 0, 5, 2.2 } }, High, { pathtest::electrode(0, 0, 10, 0, High), arc });
    r = computeCriticalPath(twin, { 5.0, -1.0 }, { 5.0, 4.0 });
    EXPECT_EQ(r.status.message, msg::SegmentosConectados);

    // The field line from x = 8 reaches the top outside the end electrode.
    const solver::SolverModel partial = pathtest::platesModel({ { 0, 5, 2.2 } }, High,
        { pathtest::electrode(0, 0, 10, 0, High), pathtest::electrode(0, 5, 2, 5, 0.0) });
    r = computeCriticalPath(partial, { 8.0, -1.0 }, { 1.0, 6.0 });
    EXPECT_EQ(r.status.message, msg::CaminhoCriticoImpossivel);
    EXPECT_TRUE(r.path.empty());
    EXPECT_TRUE(r.report.empty());
}

TEST(CriticalPath, UserCurveReplacesTheOilFormula)
{
    const auto file = std::filesystem::temp_directory_path() / "tarvex_oil_curve_test.mat";
    {
        std::ofstream out(file);
        out << "3 2\n0.5 4e7\n2 2e7\n10 1e7\n";
    }
    results::AllowableFieldCurve curve;
    ASSERT_TRUE(results::openAllowableCurve(file.string(), curve));
    EXPECT_EQ(curve.source, "tarvex_oil_curve_test.mat");
    // Held at its ends outside its lengths.
    EXPECT_DOUBLE_EQ(curve.value(0.1), 4e7);
    EXPECT_NEAR(curve.value(50.0), 1e7, 1e-3);
    // Between 2 and 10 the spline would swing below the points: it is kept within them.
    for (double g = 2.0; g <= 10.0; g += 0.25) {
        EXPECT_LE(curve.value(g), 2e7) << g;
        EXPECT_GE(curve.value(g), 1e7) << g;
    }

    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, High);
    const auto r = computeCriticalPath(m, { 5.3, -1.0 }, { 5.3, 7.0 }, &curve);
    ASSERT_TRUE(r) << r.status.message;
    const double expected = 100.0 * curve.value(5.0) / Field;
    EXPECT_NEAR(r.minSafetyFactor, expected, 1e-6 * expected);
    EXPECT_NE(r.report.find("\n\nCampo admissível: curva de tarvex_oil_curve_test.mat"),
        std::string::npos);

    {
        std::ofstream out(file);
        out << "2 2\n2 4e7\n1 2e7\n"; // lengths must rise
    }
    results::AllowableFieldCurve unchanged = curve;
    EXPECT_EQ(results::openAllowableCurve(file.string(), unchanged).message,
        msg::CurvaAdmissivelInvalida);
    EXPECT_EQ(unchanged.source, curve.source);
    std::filesystem::remove(file);
}

TEST(CriticalPath, SafetyRulesOnHandMadeSamples)
{
    // A gap shorter than 0.1 takes the allowable field of 0.1; a change of er by at most 1e-4
    // continues the gap.
    results::PathSamples s;
    s.add(0.0, 1e6, 2.2 * 8.854e-12);
    s.add(0.05, 1e6, 2.2 * 8.854e-12);
    s.add(0.05, 3e6, 2.20005 * 8.854e-12);
    s.add(0.1, 3e6, 2.20005 * 8.854e-12);
    const results::PathSafety p = results::evaluatePathSafety(s, nullptr);
    const materials::Curva& mean = p.graph.curves[0];
    ASSERT_EQ(mean.count(), 4u);
    EXPECT_NEAR(mean.y(4), (0.05 * 1e6 + 0.05 * 3e6) / 0.1, 1e-3);
    EXPECT_NEAR(p.graph.curves[2].y(2), 1.75e7 * std::pow(0.1, -0.37), 1.0);
    EXPECT_NEAR(p.minSafetyFactor, 100.0 * 1.75e7 * std::pow(0.1, -0.37) / 2e6, 1e-6);

    // Refinement carries the earlier sample and never overshoots the next one.
    results::PathSamples two;
    two.add(0.0, 1.0, 0.0);
    two.add(0.3, 2.0, 0.0);
    const results::PathSamples fine = results::refineSamples(two, 0.1);
    ASSERT_EQ(fine.size(), 4u);
    EXPECT_DOUBLE_EQ(fine.field[2], 1.0);
    EXPECT_DOUBLE_EQ(fine.distance[3], 0.3);

    // Distances no real model has (a damaged file) are not filled without end.
    results::PathSamples absurd;
    absurd.add(0.0, 1.0, 0.0);
    absurd.add(1e12, 1.0, 0.0);
    absurd.add(std::numeric_limits<double>::infinity(), 1.0, 0.0);
    EXPECT_EQ(results::refineSamples(absurd, 0.1).size(), 3u);
}

} // namespace
