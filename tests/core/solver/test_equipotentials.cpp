#include "common/messages.h"
#include "solver/equipotentials.h"
#include "solver/solver_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

using tarvex::problem::Regiao;
using tarvex::problem::SegmentoContorno;
using tarvex::solver::ContourSegment;
using tarvex::solver::MeshElement;
using tarvex::solver::MeshNode;
using tarvex::solver::SolverModel;

/// A model of the given nodes (numbered from 1) and triangles (in list order).
SolverModel model(const std::vector<MeshNode>& nodes, const std::vector<MeshElement>& elements)
{
    SolverModel m;
    m.nodes.assign(1, MeshNode {});
    m.nodes.insert(m.nodes.end(), nodes.begin(), nodes.end());
    for (const MeshElement& e : elements)
        m.elements.pushBack(e);
    return m;
}

/// The segments from the head of the list on.
std::vector<ContourSegment> listed(const tarvex::common::FrontList<ContourSegment>& list)
{
    std::vector<ContourSegment> out;
    for (const ContourSegment& s : list.inListOrder())
        out.push_back(s);
    return out;
}

void expectSegment(const ContourSegment& s, double x1, double y1, double x2, double y2)
{
    EXPECT_NEAR(s.x1, x1, 1e-12);
    EXPECT_NEAR(s.y1, y1, 1e-12);
    EXPECT_NEAR(s.x2, x2, 1e-12);
    EXPECT_NEAR(s.y2, y2, 1e-12);
}

TEST(Equipotentials, ALevelThroughAVertexRunsToTheCrossingOfTheOppositeEdge)
{
    // Levels 0, 1, 2; level 1 passes through P1 and crosses P2→P3 half-way. Levels 0 and 2 touch
    // a single vertex each and draw nothing.
    SolverModel m = model({ { 0, 0, 1 }, { 2, 0, 0 }, { 0, 2, 2 } }, { { 1, 2, 3 } });
    tarvex::solver::traceEquipotentials(m, 3);
    const auto segments = listed(m.equipotentialSegments);
    ASSERT_EQ(segments.size(), 1u);
    expectSegment(segments[0], 0, 0, 1, 1);
    EXPECT_TRUE(m.equipotentialsTraced);
}

TEST(Equipotentials, TwoVerticesOnTheLevelGiveTheEdgeBetweenThemInEdgeOrder)
{
    // Node 4 (in no triangle) sets the range 0..2, so level 1 is the middle one.
    const std::vector<MeshNode> nodes { { 0, 0, 1 }, { 1, 0, 1 }, { 0, 1, 0 }, { 5, 5, 2 } };
    {
        SolverModel m = model(nodes, { { 1, 2, 3 } }); // P1, P2 on the level
        tarvex::solver::traceEquipotentials(m, 3);
        const auto s = listed(m.equipotentialSegments);
        ASSERT_EQ(s.size(), 1u);
        expectSegment(s[0], 0, 0, 1, 0);
    }
    {
        SolverModel m = model(nodes, { { 3, 1, 2 } }); // P2, P3 on the level
        tarvex::solver::traceEquipotentials(m, 3);
        const auto s = listed(m.equipotentialSegments);
        ASSERT_EQ(s.size(), 1u);
        expectSegment(s[0], 0, 0, 1, 0);
    }
    {
        SolverModel m = model(nodes, { { 2, 3, 1 } }); // P1, P3: first edge's point first
        tarvex::solver::traceEquipotentials(m, 3);
        const auto s = listed(m.equipotentialSegments);
        ASSERT_EQ(s.size(), 1u);
        expectSegment(s[0], 1, 0, 0, 0);
    }
}

