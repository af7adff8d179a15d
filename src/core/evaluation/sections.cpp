#include "evaluation/sections.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "evaluation/point_location.h"
#include "geometry/helpers.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/records.h"
#include "solver/assembly.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tarvex::evaluation {

using geometry::Ponto;
using geometry::Segmento;

namespace {

/// Squared distance under which two points are one (the vertex tests).
constexpr double SameSpot = 1e-8;
/// The reach of the vertex tests: sqrt(SameSpot), with room for rounding.
constexpr double VertexReach = 1.0001e-4;
/// The dead band of the signed-area tests.
constexpr double AreaBand = 2e-8;
/// Determinant under which a chord and a triangle edge count as parallel.
constexpr double ParallelChord = 1e-8;
/// Above this a polar sample is reported as absurd.
constexpr double AbsurdValue = 1e100;

double squaredDistance(const Ponto& a, const Ponto& b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

Ponto at(const solver::MeshNode& n)
{
    return { n.x, n.y };
}

/// How a section point was found on a triangle; decides how the potential is read there.
enum class HitKind { Vertex, Edge, Inside };

struct Hit {
    Ponto p;
    HitKind kind = HitKind::Inside;
    std::size_t a = 0; ///< the vertex, or the edge's first vertex
    std::size_t b = 0; ///< the edge's second vertex
};

/// The first two distinct points found on a triangle: where the section enters and leaves it.
struct EntryExit {
    std::array<Hit, 2> hit {};
    int count = 0;
    bool complete() const { return count == 2; }
    void add(const Hit& h)
    {
        if (count == 2 || (count == 1 && squaredDistance(hit[0].p, h.p) <= SameSpot))
            return;
        hit[static_cast<std::size_t>(count++)] = h;
    }
};

/// The band about a segment in which the section's tests can accept a point.
double bandMargin(double length)
{
    // |area| <= AreaBand puts a point within 2 AreaBand / length of the segment's line.
    return length > 0.0 ? std::max(2.0 * AreaBand / length * 1.0001, VertexReach) : VertexReach;
}

/// The triangles near a segment, ascending list position. None for end points that are not
/// numbers or lie beyond any mesh (whose arithmetic would overflow).
std::vector<std::uint32_t> trianglesAlong(const ElementIndex& index, const Ponto& a, const Ponto& b)
{
    std::vector<std::uint32_t> found;
    for (double v : { a.x, a.y, b.x, b.y })
        if (!(std::fabs(v) < 1e150))
            return found;
    index.collectAlong(a.x, a.y, b.x, b.y, bandMargin(std::hypot(b.x - a.x, b.y - a.y)), found);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

/// Entry and exit of the straight section through one triangle.
EntryExit crossStraight(const ElementVertices& v, const Segmento& section)
{
    EntryExit ee;
    const Ponto& p1 = section.P1;
    const Ponto& p2 = section.P2;
    for (std::size_t i = 0; i < 3; ++i) {
        const Ponto q = at(*v.node[i]);
        const bool between = geometry::orientacao(p1, p2, q) == 0
            && (q.x - p1.x) * (q.x - p2.x) + (q.y - p1.y) * (q.y - p2.y) < 0.0;
        if (between || squaredDistance(q, p1) <= SameSpot || squaredDistance(q, p2) <= SameSpot)
            ee.add({ q, HitKind::Vertex, i, i });
    }
    for (std::size_t i = 0; i < 3 && !ee.complete(); ++i) {
        const std::size_t j = (i + 1) % 3;
        const Segmento edge { at(*v.node[i]), at(*v.node[j]) };
        if (geometry::cruzamento(section, edge))
            ee.add({ geometry::intersecaoRetas(section, edge), HitKind::Edge, i, j });
    }
    for (const Ponto& p : { p1, p2 })
        if (!ee.complete() && containsPoint(edgeSigns(v, p.x, p.y)))
            ee.add({ p, HitKind::Inside, 0, 0 });
    return ee;
}

ElementVector evaluate(
    const solver::SolverModel& model, ElementPosition position, int mode, double theta)
{
    switch (mode) {
    case SectionField:
        return elementFieldIntensity(model, position, theta);
    case SectionPressure:
        return elementForceDensity(model, position, theta);
    default:
        return elementFluxDensity(model, position, theta);
    }
}

SectionSample sampleOf(
    const solver::SolverModel& model, const Ponto& p, const ElementVector& e, int mode)
{
    SectionSample s;
    s.x = p.x;
    s.y = p.y;
    s.magnitude = e.magnitude;
    s.tangential = e.first;
    s.normal = e.second;
    // D is compared in units of eps0 so that the tolerance means the same as for B.
    s.key = (mode == SectionFluxDensity && model.magnetic == 0) ? e.magnitude / solver::Eps0
                                                                : e.magnitude;
    return s;
}

/// The two parts of the potential at a section point of a triangle.
std::array<double, 2> potentialAt(
    const solver::SolverModel& model, const ElementVertices& v, const Hit& hit)
{
    const std::array<double, 3> re = vertexValues(model, v);
    const std::array<double, 3> im = vertexValues(model, v, true);
    for (std::size_t i = 0; i < 3; ++i)
        if (squaredDistance(hit.p, at(*v.node[i])) <= SameSpot)
            return { re[i], im[i] };
    if (hit.kind == HitKind::Edge) {
        const solver::MeshNode& a = *v.node[hit.a];
        const solver::MeshNode& b = *v.node[hit.b];
        return { interpolateOnEdge(a, b, hit.p.x, hit.p.y),
            interpolateOnEdge({ a.x, a.y, im[hit.a] }, { b.x, b.y, im[hit.b] }, hit.p.x, hit.p.y) };
    }
    return { interpolatePotential(v, re, hit.p.x, hit.p.y),
        interpolatePotential(v, im, hit.p.x, hit.p.y) };
}

/// The abscissae of a straight section: each sample's distance from the first.
void straightDistances(SectionCurves& out)
{
    out.distance.clear();
    out.distance.reserve(out.samples.size());
    for (const SectionSample& s : out.samples)
        out.distance.push_back(
            std::hypot(s.x - out.samples.front().x, s.y - out.samples.front().y));
}

} // namespace

void orderChain(std::vector<SectionSample>& samples, const Ponto& end)
{
    const std::size_t n = samples.size();
    if (n < 2)
        return;
    std::size_t current = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < n; ++i) {
        const double d = squaredDistance({ samples[i].x, samples[i].y }, end);
        if (d < best) {
            best = d;
            current = i;
        }
    }
    // The samples not yet chained, kept in their original order so that ties go the same way on
    // every run.
    std::vector<std::size_t> remaining;
    remaining.reserve(n - 1);
    for (std::size_t i = 0; i < n; ++i)
        if (i != current)
            remaining.push_back(i);
    std::vector<std::size_t> chain { current };
    chain.reserve(n);
    while (!remaining.empty()) {
        const SectionSample& c = samples[current];
        // The smallest tolerance that admits some sample follows from the closest distance and
        // the closest key; a key that is not a number admits nothing.
        double nearestSq = std::numeric_limits<double>::infinity();
        double closestKey = std::numeric_limits<double>::infinity();
        for (std::size_t r : remaining) {
            const SectionSample& s = samples[r];
            nearestSq = std::min(nearestSq, squaredDistance({ s.x, s.y }, { c.x, c.y }));
            const double dk = std::fabs(s.key - c.key);
            if (dk < closestKey)
                closestKey = dk;
        }
        double tau = 1e-8;
        while (!(tau * tau > nearestSq || tau > closestKey) && std::isfinite(tau))
            tau *= 10.0;
        std::size_t pick = remaining.size();
        double pickSq = std::numeric_limits<double>::infinity();
        for (std::size_t k = 0; k < remaining.size(); ++k) {
            const SectionSample& s = samples[remaining[k]];
            const double d = squaredDistance({ s.x, s.y }, { c.x, c.y });
            const bool admitted = d < tau * tau || std::fabs(s.key - c.key) < tau;
            if (admitted && (pick == remaining.size() || d < pickSq)) {
                pick = k;
                pickSq = d;
            }
        }
        if (pick == remaining.size())
            pick = 0; // coordinates that are not numbers: take the samples as they come
        current = remaining[pick];
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(pick));
        chain.push_back(current);
    }
    std::vector<SectionSample> ordered;
    ordered.reserve(n);
    for (auto i = chain.rbegin(); i != chain.rend(); ++i)
        ordered.push_back(samples[*i]);
    samples = std::move(ordered);
}

