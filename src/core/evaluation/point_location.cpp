#include "evaluation/point_location.h"

#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>

namespace tarvex::evaluation {

namespace {

/// Two points closer than this coincide (dx² + dy² ≤ 1e-8); the vertex tests accept them.
constexpr double VertexTolerance = 1.0001e-4;
/// The edge test's dead band on the signed area (half the cross product).
constexpr double AreaDeadBand = 2e-8;

struct Box {
    double x0 = 0.0;
    double y0 = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
};

/// The box of a triangle widened so that every point any of its tests accepts lies inside.
bool acceptanceBox(const ElementVertices& v, Box& box)
{
    const solver::MeshNode& a = *v.node[0];
    const solver::MeshNode& b = *v.node[1];
    const solver::MeshNode& c = *v.node[2];
    for (const solver::MeshNode* n : v.node)
        if (!std::isfinite(n->x) || !std::isfinite(n->y))
            return false;
    box.x0 = std::min({ a.x, b.x, c.x });
    box.x1 = std::max({ a.x, b.x, c.x });
    box.y0 = std::min({ a.y, b.y, c.y });
    box.y1 = std::max({ a.y, b.y, c.y });
    const double diagonal = std::hypot(box.x1 - box.x0, box.y1 - box.y0);
    std::array<double, 3> len = { std::hypot(b.x - a.x, b.y - a.y),
        std::hypot(c.x - b.x, c.y - b.y), std::hypot(a.x - c.x, a.y - c.y) };
    std::sort(len.begin(), len.end());
    const double twiceArea = std::fabs(twiceSignedArea(v));
    // A point accepted by the dead band lies within 2 * band / L of each edge line; near the
    // sharpest corner that strip reaches 1 / sin(angle / 2) times further out.
    double margin = diagonal + VertexTolerance; // degenerate triangles: their whole box and more
    if (len[0] > 0.0 && twiceArea > 0.0) {
        const double band = 2.0 * AreaDeadBand / len[0];
        const double sinSharpest = twiceArea / (len[1] * len[2]);
        margin = std::min(margin, 2.0 * band / sinSharpest);
    }
    margin = std::max(margin, VertexTolerance);
    // Room for the rounding of coordinates far from the origin.
    margin
        += 1e-12 * (std::fabs(box.x0) + std::fabs(box.x1) + std::fabs(box.y0) + std::fabs(box.y1));
    box.x0 -= margin;
    box.y0 -= margin;
    box.x1 += margin;
    box.y1 += margin;
    return true;
}

} // namespace

bool elementVertices(
    const solver::SolverModel& model, ElementPosition position, ElementVertices& out)
{
    if (position >= model.elements.size())
        return false;
    const solver::MeshElement& e = model.elements.at(position);
    const std::int32_t count = model.nodeCount();
    out.number = { e.t1, e.t2, e.t3 };
    for (std::size_t i = 0; i < 3; ++i) {
        if (out.number[i] < 1 || out.number[i] > count)
            return false;
        out.node[i] = &model.nodes[static_cast<std::size_t>(out.number[i])];
    }
    return true;
}

double twiceSignedArea(const ElementVertices& v)
{
    const solver::MeshNode& a = *v.node[0];
    const solver::MeshNode& b = *v.node[1];
    const solver::MeshNode& c = *v.node[2];
    return (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
}

std::array<int, 3> edgeSigns(const ElementVertices& v, double x, double y)
{
    const geometry::Ponto p { x, y };
    std::array<int, 3> signs {};
    for (std::size_t i = 0; i < 3; ++i) {
        const solver::MeshNode& a = *v.node[i];
        const solver::MeshNode& b = *v.node[(i + 1) % 3];
        signs[i] = geometry::orientacao({ a.x, a.y }, { b.x, b.y }, p);
    }
    return signs;
}

bool containsPoint(const std::array<int, 3>& signs)
{
    bool positive = false;
    bool negative = false;
    for (int s : signs) {
        positive = positive || s > 0;
        negative = negative || s < 0;
    }
    return !(positive && negative);
}

bool strictlyInside(const std::array<int, 3>& signs)
{
    return signs[0] != 0 && signs[0] == signs[1] && signs[1] == signs[2];
}

ElementIndex::ElementIndex(const solver::SolverModel& model)
    : m_elementCount(model.elements.size())
    , m_nodeCount(static_cast<std::size_t>(model.nodeCount()))
{
    std::vector<Box> boxes(m_elementCount);
    std::vector<std::uint8_t> usable(m_elementCount, 0);
    bool any = false;
    Box all;
    for (ElementPosition i = 0; i < m_elementCount; ++i) {
        ElementVertices v;
        if (!elementVertices(model, i, v) || !acceptanceBox(v, boxes[i]))
            continue;
        usable[i] = 1;
        if (!any) {
            all = boxes[i];
            any = true;
        } else {
            all.x0 = std::min(all.x0, boxes[i].x0);
            all.y0 = std::min(all.y0, boxes[i].y0);
            all.x1 = std::max(all.x1, boxes[i].x1);
            all.y1 = std::max(all.y1, boxes[i].y1);
        }
    }
    if (!any) {
        m_cellStart.assign(1, 0);
        return;
    }
    m_x0 = all.x0;
    m_y0 = all.y0;
    m_x1 = all.x1;
    m_y1 = all.y1;
    // About one cell per triangle, in the box's proportions.
    const double w = m_x1 - m_x0;
    const double h = m_y1 - m_y0;
    const double target = static_cast<double>(std::max<std::size_t>(m_elementCount, 1));
    double nx = std::sqrt(target * w / h);
    nx = std::clamp(nx, 1.0, target);
    const double ny = std::clamp(target / nx, 1.0, target);
    m_cellsX = static_cast<int>(std::min(nx, 65536.0));
    m_cellsY = static_cast<int>(std::min(ny, 65536.0));
    m_cellsX = std::max(m_cellsX, 1);
    m_cellsY = std::max(m_cellsY, 1);
    m_cellW = w / m_cellsX;
    m_cellH = h / m_cellsY;

    const std::size_t cells
        = static_cast<std::size_t>(m_cellsX) * static_cast<std::size_t>(m_cellsY);
    m_cellStart.assign(cells + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::uint32_t> fill;
        if (pass == 1) {
            for (std::size_t c = 0; c < cells; ++c)
                m_cellStart[c + 1] += m_cellStart[c];
            m_cellElements.resize(m_cellStart[cells]);
            fill.assign(m_cellStart.begin(), m_cellStart.end() - 1);
        }
        for (ElementPosition i = 0; i < m_elementCount; ++i) {
            if (usable[i] == 0)
                continue;
            const int cx0 = cellX(boxes[i].x0);
            const int cx1 = cellX(boxes[i].x1);
            const int cy0 = cellY(boxes[i].y0);
            const int cy1 = cellY(boxes[i].y1);
            for (int cy = cy0; cy <= cy1; ++cy)
                for (int cx = cx0; cx <= cx1; ++cx) {
                    const std::size_t cell = static_cast<std::size_t>(cy) * m_cellsX + cx;
                    if (pass == 0)
                        ++m_cellStart[cell + 1];
                    else
                        m_cellElements[fill[cell]++] = static_cast<std::uint32_t>(i);
                }
        }
    }
}

int ElementIndex::cellX(double x) const
{
    const double c = std::floor((x - m_x0) / m_cellW);
    return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(m_cellsX - 1)));
}

