#include "results/critical_path.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/point_location.h"
#include "geometry/helpers.h"
#include "materials/mat_io.h"
#include "results/path_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>

namespace tarvex::results {

namespace {

constexpr double Eps0 = 8.854e-12;
/// Samples one gap may receive: 100 m in steps of 0.1 mm.
constexpr double MaxRefinedSamples = 1e6;

bool isOil(double er)
{
    return er >= 2.1 && er <= 2.3;
}
bool isPressboard(double er)
{
    return er >= 4.2 && er <= 4.6;
}

std::string fileName(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

// ---- Allowable fields ---------------------------------------------------------------------

double AllowableFieldCurve::value(double length) const
{
    const std::size_t n = curve.count();
    if (n == 0)
        return 0.0;
    const double g = std::clamp(length, curve.x(1), curve.x(n));
    const double v = curve.valor(g);
    // A natural spline through widely spaced points can swing beyond them (even below zero):
    // keep it within the two points of its interval.
    for (std::size_t i = 1; i < n; ++i)
        if (g <= curve.x(i + 1))
            return std::clamp(
                v, std::min(curve.y(i), curve.y(i + 1)), std::max(curve.y(i), curve.y(i + 1)));
    return v;
}

Status openAllowableCurve(const std::string& path, AllowableFieldCurve& out)
{
    std::vector<materials::PontoMaterial> pontos;
    if (Status s = materials::openMat(path, pontos); !s)
        return s;
    if (pontos.size() < 2)
        return Status::failure(msg::CurvaAdmissivelInvalida);
    for (std::size_t i = 0; i < pontos.size(); ++i) {
        const materials::PontoMaterial& p = pontos[i];
        if (!(p.campo > 0.0) || !(p.inducao > 0.0) || !std::isfinite(p.campo)
            || !std::isfinite(p.inducao) || (i > 0 && !(p.campo > pontos[i - 1].campo)))
            return Status::failure(msg::CurvaAdmissivelInvalida);
    }
    AllowableFieldCurve curve;
    curve.curve = materials::curvaMaterial(pontos);
    curve.curve.calculaSpline();
    curve.source = fileName(path);
    out = std::move(curve);
    return Status::success();
}

double oilAllowableField(double gap, bool betweenPressboard)
{
    const double g = gap < 0.1 ? 0.1 : gap;
    return (betweenPressboard ? 2.15e7 : 1.75e7) * std::pow(g, -0.37);
}

double creepageAllowableField(double length)
{
    const double g = length < 0.1 ? 0.1 : length;
    return 1.65e7 * std::pow(g, -0.46);
}

// ---- Samples and safety -------------------------------------------------------------------

PathSamples refineSamples(const PathSamples& samples, double step)
{
    PathSamples out;
    const std::size_t n = samples.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.add(samples.distance[i], samples.field[i], samples.permittivity[i]);
        if (i + 1 == n)
            break;
        const double d0 = samples.distance[i];
        const double d1 = samples.distance[i + 1];
        // A gap no model of real size can have (a damaged file's coordinates) is left as it is
        // rather than filled with samples without end.
        if (!(std::isfinite(d0) && std::isfinite(d1) && (d1 - d0) / step < MaxRefinedSamples))
            continue;
        // Positions are taken from the earlier sample, not accumulated, so that rounding never
        // leaves a sliver of a step before the next sample.
        for (long k = 1; d1 - (d0 + static_cast<double>(k - 1) * step) > step * (1.0 + 1e-9); ++k)
            out.add(d0 + static_cast<double>(k) * step, samples.field[i], samples.permittivity[i]);
    }
    return out;
}

PathSafety evaluatePathSafety(const PathSamples& samples, const AllowableFieldCurve* oilCurve)
{
    const PathSamples s = refineSamples(samples, 0.1);
    const std::size_t n = s.size();
    std::vector<double> er(n);
    for (std::size_t i = 0; i < n; ++i)
        er[i] = s.permittivity[i] / Eps0;

    // The span between the first and the last pressboard barrier: oil inside it withstands more.
    std::optional<double> a;
    std::optional<double> b;
    for (std::size_t i = 1; i < n; ++i)
        if (isPressboard(er[i])) {
            a = s.distance[i - 1];
            break;
        }
    if (a) {
        for (std::size_t i = n; i-- > 0;)
            if (isPressboard(er[i])) {
                b = s.distance[std::min(i + 1, n - 1)];
                break;
            }
    }

    PathSafety out;
    std::vector<double> mean(n), allowable(n, 0.0);
    double integral = 0.0;
    double gapStart = 0.0;
    double previous = 2.2;
    for (std::size_t i = 0; i < n; ++i) {
        const double d = s.distance[i];
        const double e = s.field[i];
        if (i == 0 || std::fabs(er[i] - previous) > 0.0001) {
            gapStart = d;
            integral = 0.0;
            mean[i] = e;
        } else {
            integral += (d - s.distance[i - 1]) * e;
            // Two samples at the very start of a gap share its distance: the mean is the field.
            mean[i] = d - gapStart > 0.0 ? integral / (d - gapStart) : e;
        }
        previous = er[i];
        if (!isOil(er[i]))
            continue;
        const double g = d - gapStart < 0.1 ? 0.1 : d - gapStart;
        const bool between = a && b && *a < d && d < *b;
        allowable[i] = oilCurve ? oilCurve->value(g) : oilAllowableField(g, between);
        if (mean[i] > 1e-150) {
            const double fs = 100.0 * allowable[i] / mean[i];
            if (fs < out.minSafetyFactor) {
                out.minSafetyFactor = fs;
                out.minSafetyDistance = d;
            }
        }
    }
    graphs::GraphData& g = out.graph;
    g.title = std::string(msg::TituloCampoCaminho);
    g.yCaption = std::string(msg::LegendaCampoCaminho);
    g.xCaption = std::string(msg::LegendaDistancia);
    g.addCurve(s.distance, mean, "| Em |");
    g.addCurve(s.distance, s.field, "| E |");
    g.addCurve(s.distance, allowable, "Óleo");
    return out;
}

graphs::GraphData safetyFactorGraph(const graphs::GraphData& pathGraph)
{
    graphs::GraphData out;
    out.title = std::string(msg::TituloFatorSeguranca);
    out.yCaption = std::string(msg::LegendaFator);
    out.xCaption = std::string(msg::LegendaDistancia);
    std::vector<double> xs, fs, ref;
    if (pathGraph.curves.size() >= 3) {
        const materials::Curva& mean = pathGraph.curves[0];
        const materials::Curva& allowable = pathGraph.curves[2];
        const std::size_t n = std::min(mean.count(), allowable.count());
        for (std::size_t i = 1; i <= n; ++i) {
            xs.push_back(mean.x(i));
            fs.push_back(mean.y(i) > 1e-30 ? 100.0 * allowable.y(i) / mean.y(i) : 0.0);
            ref.push_back(100.0);
        }
    }
    out.addCurve(xs, fs, "FS");
    out.addCurve(xs, ref, "Ref.");
    return out;
}

std::string safetyReport(
    double minSafetyFactor, const geometry::Ponto& point, const AllowableFieldCurve* curve)
{
    char text[256];
    std::snprintf(text, sizeof text,
        minSafetyFactor < 1e7 ? msg::FatorSegurancaMinimo : msg::FatorSegurancaMinimoG,
        minSafetyFactor, point.x, point.y);
    std::string out = text;
    if (curve) {
        std::vector<char> more(curve->source.size() + 64);
        std::snprintf(more.data(), more.size(), msg::CurvaAdmissivelUsada, curve->source.c_str());
        out += more.data();
    }
    return out;
}

geometry::Ponto pathVertexAt(const std::vector<solver::ContourSegment>& path, double distance)
{
    if (path.empty())
        return {};
    double remaining = 0.0;
    for (const solver::ContourSegment& s : path)
        remaining += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    for (auto s = path.rbegin(); s != path.rend(); ++s) {
        if (std::fabs(remaining - distance) <= 0.0001)
            return { s->x2, s->y2 };
        remaining -= std::hypot(s->x2 - s->x1, s->y2 - s->y1);
        if (remaining < distance)
            return { s->x1, s->y1 };
    }
    return { path.front().x1, path.front().y1 };
}

double CriticalPathResult::length() const
{
    double sum = 0.0;
    for (const solver::ContourSegment& s : path)
        sum += std::hypot(s.x2 - s.x1, s.y2 - s.y1);
    return sum;
}

// ---- The trace ----------------------------------------------------------------------------

namespace {

using geometry::Ponto;

/// (b − a) × (p − a): twice the signed area of a, b, p.
double twiceArea(const Ponto& a, const Ponto& b, const Ponto& p)
{
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

/// One step of the trace out of a triangle.
struct Exit {
    Ponto point;
    std::int32_t vertex = 0; ///< node number when the exit is a vertex of the triangle
    std::array<std::int32_t, 2> edge {}; ///< the edge crossed otherwise
    double field = 0.0; ///< |E| of the triangle (V/m)
    double permittivity = 0.0; ///< of its material (F/m)
};

class Tracer {
public:
    Tracer(const solver::SolverModel& model, const detail::MeshTopology& topo, double factor)
        : m_model(model)
        , m_topo(topo)
        , m_factor(factor)
    {
        double x0 = std::numeric_limits<double>::max(), x1 = -x0, y0 = x0, y1 = -x0;
        for (std::size_t i = 1; i < model.nodes.size(); ++i) {
            x0 = std::min(x0, model.nodes[i].x);
            x1 = std::max(x1, model.nodes[i].x);
            y0 = std::min(y0, model.nodes[i].y);
            y1 = std::max(y1, model.nodes[i].y);
        }
        m_rayLength = model.nodes.size() > 1 ? (x1 - x0) + (y1 - y0) : 0.0;
    }

    Ponto node(std::int32_t n) const
    {
        const solver::MeshNode& m = m_model.nodes[static_cast<std::size_t>(n)];
        return { m.x, m.y };
    }

    /**
     * The exit of the field line from triangle t entering at p (`atVertex`: the node p sits on, or
     * 0). Nothing when p is not on the triangle's outline or the field leaves the triangle where
     * it enters (through the edge, or the vertex, that holds p).
     */
    std::optional<Exit> exitFrom(std::size_t t, const Ponto& p, std::int32_t atVertex) const
    {
        if (!m_topo.usable(t))
            return std::nullopt;
        const std::array<std::int32_t, 3> n = m_topo.nodesOf(t);
        const std::array<Ponto, 3> v { node(n[0]), node(n[1]), node(n[2]) };
        std::array<bool, 3> holds {};
        bool any = false;
        for (int k = 0; k < 3; ++k) {
            const Ponto& a = v[static_cast<std::size_t>(k)];
            const Ponto& b = v[static_cast<std::size_t>((k + 1) % 3)];
            bool on;
            if (atVertex != 0)
                on = n[static_cast<std::size_t>(k)] == atVertex
                    || n[static_cast<std::size_t>((k + 1) % 3)] == atVertex;
            else
                on = std::fabs(twiceArea(a, b, p)) <= 2e-8
                    && ((a.x - p.x) * (b.x - p.x) + (a.y - p.y) * (b.y - p.y) <= 0.0
                        || geometry::coincide(a, p) || geometry::coincide(b, p));
            holds[static_cast<std::size_t>(k)] = on;
            any = any || on;
        }
        if (!any)
            return std::nullopt;

        evaluation::ElementVertices ev;
        for (std::size_t k = 0; k < 3; ++k) {
            ev.node[k] = &m_model.nodes[static_cast<std::size_t>(n[k])];
            ev.number[k] = n[k];
        }
        const evaluation::Gradient g
            = evaluation::elementGradient(m_model, ev, evaluation::vertexValues(m_model, ev));
        if (!g.valid)
            return std::nullopt;
        const double ex = -g.gx;
        const double ey = -g.gy;
        const double angle
            = std::fabs(ex) <= 1e-120 ? (ey < 0.0 ? -0.5 : 0.5) * geometry::Pi : std::atan2(ey, ex);
        const double rx = m_factor * std::cos(angle) * m_rayLength;
        const double ry = m_factor * std::sin(angle) * m_rayLength;

        double best = -1.0;
        Exit out;
        for (int k = 0; k < 3; ++k) {
            if (holds[static_cast<std::size_t>(k)])
                continue;
            const Ponto& a = v[static_cast<std::size_t>(k)];
            const Ponto& b = v[static_cast<std::size_t>((k + 1) % 3)];
            const double sx = b.x - a.x;
            const double sy = b.y - a.y;
            const double det = rx * sy - ry * sx;
            if (std::fabs(det) < 1e-8)
                continue;
            const double qx = a.x - p.x;
            const double qy = a.y - p.y;
            const double tr = (qx * sy - qy * sx) / det;
            const double ts = (qx * ry - qy * rx) / det;
            if (tr < 0.0 || tr > 1.0 || ts < 0.0 || ts > 1.0)
                continue;
            if (tr > best) {
                best = tr;
                out.point = { a.x + ts * sx, a.y + ts * sy };
                out.edge
                    = { n[static_cast<std::size_t>(k)], n[static_cast<std::size_t>((k + 1) % 3)] };
            }
        }
        // Leaving through the entry itself is no step at all.
        if (best < 0.0 || best * m_rayLength <= 1e-9)
            return std::nullopt;
        for (std::size_t k = 0; k < 3; ++k)
            if (geometry::coincide(out.point, v[k])) {
                out.point = v[k];
                out.vertex = n[k];
            }
        if (out.vertex == atVertex && atVertex != 0)
            return std::nullopt;
        out.field = std::hypot(g.gx, g.gy);
        const int region = evaluation::elementRegionOf(m_model, t, ev);
        const problem::Regiao* r = m_model.region(region);
        out.permittivity = r ? r->permissividadeRelativa * Eps0 : 0.0;
        return out;
    }

private:
    const solver::SolverModel& m_model;
    const detail::MeshTopology& m_topo;
    double m_factor;
    double m_rayLength = 0.0;
};

/**
 * The triangle of `candidates` (ascending list position, not yet crossed) that the field line
 * leaves properly from p, with its exit: the first one, or with `strongest` the one of the
 * strongest field. The start takes the strongest: on an electrode the trace must go into the
 * insulation, not into the electrode's own region, whose field is next to nothing and points
 * anywhere.
 */
template <typename It>
std::optional<std::pair<std::size_t, Exit>> firstExit(const Tracer& tracer, It begin, It end,
    const std::vector<char>& crossed, const Ponto& p, std::int32_t atVertex, bool strongest = false)
{
    std::optional<std::pair<std::size_t, Exit>> best;
    for (It it = begin; it != end; ++it) {
        const std::size_t t = *it;
        if (crossed[t])
            continue;
        if (std::optional<Exit> e = tracer.exitFrom(t, p, atVertex)) {
            if (!strongest)
                return std::make_pair(t, *e);
            if (!best || e->field > best->second.field)
                best = std::make_pair(t, *e);
        }
    }
    return best;
}

/**
 * Where the clicked point of an arc electrode lies off the mesh (its triangles' edges are chords
 * of the arc), the start moves to the nearest point of a triangle edge lying on the electrode,
 * each edge tested at 201 equally spaced points. The edges looked at are those around the node of
 * the electrode nearest to the point: first among the triangles near the point, else among all
 * nodes.
 */
std::optional<Ponto> nearestElectrodeEdgePoint(const solver::SolverModel& model,
    const detail::MeshTopology& topo, const detail::Elemento& electrode, const Ponto& p)
{
    const auto onElectrode = [&](std::int32_t n) {
        const solver::MeshNode& m = model.nodes[static_cast<std::size_t>(n)];
        return detail::sobreElemento(electrode, { m.x, m.y });
    };
    const auto distance = [&](std::int32_t n) {
        const solver::MeshNode& m = model.nodes[static_cast<std::size_t>(n)];
        return std::hypot(m.x - p.x, m.y - p.y);
    };
    std::int32_t nearest = 0;
    const auto [begin, end] = evaluation::elementIndex(model).candidates(p.x, p.y);
    for (const std::uint32_t* it = begin; it != end; ++it)
        if (*it < topo.elementCount())
            for (const std::int32_t n : topo.nodesOf(*it))
                if (n != 0 && onElectrode(n) && (nearest == 0 || distance(n) < distance(nearest)))
                    nearest = n;
    if (nearest == 0)
        for (std::int32_t n = 1; n <= model.nodeCount(); ++n)
            if ((nearest == 0 || distance(n) < distance(nearest)) && onElectrode(n))
                nearest = n;
    if (nearest == 0)
        return std::nullopt;
    geometry::PontoProximo best;
    bool found = false;
    for (const std::uint32_t t : topo.around(nearest)) {
        const std::array<std::int32_t, 3> n = topo.nodesOf(t);
        for (std::size_t k = 0; k < 3; ++k) {
            const std::int32_t a = n[k];
            const std::int32_t b = n[(k + 1) % 3];
            if ((a != nearest && b != nearest) || !onElectrode(a) || !onElectrode(b))
                continue;
            const solver::MeshNode& na = model.nodes[static_cast<std::size_t>(a)];
            const solver::MeshNode& nb = model.nodes[static_cast<std::size_t>(b)];
            const geometry::PontoProximo q = geometry::pontoMaisProximo(
                geometry::Segmento { { na.x, na.y }, { nb.x, nb.y } }, p);
            if (q.distancia < best.distancia) {
                best = q;
                found = true;
            }
        }
    }
    return found ? std::optional<Ponto>(best.ponto) : std::nullopt;
}

bool reachesElectrode(const Tracer& tracer, const detail::Elemento& electrode, const Exit& e)
{
    if (detail::sobreElemento(electrode, e.point))
        return true;
    // An arc electrode is met on the chords that the mesh puts along it.
    if (e.vertex != 0)
        return false;
    return electrode.arco && detail::sobreElemento(electrode, tracer.node(e.edge[0]))
        && detail::sobreElemento(electrode, tracer.node(e.edge[1]));
}

CriticalPathResult refuse(CriticalPathResult r, std::string_view message)
{
    r.status = Status::failure(message);
    r.path.clear();
    r.pathGraph.clear();
    r.minSafetyFactor = SemFatorSeguranca;
    r.minSafetyDistance = 0.0;
    r.report.clear();
    return r;
}

} // namespace

CriticalPathResult computeCriticalPath(const solver::SolverModel& model, const Ponto& first,
    const Ponto& second, const AllowableFieldCurve* oilCurve)
{
    CriticalPathResult r;
    if (model.potentialSegments.empty())
        return refuse(r, msg::CaminhoCriticoImpossivel);

    // The electrodes: the segments with an imposed potential nearest to the two points.
    const auto choose = [&](const Ponto& p, std::size_t& index, Ponto& onIt) {
        double best = std::numeric_limits<double>::infinity();
        std::size_t i = 0;
        for (const problem::SegmentoContorno& s : model.potentialSegments.inListOrder()) {
            const detail::Projecao q = detail::projeta(detail::elemento(s), p);
            if (q.distancia < best) {
                best = q.distancia;
                index = i;
                onIt = q.ponto;
            }
            ++i;
        }
    };
    choose(first, r.startElectrode, r.start);
    choose(second, r.endElectrode, r.end);
    r.electrodesChosen = true;
    const problem::SegmentoContorno& from = model.potentialSegments.at(r.startElectrode);
    const problem::SegmentoContorno& to = model.potentialSegments.at(r.endElectrode);
    if (std::fabs(from.potencial - to.potencial) < 1e-12)
        return refuse(r, msg::MesmoPotencial);
    if ((geometry::coincide(from.p1(), to.p1()) && geometry::coincide(from.p2(), to.p2()))
        || (geometry::coincide(from.p1(), to.p2()) && geometry::coincide(from.p2(), to.p1())))
        return refuse(r, msg::SegmentosConectados);
    const double factor = from.potencial >= to.potencial ? 1.0 : -1.0;

    const detail::MeshTopology topo(model);
    const Tracer tracer(model, topo, factor);
    const detail::Elemento endElectrode = detail::elemento(to);
    std::vector<char> crossed(topo.elementCount(), 0);

    // The first triangle: around the vertex the start sits on, else among those near it.
    Ponto current = r.start;
    std::int32_t atVertex = topo.nodeAt(current);
    if (atVertex != 0)
        current = tracer.node(atVertex);
    std::optional<std::pair<std::size_t, Exit>> step;
    const auto startHere = [&]() {
        if (atVertex != 0) {
            const std::vector<std::uint32_t> around = topo.around(atVertex);
            return firstExit(
                tracer, around.begin(), around.end(), crossed, current, atVertex, true);
        }
        const auto [b, e] = evaluation::elementIndex(model).candidates(current.x, current.y);
        std::vector<std::uint32_t> near;
        for (const std::uint32_t* it = b; it != e; ++it)
            if (*it < topo.elementCount())
                near.push_back(*it);
        return firstExit(tracer, near.begin(), near.end(), crossed, current, 0, true);
    };
    step = startHere();
    if (!step) {
        if (std::optional<Ponto> q
            = nearestElectrodeEdgePoint(model, topo, detail::elemento(from), r.start)) {
            current = *q;
            atVertex = topo.nodeAt(current);
            if (atVertex != 0)
                current = tracer.node(atVertex);
            step = startHere();
        }
    }
    r.start = current;

    PathSamples samples;
    double distance = 0.0;
    // Every step crosses a triangle never crossed before, so the trace ends within their count.
    for (std::size_t steps = 0; step && steps < topo.elementCount(); ++steps) {
        const auto [t, exit] = *step;
        crossed[t] = 1;
        r.path.push_back({ current.x, current.y, exit.point.x, exit.point.y });
        const double length = geometry::distancia(current, exit.point);
        samples.add(distance, exit.field, exit.permittivity);
        distance += length;
        samples.add(distance, exit.field, exit.permittivity);
        if (reachesElectrode(tracer, endElectrode, exit)) {
            const PathSafety safety = evaluatePathSafety(samples, oilCurve);
            r.pathGraph = safety.graph;
            r.minSafetyFactor = safety.minSafetyFactor;
            r.minSafetyDistance = safety.minSafetyDistance;
            r.minSafetyPoint = pathVertexAt(r.path, r.minSafetyDistance);
            r.report = safetyReport(r.minSafetyFactor, r.minSafetyPoint, oilCurve);
            r.status = Status::success();
            return r;
        }
        current = exit.point;
        atVertex = exit.vertex;
        if (atVertex != 0) {
            const std::vector<std::uint32_t> around = topo.around(atVertex);
            step = firstExit(tracer, around.begin(), around.end(), crossed, current, atVertex);
        } else {
            // Across the edge crossed: the other triangle having both of its nodes.
            std::vector<std::uint32_t> across;
            for (const std::uint32_t u : topo.around(exit.edge[0])) {
                const std::array<std::int32_t, 3> n = topo.nodesOf(u);
                if (u != t && std::find(n.begin(), n.end(), exit.edge[1]) != n.end())
                    across.push_back(u);
            }
            step = firstExit(tracer, across.begin(), across.end(), crossed, current, 0);
        }
    }
    return refuse(r, msg::CaminhoCriticoImpossivel);
}

} // namespace tarvex::results