SectionCurves sampleSection(
    const solver::SolverModel& model, const Ponto& p1, const Ponto& p2, int mode)
{
    SectionCurves out;
    const Segmento section { p1, p2 };
    const double theta = geometry::anguloPolar(p2.x - p1.x, p2.y - p1.y);
    const ElementIndex& index = elementIndex(model);
    for (std::uint32_t position : trianglesAlong(index, p1, p2)) {
        ElementVertices v;
        if (!elementVertices(model, position, v))
            continue;
        const EntryExit ee = crossStraight(v, section);
        if (!ee.complete())
            continue;
        const ElementVector e = evaluate(model, position, mode, theta);
        if (!e) {
            out.status = e.status;
            out.samples.clear();
            return out;
        }
        for (const Hit& h : ee.hit)
            out.samples.push_back(sampleOf(model, h.p, e, mode));
    }
    orderChain(out.samples, p2);
    straightDistances(out);
    return out;
}

SectionCurves sampleSectionInduced(
    const solver::SolverModel& model, const Ponto& p1, const Ponto& p2, int mode)
{
    SectionCurves out;
    const Segmento section { p1, p2 };
    const ElementIndex& index = elementIndex(model);
    const double omega = 2.0 * geometry::Pi * model.frequency;
    for (std::uint32_t position : trianglesAlong(index, p1, p2)) {
        ElementVertices v;
        if (!elementVertices(model, position, v))
            continue;
        const EntryExit ee = crossStraight(v, section);
        if (!ee.complete())
            continue;
        const problem::Regiao* region = model.region(elementRegionOf(model, position, v));
        if (region == nullptr) {
            out.status = Status::failure(msg::PontoForaDominio);
            out.samples.clear();
            return out;
        }
        const double sigma = region->condutividade;
        const double factor = omega * sigma / 1e6;
        for (const Hit& h : ee.hit) {
            const std::array<double, 2> a = potentialAt(model, v, h);
            SectionSample s;
            s.x = h.p.x;
            s.y = h.p.y;
            const double j = factor * std::hypot(a[0], a[1]);
            if (mode == SectionLossDensity) {
                s.magnitude = sigma > 1e-30 ? j * j / sigma * 0.5 * 1e12 : 0.0;
            } else {
                s.magnitude = j;
                s.tangential = factor * a[0];
                s.normal = factor * a[1];
            }
            s.key = s.magnitude;
            out.samples.push_back(s);
        }
    }
    orderChain(out.samples, p2);
    straightDistances(out);
    return out;
}