int ElementIndex::cellY(double y) const
{
    const double c = std::floor((y - m_y0) / m_cellH);
    return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(m_cellsY - 1)));
}

std::pair<const std::uint32_t*, const std::uint32_t*> ElementIndex::candidates(
    double x, double y) const
{
    if (m_cellsX == 0 || !(x >= m_x0 && x <= m_x1 && y >= m_y0 && y <= m_y1))
        return { nullptr, nullptr };
    const std::size_t cell = static_cast<std::size_t>(cellY(y)) * m_cellsX + cellX(x);
    const std::uint32_t* base = m_cellElements.data();
    return { base + m_cellStart[cell], base + m_cellStart[cell + 1] };
}

void ElementIndex::collectAlong(double x1, double y1, double x2, double y2, double margin,
    std::vector<std::uint32_t>& out) const
{
    if (m_cellsX == 0)
        return;
    const auto appendCells = [&](int cy, int cx0, int cx1) {
        for (int cx = cx0; cx <= cx1; ++cx) {
            const std::size_t cell = static_cast<std::size_t>(cy) * m_cellsX + cx;
            out.insert(out.end(), m_cellElements.begin() + m_cellStart[cell],
                m_cellElements.begin() + m_cellStart[cell + 1]);
        }
    };
    const bool finite = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2)
        && std::isfinite(y2) && std::isfinite(margin);
    if (!finite || std::fabs(x2 - x1) > 1e300 || std::fabs(y2 - y1) > 1e300) {
        for (int cy = 0; cy < m_cellsY; ++cy)
            appendCells(cy, 0, m_cellsX - 1);
        return;
    }
    margin = std::max(margin, 0.0);
    // Rounding of cell boundaries far from the origin.
    margin += 1e-12 * (std::fabs(x1) + std::fabs(x2) + std::fabs(y1) + std::fabs(y2));
    if (!std::isfinite(margin)) {
        for (int cy = 0; cy < m_cellsY; ++cy)
            appendCells(cy, 0, m_cellsX - 1);
        return;
    }
    const double yLow = std::min(y1, y2) - margin;
    const double yHigh = std::max(y1, y2) + margin;
    if (yHigh < m_y0 || yLow > m_y1 || std::max(x1, x2) + margin < m_x0
        || std::min(x1, x2) - margin > m_x1)
        return;
    const double dy = y2 - y1;
    const int rowFirst = cellY(yLow);
    const int rowLast = cellY(yHigh);
    for (int cy = rowFirst; cy <= rowLast; ++cy) {
        // The part of the segment whose band reaches this row, then its x extent.
        const double rowLow = std::max(m_y0 + cy * m_cellH - margin, yLow);
        const double rowHigh = std::min(m_y0 + (cy + 1) * m_cellH + margin, yHigh);
        double xa = std::min(x1, x2);
        double xb = std::max(x1, x2);
        if (dy != 0.0) {
            const double ta = std::clamp((rowLow - y1) / dy, 0.0, 1.0);
            const double tb = std::clamp((rowHigh - y1) / dy, 0.0, 1.0);
            const double xta = x1 + ta * (x2 - x1);
            const double xtb = x1 + tb * (x2 - x1);
            xa = std::min(xta, xtb);
            xb = std::max(xta, xtb);
        }
        if (xb + margin < m_x0 || xa - margin > m_x1)
            continue;
        appendCells(cy, cellX(xa - margin), cellX(xb + margin));
    }
}