TEST(Equipotentials, ThreeVerticesOnTheLevelOrAConstantPotentialDrawNothing)
{
    SolverModel flat = model(
        { { 0, 0, 1 }, { 1, 0, 1 }, { 0, 1, 1 }, { 5, 5, 0 }, { 6, 6, 2 } }, { { 1, 2, 3 } });
    tarvex::solver::traceEquipotentials(flat, 3);
    EXPECT_TRUE(flat.equipotentialSegments.empty());

    SolverModel constant = model(
        { { 0, 0, 4 }, { 1, 0, 4 }, { 0, 1, 4 }, { 1, 1, 4 } }, { { 1, 2, 3 }, { 2, 4, 3 } });
    constant.equipotentialSegments.pushFront({ 9, 9, 9, 9 }); // an old list is discarded
    tarvex::solver::traceEquipotentials(constant, 21);
    EXPECT_TRUE(constant.equipotentialSegments.empty());
    EXPECT_TRUE(constant.equipotentialsTraced);
}

TEST(Equipotentials, TwoLevelsDrawOnlyEdgesHeldAtAnExtremeLastLevelAtTheHead)
{
    // A unit square, bottom at 0 and top at 1: only the bottom and top sides are drawn.
    SolverModel m = model(
        { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 1 }, { 0, 1, 1 } }, { { 1, 2, 3 }, { 1, 3, 4 } });
    tarvex::solver::traceEquipotentials(m, 2);
    const auto s = listed(m.equipotentialSegments);
    ASSERT_EQ(s.size(), 2u);
    expectSegment(s[0], 1, 1, 0, 1); // level 2 (maximum), traced last, stands first
    expectSegment(s[1], 0, 0, 1, 0);
}

TEST(Equipotentials, LevelsAreEvenlySpacedBetweenTheExtremes)
{
    // Potential = x over a strip from x = 0 to 10: level i stands at x = 10 (i - 1) / (n - 1).
    std::vector<MeshNode> nodes;
    std::vector<MeshElement> elements;
    for (int i = 0; i <= 10; ++i) {
        nodes.push_back({ double(i), 0, double(i) });
        nodes.push_back({ double(i), 1, double(i) });
    }
    for (int i = 0; i < 10; ++i) {
        const int a = 2 * i + 1, b = 2 * i + 2, c = 2 * i + 3, d = 2 * i + 4;
        elements.push_back({ a, c, b });
        elements.push_back({ b, c, d });
    }
    SolverModel m = model(nodes, elements);
    tarvex::solver::traceEquipotentials(m, 5);
    std::vector<double> xs;
    for (const ContourSegment& s : m.equipotentialSegments.inStorageOrder()) {
        EXPECT_DOUBLE_EQ(s.x1, s.x2) << "lines of constant x";
        if (xs.empty() || xs.back() != s.x1)
            xs.push_back(s.x1);
    }
    // In tracing order (oldest first): the levels ascending. The extremes draw along the strip's
    // ends, which are held at them.
    EXPECT_EQ(xs, (std::vector<double> { 0, 2.5, 5, 7.5, 10 }));
}

TEST(Equipotentials, ACrossingOfANearlyFlatEdgeStaysOnTheEdge)
{
    // Edge P2→P3 differs by 5e-9 only; level 2.5e-9 crosses it half-way.
    SolverModel m = model({ { 0, 0, 1e-8 }, { 1, 0, 0 }, { 1, 1, 5e-9 } }, { { 1, 2, 3 } });
    tarvex::solver::traceEquipotentials(m, 5);
    std::vector<ContourSegment> atQuarter;
    for (const ContourSegment& s : listed(m.equipotentialSegments))
        if (std::fabs(s.x1 - 0.75) < 1e-9)
            atQuarter.push_back(s);
    ASSERT_EQ(atQuarter.size(), 1u);
    expectSegment(atQuarter[0], 0.75, 0, 1, 0.5);
    for (const ContourSegment& s : listed(m.equipotentialSegments))
        for (const double c : { s.x1, s.y1, s.x2, s.y2 })
            EXPECT_TRUE(c >= -1e-12 && c <= 1 + 1e-12) << "point outside the triangle";
}

