#include "evaluation/flux.h"
#include "model_builders.h"

#include <gtest/gtest.h>

using namespace tarvex;
using namespace tarvex::evaluation;

namespace {

solver::SolverModel linearModel()
{
    return test::gridModel(3, 2, 0, 0, 3, 2, [](double x, double y) { return 2.0 * x - y; });
}

} // namespace

TEST(Flux, DifferenceOfPotentialsWhereverThePointsLie)
{
    const solver::SolverModel m = linearModel();
    // Inside one triangle, inside two triangles, on an edge, on a vertex, on the outline.
    EXPECT_NEAR(fluxBetweenPoints(m, 0.6, 0.2, 0.8, 0.3).value, 2.0 * 0.2 - 0.1, 1e-12);
    EXPECT_NEAR(fluxBetweenPoints(m, 0.6, 0.2, 2.5, 1.7).value, (5.0 - 1.7) - (1.2 - 0.2), 1e-12);
    EXPECT_NEAR(fluxBetweenPoints(m, 1.5, 1.5, 2.0, 1.0).value, 3.0 - 1.5, 1e-12);
    EXPECT_NEAR(fluxBetweenPoints(m, 0.0, 2.0, 3.0, 0.0).value, 6.0 - (-2.0), 1e-12);
    const FluxResult forward = fluxBetweenPoints(m, 0.25, 0.75, 2.9, 0.1);
    const FluxResult backward = fluxBetweenPoints(m, 2.9, 0.1, 0.25, 0.75);
    ASSERT_TRUE(forward.found);
    EXPECT_DOUBLE_EQ(forward.value, -backward.value);
    EXPECT_NE(forward.value, 0.0);
}

TEST(Flux, PointOutsideGivesZero)
{
    const solver::SolverModel m = linearModel();
    const FluxResult r = fluxBetweenPoints(m, 0.5, 0.5, 3.5, 0.5);
    EXPECT_FALSE(r.found);
    EXPECT_EQ(r.value, 0.0);
    EXPECT_FALSE(fluxBetweenPoints(m, -0.01, 0.5, 1.0, 1.0).found);
}

TEST(Flux, PassesPickInteriorThenEdgeThenVertex)
{
    // Node values that no single plane fits: each pass shows by the value it returns.
    solver::SolverModel m = test::gridModel(1, 1, 0, 0, 1, 1, [](double, double) { return 0.0; });
    m.nodes[1].value = 1.0; // (0, 0)
    m.nodes[2].value = 2.0; // (1, 0)
    m.nodes[3].value = 4.0; // (0, 1)
    m.nodes[4].value = 8.0; // (1, 1)
    // The bottom edge from (0,0) to (1,0): a quarter along it.
    EXPECT_DOUBLE_EQ(*potentialAt(m, 0.25, 0.0), 0.75 * 1.0 + 0.25 * 2.0);
    // The diagonal, shared by both triangles, is found in the edge pass.
    EXPECT_DOUBLE_EQ(*potentialAt(m, 0.5, 0.5), 4.5);
    // A vertex, and a point within 1e-4 of it but off both its edges' dead bands.
    EXPECT_DOUBLE_EQ(*potentialAt(m, 1.0, 1.0), 8.0);
    EXPECT_DOUBLE_EQ(*potentialAt(m, 1.0 + 5e-5, 1.0 + 5e-5), 8.0);
    EXPECT_FALSE(potentialAt(m, 1.0 + 2e-4, 1.0).has_value());
    EXPECT_DOUBLE_EQ(interpolateOnEdge(m.nodes[1], m.nodes[4], 0.3, 0.3), 1.0 + (8.0 - 1.0) * 0.3);
}

TEST(Flux, ResultText)
{
    EXPECT_EQ(fluxText(-0.01243), "Fluxo/m :     -0.01243");
}