bool samplePolarSection(const solver::SolverModel& model, const Ponto& p1, const Ponto& p2,
    const Ponto& centre, int mode, SectionCurves& out)
{
    out = SectionCurves();
    for (const Ponto& p : { p1, p2, centre })
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
    // A centre that is not equidistant from the end points goes to the nearest point of their
    // bisector.
    Ponto pc = centre;
    if (!(std::fabs(geometry::distancia(pc, p1) - geometry::distancia(pc, p2)) < 1e-8)) {
        const double ux = p2.x - p1.x;
        const double uy = p2.y - p1.y;
        double len2 = ux * ux + uy * uy;
        if (std::fabs(len2) < 1e-50)
            len2 = 1e-50;
        const double mx = (p1.x + p2.x) / 2.0;
        const double my = (p1.y + p2.y) / 2.0;
        const double along = ((pc.x - mx) * ux + (pc.y - my) * uy) / len2;
        pc = { pc.x - along * ux, pc.y - along * uy };
    }
    const double radius = geometry::distancia(pc, p2);
    if (!(radius > VertexReach) || !std::isfinite(radius))
        return false;
    const std::vector<Ponto> chordPoints = problem::cortaElemento(
        problem::SegmentoContorno::arco(p1, p2, pc), geometry::Pi * radius / 360.0, 18.0);
    if (chordPoints.size() < 2)
        return false;
    out.chords = chordPoints;
    const std::size_t chordCount = chordPoints.size() - 1;

    // (triangle, chord) for every chord that passes near a triangle; a triangle's chords then
    // come in polyline order.
    const ElementIndex& index = elementIndex(model);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> near;
    std::vector<std::uint32_t> cells;
    for (std::size_t k = 0; k < chordCount; ++k) {
        const Ponto& a = chordPoints[k];
        const Ponto& b = chordPoints[k + 1];
        cells.clear();
        index.collectAlong(a.x, a.y, b.x, b.y, bandMargin(geometry::distancia(a, b)), cells);
        for (std::uint32_t e : cells)
            near.emplace_back(e, static_cast<std::uint32_t>(k));
    }
    // P1 and P2 themselves (an end point inside a triangle, a vertex on an end point).
    for (const Ponto& p : { p1, p2 }) {
        cells.clear();
        index.collectAlong(p.x, p.y, p.x, p.y, VertexReach, cells);
        for (std::uint32_t e : cells)
            near.emplace_back(e, std::numeric_limits<std::uint32_t>::max());
    }
    std::sort(near.begin(), near.end());
    near.erase(std::unique(near.begin(), near.end()), near.end());

    std::vector<std::uint32_t> chordsHere;
    for (std::size_t g = 0; g < near.size();) {
        const std::uint32_t position = near[g].first;
        chordsHere.clear();
        for (; g < near.size() && near[g].first == position; ++g)
            if (near[g].second != std::numeric_limits<std::uint32_t>::max())
                chordsHere.push_back(near[g].second);
        ElementVertices v;
        if (!elementVertices(model, position, v))
            continue;
        const auto chord = [&](std::uint32_t k) {
            return Segmento { chordPoints[k], chordPoints[k + 1] };
        };
        EntryExit ee;
        for (std::size_t i = 0; i < 3; ++i) {
            const Ponto q = at(*v.node[i]);
            bool found = squaredDistance(q, p1) < SameSpot || squaredDistance(q, p2) < SameSpot;
            for (std::size_t c = 0; c < chordsHere.size() && !found; ++c)
                found = geometry::pontoInteriorSegmento(chord(chordsHere[c]), q);
            if (found) {
                ee.add({ q, HitKind::Vertex, i, i });
                out.marks.push_back(q);
            }
        }
        for (std::size_t i = 0; i < 3; ++i) {
            const std::size_t j = (i + 1) % 3;
            const Segmento edge { at(*v.node[i]), at(*v.node[j]) };
            for (std::uint32_t k : chordsHere) {
                const Segmento s = chord(k);
                if (!geometry::cruzamento(s, edge))
                    continue;
                const double ux = s.P2.x - s.P1.x;
                const double uy = s.P2.y - s.P1.y;
                const double vx = edge.P2.x - edge.P1.x;
                const double vy = edge.P2.y - edge.P1.y;
                const double det = ux * vy - uy * vx;
                if (std::fabs(det) >= ParallelChord) {
                    const double t = ((edge.P1.x - s.P1.x) * vy - (edge.P1.y - s.P1.y) * vx) / det;
                    const Ponto q { s.P1.x + t * ux, s.P1.y + t * uy };
                    ee.add({ q, HitKind::Edge, i, j });
                    out.marks.push_back(q);
                }
                break; // only the first chord that crosses the edge
            }
        }
        for (const Ponto& p : { p1, p2 })
            if (containsPoint(edgeSigns(v, p.x, p.y))) {
                ee.add({ p, HitKind::Inside, 0, 0 });
                out.marks.push_back(p);
            }
        if (!ee.complete())
            continue;
        for (const Hit& h : ee.hit) {
            const double theta
                = geometry::anguloPolar(h.p.x - pc.x, h.p.y - pc.y) - geometry::Pi / 2;
            const ElementVector e = evaluate(model, position, mode, theta);
            if (!e) {
                out.status = e.status;
                out.samples.clear();
                return false;
            }
            out.samples.push_back(sampleOf(model, h.p, e, mode));
        }
    }

    // Values no curve can show are reported and plotted as 0.
    const auto check = [&](double& value, std::string_view text) {
        if (std::fabs(value) > AbsurdValue || std::isnan(value)) {
            value = 0.0;
            if (std::find(out.warnings.begin(), out.warnings.end(), text) == out.warnings.end())
                out.warnings.push_back(text);
        }
    };
    for (SectionSample& s : out.samples) {
        check(s.magnitude, msg::ValorAbsurdoPi);
        check(s.tangential, msg::ValorAbsurdoPit);
        check(s.normal, msg::ValorAbsurdoPin);
    }
    if (out.samples.size() < 2) {
        out.samples.clear();
        return false;
    }
    orderChain(out.samples, p2);
    // Distance along the arc: the turn about the centre from one sample to the next,
    // counter-clockwise, times the radius.
    out.distance.reserve(out.samples.size());
    double s = 0.0;
    double previous
        = geometry::anguloPolar(out.samples.front().x - pc.x, out.samples.front().y - pc.y);
    for (const SectionSample& sample : out.samples) {
        const double angle = geometry::anguloPolar(sample.x - pc.x, sample.y - pc.y);
        double turn = angle - previous;
        if (turn > geometry::Pi)
            turn -= 2.0 * geometry::Pi;
        else if (turn < -geometry::Pi)
            turn += 2.0 * geometry::Pi;
        s += turn * radius;
        out.distance.push_back(s);
        previous = angle;
    }
    return true;
}

