#include "solver/equipotentials.h"

#include "common/messages.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace tarvex::solver {

namespace {

/// A vertex within this distance of the level is on it.
constexpr double NaLinha = 1e-9;

struct Vertex {
    double x;
    double y;
    double v;
};

/**
 * The point where the level meets the edge A→B, if it does: A itself when A is on the level,
 * otherwise the interpolated point of a strict crossing. A strict crossing implies Va != Vb, so
 * the true difference is always a safe denominator and the point always lies on the edge, however
 * flat the potential is.
 */
bool edgePoint(double level, const Vertex& a, const Vertex& b, double& x, double& y)
{
    if (std::fabs(level - a.v) < NaLinha) {
        x = a.x;
        y = a.y;
        return true;
    }
    if ((a.v < level && level < b.v) || (b.v < level && level < a.v)) {
        const double d = b.v - a.v;
        x = a.x + (b.x - a.x) * (level - a.v) / d;
        y = a.y + (b.y - a.y) * (level - a.v) / d;
        return true;
    }
    return false;
}

/// One level through one triangle: a segment when exactly two of the edges P1→P2, P2→P3, P3→P1
/// yield a point, from the earlier edge's point to the later one's.
bool traceTriangle(
    double level, const Vertex& p1, const Vertex& p2, const Vertex& p3, ContourSegment& out)
{
    double xs[3];
    double ys[3];
    int found = 0;
    if (edgePoint(level, p1, p2, xs[found], ys[found]))
        ++found;
    if (edgePoint(level, p2, p3, xs[found], ys[found]))
        ++found;
    if (edgePoint(level, p3, p1, xs[found], ys[found]))
        ++found;
    if (found != 2)
        return false;
    out = { xs[0], ys[0], xs[1], ys[1] };
    return true;
}

/// The levels: the minimum, the maximum, and n − 2 evenly spaced between them (1-based).
std::vector<double> levelsBetween(double vMin, double vMax, int n)
{
    std::vector<double> levels(static_cast<std::size_t>(n) + 1, 0.0);
    levels[1] = vMin;
    for (int i = 2; i <= n - 1; ++i)
        levels[static_cast<std::size_t>(i)] = vMin + (vMax - vMin) * (i - 1) / (n - 1);
    levels[static_cast<std::size_t>(n)] = vMax;
    return levels;
}

/**
 * Traces every level through every triangle and stores the segments so that the list reads as
 * if the levels had been taken in order 1..n, each through every triangle in the given order,
 * each segment put at the head of the list.
 *
 * Only the levels a triangle's values can reach are tried on it (found by bisection over the
 * sorted levels, with a margin wider than the on-the-level distance); the segments are then
 * grouped by level, keeping the triangle order within a level. The result is the same list the
 * all-levels-through-all-triangles loop gives, at a cost proportional to the triangles plus the
 * segments.
 */
void traceLevels(const std::vector<MeshNode>& nodes, const std::vector<MeshElement>& triangles,
    int count, common::FrontList<ContourSegment>& out)
{
    out.clear();
    const std::size_t nodeEnd = nodes.size();
    double vMin = std::numeric_limits<double>::infinity();
    double vMax = -std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < nodeEnd; ++i) {
        const double v = nodes[i].value;
        if (!std::isfinite(v))
            continue;
        vMin = std::min(vMin, v);
        vMax = std::max(vMax, v);
    }
    if (!(vMin <= vMax))
        return; // no node, or no finite potential: nothing to trace

    const int n = std::clamp(count, MinEquipotentialCount, MaxEquipotentialCount);
    const std::vector<double> levels = levelsBetween(vMin, vMax, n);
    const auto levelsBegin = levels.begin() + 1;
    const bool sorted = std::is_sorted(levelsBegin, levels.end());
    // Beyond this distance from a triangle's values a level yields no point on it.
    const double margin = 4.0 * NaLinha;

    struct Found {
        std::int32_t level;
        ContourSegment segment;
    };
    std::vector<Found> found;
    std::vector<std::size_t> perLevel(static_cast<std::size_t>(n) + 2, 0);