const ElementIndex& elementIndex(const solver::SolverModel& model)
{
    auto index = std::static_pointer_cast<const ElementIndex>(model.evaluationIndex);
    if (!index || index->elementCount() != model.elements.size()
        || index->nodeCount() != static_cast<std::size_t>(model.nodeCount())) {
        index = std::make_shared<const ElementIndex>(model);
        model.evaluationIndex = index;
    }
    return *index;
}

ElementPosition locateElement(const solver::SolverModel& model, double x, double y)
{
    const ElementIndex& index = elementIndex(model);
    const auto [first, last] = index.candidates(x, y);
    for (const std::uint32_t* c = first; c != last; ++c) {
        ElementVertices v;
        if (elementVertices(model, *c, v) && containsPoint(edgeSigns(v, x, y)))
            return *c;
    }
    return NoElement;
}

int elementRegionOf(
    const solver::SolverModel& model, ElementPosition position, const ElementVertices& v)
{
    if (model.elementRegion.size() == model.elements.size() && position < model.elementRegion.size()
        && model.elementRegion[position] > 0)
        return model.elementRegion[position];
    const double cx = (v.node[0]->x + v.node[1]->x + v.node[2]->x) / 3.0;
    const double cy = (v.node[0]->y + v.node[1]->y + v.node[2]->y) / 3.0;
    return model.findRegionAt(cx, cy);
}

} // namespace tarvex::evaluation