bool samplePolarSectionRetrying(const solver::SolverModel& model, const Ponto& p1, const Ponto& p2,
    const Ponto& centre, int mode, SectionCurves& out)
{
    if (samplePolarSection(model, p1, p2, centre, mode, out))
        return true;
    // A triangle without region fails again; an arc whose ends coincide has no extent to find.
    if (!out.ok() || geometry::coincide(p1, p2))
        return false;
    const double a = 1e-5 * model.scaleFactor;
    return samplePolarSection(
        model, { p1.x + a, p1.y + a }, { p2.x - a, p2.y - a }, centre, mode, out);
}

graphs::GraphData sectionGraph(const SectionCurves& curves, SectionGraph kind, bool magnetic)
{
    graphs::GraphData g;
    g.xCaption = std::string(msg::GraficoDistancia);
    std::array<const char*, 3> names {};
    switch (kind) {
    case SectionGraph::FluxDensity:
        g.title = msg::GraficoInducao;
        g.yCaption = magnetic ? msg::EixoB : msg::EixoD;
        names = magnetic ? std::array<const char*, 3> { "B", "Bt", "Bn" }
                         : std::array<const char*, 3> { "D", "Dt", "Dn" };
        break;
    case SectionGraph::Field:
    case SectionGraph::FieldPolar:
        g.title = msg::GraficoCampo;
        if (kind == SectionGraph::Field)
            g.yCaption = magnetic ? msg::EixoH : msg::EixoE;
        else
            g.yCaption = magnetic ? msg::EixoHPolar : msg::EixoEPolar;
        names = magnetic ? std::array<const char*, 3> { "H", "Ht", "Hn" }
                         : std::array<const char*, 3> { "E", "Et", "En" };
        break;
    case SectionGraph::Pressure:
        g.title = msg::GraficoPressao;
        g.yCaption = msg::EixoPressao;
        names = { "P", "Pt", "Pn" };
        break;
    case SectionGraph::CurrentDensity:
        g.title = msg::GraficoCorrente;
        g.yCaption = msg::EixoCorrente;
        names = { "J", "Jr", "Ji" };
        break;
    case SectionGraph::LossDensity:
        g.title = msg::GraficoPerdas;
        g.yCaption = msg::EixoPerdas;
        names = { "P", nullptr, nullptr };
        break;
    }
    std::array<std::vector<double>, 3> ys;
    for (const SectionSample& s : curves.samples) {
        ys[0].push_back(s.magnitude);
        ys[1].push_back(s.tangential);
        ys[2].push_back(s.normal);
    }
    for (std::size_t c = 0; c < 3; ++c)
        if (names[c] != nullptr)
            g.addCurve(curves.distance, ys[c], names[c]);
    return g;
}

} // namespace tarvex::evaluation