    const auto valid
        = [nodeEnd](std::int32_t k) { return k >= 1 && static_cast<std::size_t>(k) < nodeEnd; };
    for (const MeshElement& e : triangles) {
        if (!valid(e.t1) || !valid(e.t2) || !valid(e.t3))
            continue;
        const MeshNode& n1 = nodes[static_cast<std::size_t>(e.t1)];
        const MeshNode& n2 = nodes[static_cast<std::size_t>(e.t2)];
        const MeshNode& n3 = nodes[static_cast<std::size_t>(e.t3)];
        const Vertex p1 { n1.x, n1.y, n1.value };
        const Vertex p2 { n2.x, n2.y, n2.value };
        const Vertex p3 { n3.x, n3.y, n3.value };

        int first = 1;
        int last = n;
        const double lo = std::min({ p1.v, p2.v, p3.v });
        const double hi = std::max({ p1.v, p2.v, p3.v });
        if (sorted && std::isfinite(lo) && std::isfinite(hi)) {
            first = static_cast<int>(
                std::lower_bound(levelsBegin, levels.end(), lo - margin) - levels.begin());
            last = static_cast<int>(
                       std::upper_bound(levelsBegin, levels.end(), hi + margin) - levels.begin())
                - 1;
        }
        for (int i = first; i <= last; ++i) {
            ContourSegment s;
            if (traceTriangle(levels[static_cast<std::size_t>(i)], p1, p2, p3, s)) {
                found.push_back({ i, s });
                ++perLevel[static_cast<std::size_t>(i) + 1];
            }
        }
    }

    // Group by level, stable within a level.
    for (std::size_t i = 1; i < perLevel.size(); ++i)
        perLevel[i] += perLevel[i - 1];
    std::vector<ContourSegment> ordered(found.size());
    for (const Found& f : found)
        ordered[perLevel[static_cast<std::size_t>(f.level)]++] = f.segment;
    for (const ContourSegment& s : ordered)
        out.pushFront(s);
}

/// The model's triangles in list order.
std::vector<MeshElement> elementsInListOrder(const SolverModel& model)
{
    const std::vector<MeshElement>& stored = model.elements.inStorageOrder();
    return { stored.rbegin(), stored.rend() };
}

} // namespace

void traceEquipotentials(SolverModel& model, int count)
{
    traceLevels(model.nodes, elementsInListOrder(model), count, model.equipotentialSegments);
    model.equipotentialsTraced = true;
}

Status traceInducedCurrentLines(SolverModel& model, int count)
{
    if (model.conductive == 0)
        return Status::failure(msg::AnaliseSemCondutividade);

    const std::vector<MeshNode>& imaginary = model.imaginaryNodes;
    std::vector<MeshNode> working = imaginary;
    const double pi = 4.0 * std::atan(1.0);
    const double omega = 2.0 * pi * model.frequency;

    const std::vector<MeshElement>& stored = model.elements.inStorageOrder();
    const std::size_t elementCount = stored.size();
    // The regions found by the assembly, when it has run; a 0 there means "not found yet".
    const bool cached = model.elementRegion.size() == elementCount;
    const auto valid
        = [&](std::int32_t k) { return k >= 1 && static_cast<std::size_t>(k) < imaginary.size(); };

    std::vector<MeshElement> conducting;
    for (ElementIndex listIndex = 0; listIndex < elementCount; ++listIndex) {
        const MeshElement& e = stored[elementCount - 1 - listIndex];
        if (!valid(e.t1) || !valid(e.t2) || !valid(e.t3))
            continue;
        const MeshNode& a = imaginary[static_cast<std::size_t>(e.t1)];
        const MeshNode& b = imaginary[static_cast<std::size_t>(e.t2)];
        const MeshNode& c = imaginary[static_cast<std::size_t>(e.t3)];
        RegionIndex regionNumber = cached ? model.elementRegion[listIndex] : 0;
        if (regionNumber <= 0)
            regionNumber = model.findRegionAt((a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0);
        const problem::Regiao* region = model.region(regionNumber);
        if (region == nullptr || !(region->condutividade > ConductivityFloor))
            continue;
        conducting.push_back(e);
        const double factor = omega * region->condutividade;
        for (const std::int32_t k : { e.t1, e.t2, e.t3 })
            working[static_cast<std::size_t>(k)].value
                = factor * imaginary[static_cast<std::size_t>(k)].value;
    }

    traceLevels(working, conducting, count, model.inducedCurrentSegments);
    model.inducedLinesTraced = true;
    return Status::success();
}

} // namespace tarvex::solver
