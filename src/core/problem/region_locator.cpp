#include "problem/region_locator.h"

#include "geometry/helpers.h"

#include <algorithm>
#include <cmath>

namespace tarvex::problem {

namespace {

/// Polygons smaller than this are simply scanned.
constexpr std::size_t MinEdgesForBuckets = 16;
/// Bucket and cell tables may hold this many entries per item before they are made coarser.
constexpr std::size_t EntriesPerItem = 8;
constexpr std::size_t MaxBuckets = std::size_t { 1 } << 20;
constexpr int MaxCellsPerSide = 512;
/// Twice the orientation dead band of the geometry helpers (which compare half the cross product).
constexpr double CrossDeadBand = 4e-8;

/// Direction of the ray: towards FimRaioInterior, which stands for a point at infinity.
const double RayLength = std::hypot(FimRaioInterior.x, FimRaioInterior.y);
const double RayX = FimRaioInterior.x / RayLength;
const double RayY = FimRaioInterior.y / RayLength;

/// The crossing of cruzamento() between the edge AB and the segment from P to the far point,
/// evaluated with the far point taken at infinity and everything measured from P. Evaluating
/// cruzamento() on the far point itself subtracts products of order 1e30, whose rounding swamps
/// the orientation of any edge shorter than about a unit, and so misjudges points near small
/// regions; the half-line form keeps the same rule without that cancellation.
bool crossesRay(const Ponto& p, const Ponto& a, const Ponto& b)
{
    if (geometry::coincide(p, a) || geometry::coincide(p, b))
        return false;
    const double ax = a.x - p.x;
    const double ay = a.y - p.y;
    const double bx = b.x - p.x;
    const double by = b.y - p.y;
    // The end points must lie strictly on opposite sides of the ray's line...
    const double sideA = RayX * ay - RayY * ax;
    const double sideB = RayX * by - RayY * bx;
    if (!((sideA > 0.0 && sideB < 0.0) || (sideA < 0.0 && sideB > 0.0)))
        return false;
    // ...P must not lie on the edge's line, and the line must be met ahead of P, not behind it.
    const double pSide = ax * by - ay * bx;
    if (std::fabs(pSide) <= CrossDeadBand)
        return false;
    const double raySide = RayX * (by - ay) - RayY * (bx - ax);
    return (pSide > 0.0) == (raySide > 0.0);
}

/// Every edge of every ring, each ring closed from its last vertex back to the first.
template <typename Visit> void forEachEdge(const PoligonoRegiao& poligono, Visit visit)
{
    for (const std::vector<Ponto>& ring : poligono.aneis) {
        if (ring.size() < 2)
            continue;
        for (std::size_t i = 0; i < ring.size(); ++i)
            visit(ring[i], ring[(i + 1) % ring.size()]);
    }
}

} // namespace

int bucketOf(double value, double origin, double width, std::size_t count)
{
    const double f = std::floor((value - origin) / width);
    if (!(f >= 0.0))
        return 0;
    if (f >= static_cast<double>(count - 1))
        return static_cast<int>(count - 1);
    return static_cast<int>(f);
}

bool cruzaRaio(const Ponto& p, const Ponto& a, const Ponto& b)
{
    return crossesRay(p, a, b);
}

bool contemPonto(const PoligonoRegiao& poligono, const Ponto& p)
{
    std::size_t crossings = 0;
    forEachEdge(poligono, [&](const Ponto& a, const Ponto& b) {
        if (crossesRay(p, a, b))
            ++crossings;
    });
    return crossings % 2 == 1;
}

bool RegionLocator::IndexedPolygon::contains(const Ponto& p) const
{
    if (edges.empty() || !box.contains(p))
        return false;
    std::size_t crossings = 0;
    if (bucketStart.empty()) {
        for (const Edge& e : edges)
            crossings += crossesRay(p, e.a, e.b) ? 1 : 0;
        return crossings % 2 == 1;
    }
    const double across = RayX * p.y - RayY * p.x;
    const int bucket = bucketOf(across, across0, bucketWidth, bucketStart.size() - 1);
    for (std::uint32_t i = bucketStart[bucket]; i < bucketStart[bucket + 1]; ++i) {
        const Edge& e = edges[bucketEdges[i]];
        crossings += crossesRay(p, e.a, e.b) ? 1 : 0;
    }
    return crossings % 2 == 1;
}

void RegionLocator::clear()
{
    *this = RegionLocator();
}

void RegionLocator::build(const std::vector<PoligonoRegiao>& polygons)
{
    clear();
    m_polygons.resize(polygons.size());
    for (std::size_t k = 0; k < polygons.size(); ++k) {
        IndexedPolygon& poly = m_polygons[k];
        forEachEdge(polygons[k], [&](const Ponto& a, const Ponto& b) {
            poly.edges.push_back({ a, b });
        });
        if (poly.edges.empty())
            continue;

        Box& box = poly.box;
        box = { poly.edges[0].a.x, poly.edges[0].a.y, poly.edges[0].a.x, poly.edges[0].a.y };
        for (const Edge& e : poly.edges) {
            box.xMin = std::min(box.xMin, e.a.x);
            box.xMax = std::max(box.xMax, e.a.x);
            box.yMin = std::min(box.yMin, e.a.y);
            box.yMax = std::max(box.yMax, e.a.y);
        }
        if (poly.edges.size() < MinEdgesForBuckets)
            continue;

        // Across-ray coordinate: an edge the ray crosses has end points on both sides of the
        // point's own across coordinate, so the edge is filed under every bucket it spans.
        const double maxAbs = std::max(
            { std::fabs(box.xMin), std::fabs(box.xMax), std::fabs(box.yMin), std::fabs(box.yMax) });
        const auto across = [](const Ponto& q) { return RayX * q.y - RayY * q.x; };
        // Covers the rounding of the across coordinates against the test's own arithmetic.
        const double slack = 1e-12 * maxAbs + 1e-300;

        double lo = across(poly.edges[0].a);
        double hi = lo;
        for (const Edge& e : poly.edges) {
            lo = std::min(lo, across(e.a));
            hi = std::max(hi, across(e.a));
        }
        poly.across0 = lo - slack;
        const double range = hi - lo + 2.0 * slack;

        std::size_t buckets = std::min(poly.edges.size(), MaxBuckets);
        std::vector<std::pair<int, int>> spans(poly.edges.size());
        for (;;) {
            poly.bucketWidth = range / static_cast<double>(buckets);
            std::size_t entries = 0;
            for (std::size_t i = 0; i < poly.edges.size(); ++i) {
                const double ua = across(poly.edges[i].a);
                const double ub = across(poly.edges[i].b);
                spans[i] = { bucketOf(
                                 std::min(ua, ub) - slack, poly.across0, poly.bucketWidth, buckets),
                    bucketOf(std::max(ua, ub) + slack, poly.across0, poly.bucketWidth, buckets) };
                entries += static_cast<std::size_t>(spans[i].second - spans[i].first + 1);
            }
            if (buckets == 1 || entries <= EntriesPerItem * poly.edges.size())
                break;
            buckets /= 2;
        }
        poly.bucketStart.assign(buckets + 1, 0);
        for (const auto& [first, last] : spans)
            for (int b = first; b <= last; ++b)
                ++poly.bucketStart[b + 1];
        for (std::size_t b = 0; b < buckets; ++b)
            poly.bucketStart[b + 1] += poly.bucketStart[b];
        poly.bucketEdges.resize(poly.bucketStart.back());
        std::vector<std::uint32_t> fill(poly.bucketStart.begin(), poly.bucketStart.end() - 1);
        for (std::size_t i = 0; i < spans.size(); ++i)
            for (int b = spans[i].first; b <= spans[i].second; ++b)
                poly.bucketEdges[fill[b]++] = static_cast<std::uint32_t>(i);
    }

    // The grid covers the searchable regions only: position 1 is never returned.
    std::vector<std::uint32_t> searchable;
    for (std::size_t k = 1; k < m_polygons.size(); ++k) {
        if (m_polygons[k].edges.empty())
            continue;
        const Box& b = m_polygons[k].box;
        if (searchable.empty()) {
            m_gridBox = b;
        } else {
            m_gridBox.xMin = std::min(m_gridBox.xMin, b.xMin);
            m_gridBox.xMax = std::max(m_gridBox.xMax, b.xMax);
            m_gridBox.yMin = std::min(m_gridBox.yMin, b.yMin);
            m_gridBox.yMax = std::max(m_gridBox.yMax, b.yMax);
        }
        searchable.push_back(static_cast<std::uint32_t>(k));
    }
    if (searchable.empty())
        return;

    int side = static_cast<int>(std::ceil(2.0 * std::sqrt(static_cast<double>(searchable.size()))));
    side = std::clamp(side, 1, MaxCellsPerSide);
    for (;;) {
        m_cellsX = side;
        m_cellsY = side;
        const double w = m_gridBox.xMax - m_gridBox.xMin;
        const double h = m_gridBox.yMax - m_gridBox.yMin;
        m_cellW = w > 0.0 ? w / side : 1.0;
        m_cellH = h > 0.0 ? h / side : 1.0;
        std::size_t entries = 0;
        for (const std::uint32_t k : searchable) {
            const Box& b = m_polygons[k].box;
            entries += static_cast<std::size_t>(cellX(b.xMax) - cellX(b.xMin) + 1)
                * static_cast<std::size_t>(cellY(b.yMax) - cellY(b.yMin) + 1);
        }
        const std::size_t cells = static_cast<std::size_t>(side) * static_cast<std::size_t>(side);
        if (side == 1 || entries <= EntriesPerItem * searchable.size() + cells)
            break;
        side /= 2;
    }

    const std::size_t cells
        = static_cast<std::size_t>(m_cellsX) * static_cast<std::size_t>(m_cellsY);
    m_cellStart.assign(cells + 1, 0);
    const auto forEachCell = [&](const Box& b, auto visit) {
        for (int iy = cellY(b.yMin); iy <= cellY(b.yMax); ++iy)
            for (int ix = cellX(b.xMin); ix <= cellX(b.xMax); ++ix)
                visit(static_cast<std::size_t>(iy) * m_cellsX + ix);
    };
    for (const std::uint32_t k : searchable)
        forEachCell(m_polygons[k].box, [&](std::size_t c) { ++m_cellStart[c + 1]; });
    for (std::size_t c = 0; c < cells; ++c)
        m_cellStart[c + 1] += m_cellStart[c];
    m_cellPolygons.resize(m_cellStart.back());
    std::vector<std::uint32_t> fill(m_cellStart.begin(), m_cellStart.end() - 1);
    // Regions are visited in list order, so every cell lists them in list order.
    for (const std::uint32_t k : searchable)
        forEachCell(m_polygons[k].box, [&](std::size_t c) { m_cellPolygons[fill[c]++] = k; });
}

int RegionLocator::cellX(double x) const
{
    return bucketOf(x, m_gridBox.xMin, m_cellW, static_cast<std::size_t>(m_cellsX));
}

int RegionLocator::cellY(double y) const
{
    return bucketOf(y, m_gridBox.yMin, m_cellH, static_cast<std::size_t>(m_cellsY));
}

int RegionLocator::find(const Ponto& p) const
{
    if (m_cellStart.empty() || !m_gridBox.contains(p))
        return 0;
    const std::size_t cell = static_cast<std::size_t>(cellY(p.y)) * m_cellsX + cellX(p.x);
    for (std::uint32_t i = m_cellStart[cell]; i < m_cellStart[cell + 1]; ++i) {
        const std::uint32_t k = m_cellPolygons[i];
        if (m_polygons[k].contains(p))
            return static_cast<int>(k) + 1;
    }
    return 0;
}

} // namespace tarvex::problem
