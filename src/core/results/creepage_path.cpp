#include "results/creepage_path.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "results/path_mesh.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tarvex::results {

using geometry::Ponto;

double CreepagePathResult::length() const
{
    double sum = 0.0;
    for (const solver::ContourSegment& s : path)
        sum += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    return sum;
}

std::vector<Ponto> creepageCandidates(const solver::SolverModel& model)
{
    std::vector<Ponto> all;
    for (const problem::Regiao& r : model.regions.inListOrder())
        for (const problem::SegmentoContorno& s : r.segmentos.inListOrder()) {
            all.push_back(s.p1());
            all.push_back(s.p2());
        }
    // Sorted by x, a point can only coincide with the few that follow it within 1e-4.
    std::stable_sort(
        all.begin(), all.end(), [](const Ponto& a, const Ponto& b) { return a.x < b.x; });
    std::vector<Ponto> out;
    std::vector<char> dropped(all.size(), 0);
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (dropped[i])
            continue;
        out.push_back(all[i]);
        for (std::size_t j = i + 1; j < all.size() && all[j].x - all[i].x <= 1e-4; ++j)
            if (geometry::coincide(all[i], all[j]))
                dropped[j] = 1;
    }
    return out;
}

Ponto snapToCandidate(const std::vector<Ponto>& candidates, const Ponto& p)
{
    Ponto best = p;
    double nearest = 1e300;
    for (const Ponto& c : candidates)
        if (const double d = geometry::distancia(c, p); d < nearest) {
            nearest = d;
            best = c;
        }
    return best;
}

namespace {

/// The element walked the other way round.
detail::Elemento reversed(detail::Elemento e)
{
    std::swap(e.a, e.b);
    if (e.arco) {
        e.anguloInicio = geometry::anguloPolar(e.a.x - e.c.x, e.a.y - e.c.y);
        e.extensao = -e.extensao;
    }
    return e;
}

struct Edge {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

Ponto nodePoint(const solver::SolverModel& model, std::int32_t n)
{
    const solver::MeshNode& m = model.nodes[static_cast<std::size_t>(n)];
    return { m.x, m.y };
}

/**
 * The mesh edges along an element, from the node at its start to the node at its end: from each
 * node the next one is the neighbour on the element that lies least far ahead.
 */
bool edgesAlong(const solver::SolverModel& model, const detail::MeshTopology& topo,
    const detail::Elemento& e, std::vector<Edge>& out)
{
    std::int32_t current = topo.nodeAt(e.a);
    const std::int32_t last = topo.nodeAt(e.b);
    if (current == 0 || last == 0)
        return false;
    double at = 0.0;
    for (std::int32_t steps = 0; current != last; ++steps) {
        if (steps > model.nodeCount())
            return false;
        std::int32_t next = 0;
        double nextAt = 2.0;
        for (const std::uint32_t t : topo.around(current))
            for (const std::int32_t n : topo.nodesOf(t)) {
                if (n == current)
                    continue;
                const Ponto p = nodePoint(model, n);
                if (!detail::sobreElemento(e, p))
                    continue;
                const double t = n == last ? 1.0 : detail::parametro(e, p);
                if (t > at + 1e-12 && t < nextAt) {
                    nextAt = t;
                    next = n;
                }
            }
        if (next == 0)
            return false;
        out.push_back({ current, next });
        current = next;
        at = nextAt;
    }
    return true;
}

int sign(double v)
{
    return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0);
}

CreepagePathResult refuse(std::string_view message)
{
    CreepagePathResult r;
    r.status = Status::failure(message);
    return r;
}

} // namespace

