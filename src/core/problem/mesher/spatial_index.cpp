#include "problem/mesher/spatial_index.h"

#include "geometry/helpers.h"
#include "problem/region_locator.h"

#include <algorithm>
#include <cmath>

namespace tarvex::problem::mesher {

using geometry::coincide;

namespace {
constexpr double HashCell = 2e-4;
constexpr double MaxCell = 4e18;

/// Direction of the inside test's ray (towards a point at infinity).
const double RayLength = std::hypot(FimRaioInterior.x, FimRaioInterior.y);
const double RayX = FimRaioInterior.x / RayLength;
const double RayY = FimRaioInterior.y / RayLength;
double across(const Ponto& q)
{
    return RayX * q.y - RayY * q.x;
}
} // namespace

// ---------------------------------------------------------------------------------------------

std::int64_t HashPontos::cellOf(double v)
{
    const double f = std::floor(v / HashCell);
    if (!(f > -MaxCell))
        return static_cast<std::int64_t>(-MaxCell);
    if (f > MaxCell)
        return static_cast<std::int64_t>(MaxCell);
    return static_cast<std::int64_t>(f);
}

std::uint64_t HashPontos::keyOf(std::int64_t cx, std::int64_t cy)
{
    // Distinct cells may share a key far out; they then only add candidates to compare.
    return (static_cast<std::uint64_t>(cx) << 32) ^ (static_cast<std::uint64_t>(cy) & 0xffffffffULL)
        ^ (static_cast<std::uint64_t>(cy) >> 32) * 0x9E3779B97F4A7C15ULL;
}

void HashPontos::reserve(std::size_t n)
{
    m_head.reserve(n);
    m_next.reserve(n);
    m_ids.reserve(n);
}

void HashPontos::insert(const Ponto& p, std::int32_t id)
{
    const std::uint64_t key = keyOf(cellOf(p.x), cellOf(p.y));
    const auto slot = static_cast<std::int32_t>(m_ids.size());
    auto [it, added] = m_head.try_emplace(key, slot);
    m_next.push_back(added ? -1 : it->second);
    if (!added)
        it->second = slot;
    m_ids.push_back(id);
}

std::int32_t HashPontos::find(const Ponto& p, const std::vector<Ponto>& points) const
{
    const std::int64_t cx = cellOf(p.x);
    const std::int64_t cy = cellOf(p.y);
    std::int32_t bestSlot = -1;
    for (std::int64_t dy = -1; dy <= 1; ++dy) {
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            const auto it = m_head.find(keyOf(cx + dx, cy + dy));
            if (it == m_head.end())
                continue;
            for (std::int32_t s = it->second; s >= 0; s = m_next[s])
                if ((bestSlot < 0 || s < bestSlot) && coincide(points[m_ids[s]], p))
                    bestSlot = s;
        }
    }
    return bestSlot < 0 ? -1 : m_ids[bestSlot];
}