// The straightforward loop: every level through every triangle in list order, head insertion.
std::vector<ContourSegment> naiveTrace(const SolverModel& m, int n)
{
    double lo = m.nodes[1].value, hi = lo;
    for (std::size_t k = 1; k < m.nodes.size(); ++k) {
        lo = std::min(lo, m.nodes[k].value);
        hi = std::max(hi, m.nodes[k].value);
    }
    std::vector<ContourSegment> traced;
    for (int i = 1; i <= n; ++i) {
        const double level = i == 1 ? lo : i == n ? hi : lo + (hi - lo) * (i - 1) / (n - 1);
        for (const MeshElement& e : m.elements.inListOrder()) {
            const MeshNode* p[3] = { &m.nodes[e.t1], &m.nodes[e.t2], &m.nodes[e.t3] };
            std::vector<std::pair<double, double>> pts;
            for (int k = 0; k < 3; ++k) {
                const MeshNode& a = *p[k];
                const MeshNode& b = *p[(k + 1) % 3];
                if (std::fabs(level - a.value) < 1e-9)
                    pts.push_back({ a.x, a.y });
                else if ((a.value < level && level < b.value)
                    || (b.value < level && level < a.value))
                    pts.push_back({ a.x + (b.x - a.x) * (level - a.value) / (b.value - a.value),
                        a.y + (b.y - a.y) * (level - a.value) / (b.value - a.value) });
            }
            if (pts.size() == 2)
                traced.push_back({ pts[0].first, pts[0].second, pts[1].first, pts[1].second });
        }
    }
    return { traced.rbegin(), traced.rend() }; // each one was put at the head
}

TEST(Equipotentials, MatchTheAllLevelsThroughAllTrianglesOrderOnARandomMesh)
{
    // A grid with values on a coarse lattice, so many vertices sit exactly on levels.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> step(0, 40);
    const int side = 30;
    std::vector<MeshNode> nodes;
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i)
            nodes.push_back({ double(i), double(j), step(rng) * 0.25 });
    std::vector<MeshElement> elements;
    for (int j = 0; j + 1 < side; ++j)
        for (int i = 0; i + 1 < side; ++i) {
            const int a = j * side + i + 1, b = a + 1, c = a + side, d = c + 1;
            elements.push_back({ a, c, b });
            elements.push_back({ b, c, d });
        }
    SolverModel m = model(nodes, elements);
    for (const int n : { 2, 3, 21, 41, 200 }) {
        tarvex::solver::traceEquipotentials(m, n);
        const auto expected = naiveTrace(m, n);
        const auto got = listed(m.equipotentialSegments);
        ASSERT_EQ(got.size(), expected.size()) << n << " levels";
        EXPECT_EQ(got, expected) << n << " levels";
    }
}

TEST(Equipotentials, ACountOutsideTheAcceptedRangeIsHeldToIt)
{
    SolverModel m = model(
        { { 0, 0, 0 }, { 1, 0, 0 }, { 1, 1, 1 }, { 0, 1, 1 } }, { { 1, 2, 3 }, { 1, 3, 4 } });
    tarvex::solver::traceEquipotentials(m, 1); // would divide by n - 1 = 0
    EXPECT_EQ(m.equipotentialSegments.size(), 2u);
    tarvex::solver::traceEquipotentials(m, -5);
    EXPECT_EQ(m.equipotentialSegments.size(), 2u);
}

