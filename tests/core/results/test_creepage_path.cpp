#include "path_models.h"

#include "../evaluation/model_builders.h"
#include "common/messages.h"
#include "results/creepage_path.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace tarvex;
using results::computeCreepagePath;

TEST(CreepagePath, UniformFieldAlongASideReportsTheFarEnd)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, 5e4);
    // The side runs from (0, 5) to (0, 0) in the region's contour: walked the other way here.
    const auto r = computeCreepagePath(m, { { 0, 0 }, { 0, 5 } });
    ASSERT_TRUE(r) << r.status.message;
    EXPECT_EQ(r.chainSegments, 1u);
    EXPECT_EQ(r.path.size(), 5u); // one piece per mesh edge
    EXPECT_NEAR(r.length(), 5.0, 1e-12);
    const double expected = 100.0 * 1.65e7 * std::pow(5.0, -0.46) / 1e7;
    EXPECT_NEAR(r.minSafetyFactor, expected, 1e-6 * expected);
    EXPECT_NEAR(r.minSafetyPoint.x, 0.0, 1e-12);
    EXPECT_NEAR(r.minSafetyPoint.y, 5.0, 1e-9);
    const graphs::GraphData& g = r.graph;
    EXPECT_EQ(g.title, "Campo sobre o Caminho de Escoamento");
    EXPECT_EQ(g.curveNames, (std::vector<std::string> { "Em", "|Et|", "Óleo" }));
    for (std::size_t i = 2; i <= g.curves[0].count(); ++i)
        EXPECT_LE(g.curves[0].x(i) - g.curves[0].x(i - 1), 0.5 + 1e-9);
    char report[200];
    std::snprintf(report, sizeof report,
        "Fator de Segurança Mínimo: %8.2f %% \n\nPonto(%8.3f,%8.3f)", r.minSafetyFactor,
        r.minSafetyPoint.x, r.minSafetyPoint.y);
    EXPECT_EQ(r.report, report);
}

TEST(CreepagePath, ReversingTangentialFieldRestartsItsSection)
{
    // V = 100 (x - 5)²: along the bottom the tangential field points forward up to x = 5 and
    // backward after it.
    const solver::SolverModel m = test::gridModel(
        10, 5, 0, 0, 10, 5, [](double x, double) { return 100.0 * (x - 5) * (x - 5); }, 0);
    const auto r = computeCreepagePath(m, { { 0, 0 }, { 10, 0 } });
    ASSERT_TRUE(r) << r.status.message;
    const materials::Curva& mean = r.graph.curves[0];
    const materials::Curva& allowable = r.graph.curves[2];
    // The two samples at x = 5: the end of the first section, the start of the second.
    std::size_t at = 0;
    for (std::size_t i = 1; i < mean.count(); ++i)
        if (std::fabs(mean.x(i) - 5.0) < 1e-12 && std::fabs(mean.x(i + 1) - 5.0) < 1e-12)
            at = i;
    ASSERT_NE(at, 0u);
    // Edge 4..5 carries |Et| = 100·1 V/mm = 1e5 V/m; the first section's mean over 0..5 is
    // (9 + 7 + 5 + 3 + 1)·1e5 / 5.
    EXPECT_NEAR(mean.y(at), 25e5 / 5, 1e-6);
    EXPECT_NEAR(mean.y(at + 1), 1e5, 1e-6);
    EXPECT_NEAR(allowable.y(at), 1.65e7 * std::pow(5.0, -0.46), 1e-3);
    EXPECT_NEAR(allowable.y(at + 1), 1.65e7 * std::pow(0.1, -0.46), 1e-3);
}

TEST(CreepagePath, ChainMustFollowContourSegments)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 5, 2.2 } }, 5e4);
    EXPECT_EQ(
        computeCreepagePath(m, { { 0, 0 }, { 5, 5 } }).status.message, msg::CaminhoDescontinuo);
    EXPECT_EQ(computeCreepagePath(m, { { 0, 0 } }).status.message, msg::CaminhoDescontinuo);
    // Two segments in a row: bottom then right side.
    const auto r = computeCreepagePath(m, { { 0, 0 }, { 10, 0 }, { 10, 5 } });
    ASSERT_TRUE(r) << r.status.message;
    EXPECT_EQ(r.chainSegments, 2u);
    EXPECT_NEAR(r.length(), 15.0, 1e-12);
    // No tangential field along the bottom electrode: only the side has a factor.
    EXPECT_NEAR(r.minSafetyDistance, 15.0, 1e-9);
}

TEST(CreepagePath, CandidatesAreTheDistinctContourEnds)
{
    const solver::SolverModel m = pathtest::platesModel({ { 0, 2, 2.2 }, { 2, 5, 4.4 } }, 5e4);
    const std::vector<geometry::Ponto> c = results::creepageCandidates(m);
    EXPECT_EQ(c.size(), 6u); // the four corners and the two ends of the interface
    const geometry::Ponto p = results::snapToCandidate(c, { 9.0, 2.4 });
    EXPECT_EQ(p, (geometry::Ponto { 10.0, 2.0 }));
}

} // namespace