CreepagePathResult computeCreepagePath(const solver::SolverModel& model,
    const std::vector<Ponto>& points, const AllowableFieldCurve* curve)
{
    // The chain: one region contour segment between each pair of consecutive points.
    std::vector<detail::Elemento> chain;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        std::optional<detail::Elemento> found;
        for (const problem::Regiao& r : model.regions.inListOrder()) {
            for (const problem::SegmentoContorno& s : r.segmentos.inListOrder()) {
                if (geometry::coincide(s.p1(), points[i])
                    && geometry::coincide(s.p2(), points[i + 1]))
                    found = detail::elemento(s);
                else if (geometry::coincide(s.p2(), points[i])
                    && geometry::coincide(s.p1(), points[i + 1]))
                    found = reversed(detail::elemento(s));
                if (found)
                    break;
            }
            if (found)
                break;
        }
        if (!found)
            return refuse(msg::CaminhoDescontinuo);
        chain.push_back(*found);
    }
    if (chain.empty())
        return refuse(msg::CaminhoDescontinuo);

    // Along a mesh edge the potential is linear in both triangles that share it, so the
    // tangential field is the edge's own: −ΔV over its length, signed along the travel.
    const detail::MeshTopology topo(model);
    CreepagePathResult r;
    r.chainSegments = chain.size();
    PathSamples samples;
    double distance = 0.0;
    for (const detail::Elemento& e : chain) {
        std::vector<Edge> edges;
        if (!edgesAlong(model, topo, e, edges))
            return refuse(msg::EscoamentoForaDaMalha);
        for (const Edge& edge : edges) {
            const Ponto a = nodePoint(model, edge.from);
            const Ponto b = nodePoint(model, edge.to);
            const double length = geometry::distancia(a, b);
            const double dv = model.nodes[static_cast<std::size_t>(edge.to)].value
                - model.nodes[static_cast<std::size_t>(edge.from)].value;
            const double et = length > 0.0 ? -dv * model.scaleFactor / length : 0.0;
            r.path.push_back({ a.x, a.y, b.x, b.y });
            samples.add(distance, et, 0.0);
            distance += length;
            samples.add(distance, et, 0.0);
        }
    }

    const PathSamples s = refineSamples(samples, 0.5);
    const std::size_t n = s.size();
    std::vector<double> mean(n), field(n), allowable(n);
    double integral = 0.0;
    double sectionStart = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = s.distance[i];
        const double et = std::fabs(s.field[i]);
        field[i] = et;
        if (i == 0 || sign(s.field[i]) != sign(s.field[i - 1])) {
            sectionStart = d;
            integral = 0.0;
            mean[i] = et;
        } else {
            integral += (d - s.distance[i - 1]) * et;
            mean[i] = d - sectionStart > 0.0 ? integral / (d - sectionStart) : et;
        }
        const double g = d - sectionStart < 0.1 ? 0.1 : d - sectionStart;
        allowable[i] = curve ? curve->value(g) : creepageAllowableField(g);
        // A section without tangential field cannot fail: it has no factor.
        if (mean[i] > 1e-150) {
            const double fs = 100.0 * allowable[i] / mean[i];
            if (fs < r.minSafetyFactor) {
                r.minSafetyFactor = fs;
                r.minSafetyDistance = d;
            }
        }
    }
    r.graph.title = std::string(msg::TituloCampoEscoamento);
    r.graph.yCaption = std::string(msg::LegendaCampoCaminho);
    r.graph.xCaption = std::string(msg::LegendaDistancia);
    r.graph.addCurve(s.distance, mean, "Em");
    r.graph.addCurve(s.distance, field, "|Et|");
    r.graph.addCurve(s.distance, allowable, "Óleo");

    // The point at the minimum's distance along the pieces.
    r.minSafetyPoint = { r.path.front().x1, r.path.front().y1 };
    double walked = 0.0;
    for (const solver::ContourSegment& piece : r.path) {
        const double length = std::hypot(piece.x2 - piece.x1, piece.y2 - piece.y1);
        if (walked + length >= r.minSafetyDistance) {
            const double t = length > 0.0
                ? std::clamp((r.minSafetyDistance - walked) / length, 0.0, 1.0)
                : 0.0;
            r.minSafetyPoint
                = { piece.x1 + t * (piece.x2 - piece.x1), piece.y1 + t * (piece.y2 - piece.y1) };
            break;
        }
        walked += length;
        r.minSafetyPoint = { piece.x2, piece.y2 };
    }
    r.report = safetyReport(r.minSafetyFactor, r.minSafetyPoint, curve);
    r.status = Status::success();
    return r;
}

} // namespace tarvex::results