/// Outer contour and two halves of a 2 × 1 rectangle; the right half conducts.
SolverModel twoHalves(double sigmaRight)
{
    const auto rectangle = [](double x0, double x1) {
        Regiao r;
        r.segmentos.pushBack(SegmentoContorno::reta({ x0, 0 }, { x1, 0 }));
        r.segmentos.pushBack(SegmentoContorno::reta({ x1, 0 }, { x1, 1 }));
        r.segmentos.pushBack(SegmentoContorno::reta({ x1, 1 }, { x0, 1 }));
        r.segmentos.pushBack(SegmentoContorno::reta({ x0, 1 }, { x0, 0 }));
        return r;
    };
    SolverModel m
        = model({ { 0, 0, 0 }, { 1, 0, 0 }, { 2, 0, 0 }, { 0, 1, 0 }, { 1, 1, 0 }, { 2, 1, 0 } },
            { { 1, 4, 2 }, { 2, 4, 5 }, { 2, 5, 3 }, { 3, 5, 6 } });
    m.regions.pushBack(rectangle(0, 2));
    m.regions.pushBack(rectangle(0, 1));
    Regiao right = rectangle(1, 2);
    right.condutividade = sigmaRight;
    m.regions.pushBack(right);
    m.derivarRegioes();
    m.conductive = 1;
    m.frequency = 50;
    // Second component: 0 at the left, 1e-3 along x = 1, 2e-3 at the right, 3e-3 at (0, 0).
    m.imaginaryNodes = { MeshNode {}, { 0, 0, 3e-3 }, { 1, 0, 1e-3 }, { 2, 0, 2e-3 }, { 0, 1, 0 },
        { 1, 1, 1e-3 }, { 2, 1, 2e-3 } };
    return m;
}

TEST(InducedCurrentLines, AModelWithoutConductionIsRefusedAndKeepsItsLines)
{
    SolverModel m = twoHalves(1e6);
    m.conductive = 0;
    m.inducedCurrentSegments.pushFront({ 1, 2, 3, 4 });
    const tarvex::Status s = tarvex::solver::traceInducedCurrentLines(m, 21);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.message, tarvex::msg::AnaliseSemCondutividade);
    ASSERT_EQ(m.inducedCurrentSegments.size(), 1u);
    EXPECT_FALSE(m.inducedLinesTraced);
}

TEST(InducedCurrentLines, OnlyConductingTrianglesAreTracedOverScaledValues)
{
    SolverModel m = twoHalves(1.0 / (2 * 4 * std::atan(1.0) * 50) * 1e3); // 2πfσ = 1000
    ASSERT_TRUE(tarvex::solver::traceInducedCurrentLines(m, 5).ok);
    EXPECT_TRUE(m.inducedLinesTraced);
    // Working values: 1 along x = 1 and 2 at x = 2 (scaled), 3e-3 and 0 at x = 0 (unscaled), so
    // the levels are 0, 0.5, 1, 1.5, 2: x = 1 (level 1), x = 1.5 (level 1.5), x = 2 (level 2).
    std::vector<double> xs;
    for (const ContourSegment& s : m.inducedCurrentSegments.inStorageOrder()) {
        EXPECT_GE(std::min(s.x1, s.x2), 1.0 - 1e-12) << "a line in the insulating half";
        EXPECT_NEAR(s.x1, s.x2, 1e-12);
        if (xs.empty() || std::fabs(xs.back() - s.x1) > 1e-12)
            xs.push_back(s.x1);
    }
    ASSERT_EQ(xs.size(), 3u);
    EXPECT_NEAR(xs[0], 1.0, 1e-12);
    EXPECT_NEAR(xs[1], 1.5, 1e-12);
    EXPECT_NEAR(xs[2], 2.0, 1e-12);
}

TEST(InducedCurrentLines, RegionsFoundByTheAssemblyAreUsed)
{
    const auto linesInLeftHalf = [](const SolverModel& m) {
        bool left = false;
        for (const ContourSegment& s : m.inducedCurrentSegments.inStorageOrder())
            left = left || std::max(s.x1, s.x2) < 1.0 - 1e-12;
        return left;
    };
    SolverModel m = twoHalves(2.0);
    ASSERT_TRUE(tarvex::solver::traceInducedCurrentLines(m, 5).ok);
    EXPECT_FALSE(linesInLeftHalf(m));
    // The assembly's regions put every triangle in the conducting region 3.
    m.elementRegion = { 3, 3, 3, 3 };
    ASSERT_TRUE(tarvex::solver::traceInducedCurrentLines(m, 5).ok);
    EXPECT_TRUE(linesInLeftHalf(m));
}

} // namespace
