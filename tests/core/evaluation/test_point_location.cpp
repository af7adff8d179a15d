#include "evaluation/point_location.h"
#include "model_builders.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarvex;
using namespace tarvex::evaluation;

namespace {

/// The list-order rule walked over the whole list: what the index must reproduce.
ElementPosition bruteForce(const solver::SolverModel& m, double x, double y)
{
    for (ElementPosition i = 0; i < m.elements.size(); ++i) {
        ElementVertices v;
        if (elementVertices(m, i, v) && containsPoint(edgeSigns(v, x, y)))
            return i;
    }
    return NoElement;
}

solver::SolverModel unitSquare()
{
    // One square, two triangles: position 0 is below the diagonal y = x, position 1 above it.
    return test::gridModel(1, 1, 0, 0, 1, 1, [](double, double) { return 0.0; });
}

} // namespace

TEST(PointLocation, InsideOutsideAndTheSharedDiagonal)
{
    const solver::SolverModel m = unitSquare();
    EXPECT_EQ(locateElement(m, 0.7, 0.2), 0u);
    EXPECT_EQ(locateElement(m, 0.2, 0.7), 1u);
    EXPECT_EQ(locateElement(m, 1.5, 0.5), NoElement);
    EXPECT_EQ(locateElement(m, -1e-3, 0.5), NoElement);
    // On the diagonal both contain the point; the first in list order wins, whichever way the
    // list runs.
    EXPECT_EQ(locateElement(m, 0.5, 0.5), 0u);
    solver::SolverModel reversed = unitSquare();
    const solver::MeshElement first = reversed.elements.at(0);
    reversed.elements.eraseAt(0);
    reversed.elements.pushBack(first);
    EXPECT_EQ(locateElement(reversed, 0.5, 0.5), 0u);
    EXPECT_EQ(reversed.elements.at(0), m.elements.at(1));
    // The outline of the mesh belongs to it: corners and outer edges are found.
    EXPECT_EQ(locateElement(m, 0.0, 0.0), 0u);
    EXPECT_EQ(locateElement(m, 0.0, 0.5), 1u);
    EXPECT_EQ(locateElement(m, 1.0, 1.0), 0u);
}

TEST(PointLocation, DeadBandAcceptsPointsJustOffAnEdge)
{
    const solver::SolverModel m = unitSquare();
    // The signed area with the edge x = 1 is |dx| / 2; below 2e-8 it counts as on the edge.
    EXPECT_EQ(locateElement(m, 1.0 + 3e-8, 0.5), 0u);
    EXPECT_EQ(locateElement(m, 1.0 + 5e-8, 0.5), NoElement);
}

TEST(PointLocation, IndexAgreesWithTheListWalkOnVerticesEdgesAndInteriors)
{
    // A shuffled list order makes the lowest-position rule visible on every edge and vertex.
    solver::SolverModel m
        = test::gridModel(17, 11, -3.0, 2.0, 14.0, 7.5, [](double, double) { return 0.0; });
    std::vector<solver::MeshElement> elements(
        m.elements.inListOrder().begin(), m.elements.inListOrder().end());
    std::mt19937 random(7);
    std::shuffle(elements.begin(), elements.end(), random);
    m.elements.clear();
    for (const solver::MeshElement& e : elements)
        m.elements.pushBack(e);
    m.evaluationIndex.reset();

    std::uniform_real_distribution<double> ux(-4.0, 15.0);
    std::uniform_real_distribution<double> uy(1.0, 8.5);
    int checked = 0;
    for (int k = 0; k < 3000; ++k) {
        const double x = ux(random);
        const double y = uy(random);
        ASSERT_EQ(locateElement(m, x, y), bruteForce(m, x, y)) << x << " " << y;
        ++checked;
    }
    for (int i = 1; i <= m.nodeCount(); ++i) {
        const solver::MeshNode& n = m.nodes[static_cast<std::size_t>(i)];
        ASSERT_EQ(locateElement(m, n.x, n.y), bruteForce(m, n.x, n.y)) << i;
        // Edge midpoints towards the next node of the row and of the column.
        for (const double dx : { 0.5, 0.0 })
            for (const double dy : { 0.0, 0.25 }) {
                const double x = n.x + dx, y = n.y + dy;
                ASSERT_EQ(locateElement(m, x, y), bruteForce(m, x, y)) << x << " " << y;
            }
        ++checked;
    }
    EXPECT_GT(checked, 3000);
}

TEST(PointLocation, IndexFollowsAModelWhoseMeshChanged)
{
    solver::SolverModel m = unitSquare();
    EXPECT_EQ(locateElement(m, 5.5, 0.5), NoElement);
    // A second square beside the first: the kept index no longer matches the counts.
    solver::SolverModel wider
        = test::gridModel(2, 1, 0, 0, 10, 1, [](double, double) { return 0.0; });
    wider.evaluationIndex = m.evaluationIndex;
    EXPECT_NE(locateElement(wider, 5.5, 0.5), NoElement);
}

TEST(PointLocation, BadNodeNumbersAreSkippedNotRead)
{
    solver::SolverModel m = unitSquare();
    m.elements.pushFront({ 1, 2, 99 });
    m.evaluationIndex.reset();
    EXPECT_EQ(locateElement(m, 0.7, 0.2), 1u);
}