PontosDistintos pontosDistintos(const std::vector<Ponto>& points)
{
    PontosDistintos out;
    out.indice.reserve(points.size());
    HashPontos hash;
    hash.reserve(points.size());
    for (const Ponto& p : points) {
        std::int32_t id = hash.find(p, out.pontos);
        if (id < 0) {
            id = static_cast<std::int32_t>(out.pontos.size());
            out.pontos.push_back(p);
            hash.insert(p, id);
        }
        out.indice.push_back(id);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------

void TesteInterior::build(const std::vector<std::pair<Ponto, Ponto>>& edges)
{
    *this = TesteInterior();
    m_edges = edges;
    if (m_edges.empty())
        return;
    m_xMin = m_xMax = m_edges[0].first.x;
    m_yMin = m_yMax = m_edges[0].first.y;
    double lo = across(m_edges[0].first);
    double hi = lo;
    for (const auto& [a, b] : m_edges) {
        for (const Ponto& q : { a, b }) {
            m_xMin = std::min(m_xMin, q.x);
            m_xMax = std::max(m_xMax, q.x);
            m_yMin = std::min(m_yMin, q.y);
            m_yMax = std::max(m_yMax, q.y);
            lo = std::min(lo, across(q));
            hi = std::max(hi, across(q));
        }
    }
    const double maxAbs
        = std::max({ std::fabs(m_xMin), std::fabs(m_xMax), std::fabs(m_yMin), std::fabs(m_yMax) });
    const double slack = 1e-12 * maxAbs + 1e-300;
    m_across0 = lo - slack;
    const double range = hi - lo + 2.0 * slack;
    const std::size_t buckets = std::clamp<std::size_t>(m_edges.size(), 1, std::size_t { 1 } << 20);
    m_width = range / static_cast<double>(buckets);
    std::vector<std::pair<int, int>> spans(m_edges.size());
    m_start.assign(buckets + 1, 0);
    for (std::size_t i = 0; i < m_edges.size(); ++i) {
        const double ua = across(m_edges[i].first);
        const double ub = across(m_edges[i].second);
        spans[i] = { bucketOf(std::min(ua, ub) - slack, m_across0, m_width, buckets),
            bucketOf(std::max(ua, ub) + slack, m_across0, m_width, buckets) };
        for (int b = spans[i].first; b <= spans[i].second; ++b)
            ++m_start[b + 1];
    }
    for (std::size_t b = 0; b < buckets; ++b)
        m_start[b + 1] += m_start[b];
    m_list.resize(m_start.back());
    std::vector<std::uint32_t> fill(m_start.begin(), m_start.end() - 1);
    for (std::size_t i = 0; i < spans.size(); ++i)
        for (int b = spans[i].first; b <= spans[i].second; ++b)
            m_list[fill[b]++] = static_cast<std::uint32_t>(i);
}

bool TesteInterior::contains(const Ponto& p) const
{
    // A closed outline is crossed an even number of times from outside its box.
    if (m_edges.empty() || p.x < m_xMin || p.x > m_xMax || p.y < m_yMin || p.y > m_yMax)
        return false;
    const int b = bucketOf(across(p), m_across0, m_width, m_start.size() - 1);
    std::size_t crossings = 0;
    for (std::uint32_t i = m_start[b]; i < m_start[b + 1]; ++i) {
        const auto& [a, c] = m_edges[m_list[i]];
        crossings += cruzaRaio(p, a, c) ? 1 : 0;
    }
    return crossings % 2 == 1;
}

// ---------------------------------------------------------------------------------------------

int ContornoNos::cellX(double x) const
{
    return bucketOf(x, m_x0, m_cell, static_cast<std::size_t>(m_nx));
}

int ContornoNos::cellY(double y) const
{
    return bucketOf(y, m_y0, m_cell, static_cast<std::size_t>(m_ny));
}

void ContornoNos::build(const std::vector<SegmentoContorno>& pool, double tol)
{
    *this = ContornoNos();
    m_pool = pool;
    m_tol = tol;
    m_arcs.resize(pool.size());
    if (pool.empty())
        return;
    struct Box {
        double x0, y0, x1, y1;
    };
    std::vector<Box> boxes(pool.size());
    double gx0 = 1e300, gy0 = 1e300, gx1 = -1e300, gy1 = -1e300;
    for (std::size_t i = 0; i < pool.size(); ++i) {
        const SegmentoContorno& s = pool[i];
        Box b { std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2),
            std::max(s.y1, s.y2) };
        if (s.ehArco != 0) {
            const geometry::Arco ccw = s.sentido != 0
                ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                : geometry::Arco { s.p2(), s.p1(), s.centro() };
            const geometry::ExtensaoArco e = geometry::extensaoArco(ccw);
            m_arcs[i] = { e.inicio, e.fim, e.raio };
            // The whole circle bounds the arc; generous but simple.
            b = { s.xc - e.raio, s.yc - e.raio, s.xc + e.raio, s.yc + e.raio };
        }
        b = { b.x0 - tol, b.y0 - tol, b.x1 + tol, b.y1 + tol };
        boxes[i] = b;
        gx0 = std::min(gx0, b.x0);
        gy0 = std::min(gy0, b.y0);
        gx1 = std::max(gx1, b.x1);
        gy1 = std::max(gy1, b.y1);
    }
    if (!std::isfinite(gx0) || !std::isfinite(gy0) || !std::isfinite(gx1) || !std::isfinite(gy1))
        return; // elements far out of range are then simply checked one by one
    const double w = std::max(gx1 - gx0, gy1 - gy0);
    const double side
        = std::clamp(std::ceil(2.0 * std::sqrt(static_cast<double>(pool.size()))) * 4, 4.0, 1024.0);
    m_cell = w > 0.0 ? w / side : 1.0;
    m_x0 = gx0;
    m_y0 = gy0;
    m_nx = std::max(1, static_cast<int>(std::ceil((gx1 - gx0) / m_cell)) + 1);
    m_ny = std::max(1, static_cast<int>(std::ceil((gy1 - gy0) / m_cell)) + 1);
    const std::size_t cells = static_cast<std::size_t>(m_nx) * static_cast<std::size_t>(m_ny);
    m_start.assign(cells + 1, 0);
    const auto visit = [&](const Box& b, auto f) {
        for (int iy = cellY(b.y0); iy <= cellY(b.y1); ++iy)
            for (int ix = cellX(b.x0); ix <= cellX(b.x1); ++ix)
                f(static_cast<std::size_t>(iy) * m_nx + ix);
    };
    for (const Box& b : boxes)
        visit(b, [&](std::size_t c) { ++m_start[c + 1]; });
    for (std::size_t c = 0; c < cells; ++c)
        m_start[c + 1] += m_start[c];
    m_list.resize(m_start.back());
    std::vector<std::uint32_t> fill(m_start.begin(), m_start.end() - 1);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        visit(boxes[i], [&](std::size_t c) { m_list[fill[c]++] = static_cast<std::int32_t>(i); });
}

bool ContornoNos::liesOn(std::int32_t i, const Ponto& p) const
{
    const SegmentoContorno& s = m_pool[i];
    if (coincide(p, s.p1()) || coincide(p, s.p2()))
        return true;
    if (s.ehArco == 0) {
        const double dx = s.x2 - s.x1;
        const double dy = s.y2 - s.y1;
        const double len2 = dx * dx + dy * dy;
        if (len2 <= 0.0)
            return false;
        const double t = ((p.x - s.x1) * dx + (p.y - s.y1) * dy) / len2;
        if (t < 0.0 || t > 1.0)
            return false;
        const double dist = std::fabs(dx * (p.y - s.y1) - dy * (p.x - s.x1)) / std::sqrt(len2);
        return dist <= m_tol;
    }
    const ArcData& a = m_arcs[i];
    const double d = std::hypot(p.x - s.xc, p.y - s.yc);
    if (std::fabs(d - a.raio) > m_tol)
        return false;
    double ang = geometry::anguloPolar(p.x - s.xc, p.y - s.yc);
    if (ang < a.inicio)
        ang += 2.0 * geometry::Pi;
    return ang <= a.fim;
}

void ContornoNos::elementsAt(const Ponto& p, std::vector<std::int32_t>& out) const
{
    out.clear();
    if (m_pool.empty())
        return;
    if (m_start.empty()) {
        for (std::size_t i = 0; i < m_pool.size(); ++i)
            if (liesOn(static_cast<std::int32_t>(i), p))
                out.push_back(static_cast<std::int32_t>(i));
        return;
    }
    if (p.x < m_x0 - m_cell || p.y < m_y0 - m_cell || p.x > m_x0 + m_cell * (m_nx + 1)
        || p.y > m_y0 + m_cell * (m_ny + 1))
        return;
    const std::size_t c = static_cast<std::size_t>(cellY(p.y)) * m_nx + cellX(p.x);
    for (std::uint32_t k = m_start[c]; k < m_start[c + 1]; ++k)
        if (liesOn(m_list[k], p))
            out.push_back(m_list[k]);
    std::sort(out.begin(), out.end());
}

bool ContornoNos::onAny(const Ponto& p) const
{
    thread_local std::vector<std::int32_t> found;
    elementsAt(p, found);
    return !found.empty();
}

} // namespace tarvex::problem::mesher
