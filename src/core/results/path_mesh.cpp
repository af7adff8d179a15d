#include "results/path_mesh.h"

#include "evaluation/point_location.h"
#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>

namespace tarvex::results::detail {

MeshTopology::MeshTopology(const solver::SolverModel& model)
    : m_model(model)
    , m_count(model.elements.size())
{
}

std::array<std::int32_t, 3> MeshTopology::nodesOf(std::size_t element) const
{
    const solver::MeshElement& e = m_model.elements.at(element);
    const std::int32_t nodeCount = m_model.nodeCount();
    const std::array<std::int32_t, 3> n { e.t1, e.t2, e.t3 };
    for (const std::int32_t k : n)
        if (k < 1 || k > nodeCount)
            return { 0, 0, 0 };
    return n;
}

std::int32_t MeshTopology::nodeAt(const geometry::Ponto& p) const
{
    const auto [begin, end] = evaluation::elementIndex(m_model).candidates(p.x, p.y);
    for (const std::uint32_t* it = begin; it != end; ++it) {
        if (*it >= elementCount() || !usable(*it))
            continue;
        for (const std::int32_t n : nodesOf(*it)) {
            const solver::MeshNode& m = m_model.nodes[static_cast<std::size_t>(n)];
            if (geometry::coincide({ m.x, m.y }, p))
                return n;
        }
    }
    return 0;
}

std::vector<std::uint32_t> MeshTopology::around(std::int32_t node) const
{
    std::vector<std::uint32_t> out;
    if (node < 1 || node > m_model.nodeCount())
        return out;
    const solver::MeshNode& p = m_model.nodes[static_cast<std::size_t>(node)];
    // Every triangle having the node has the node in its box, so it is listed in its cell.
    const auto [begin, end] = evaluation::elementIndex(m_model).candidates(p.x, p.y);
    for (const std::uint32_t* it = begin; it != end; ++it) {
        if (*it >= m_count)
            continue;
        const std::array<std::int32_t, 3> n = nodesOf(*it);
        if (n[0] == node || n[1] == node || n[2] == node)
            out.push_back(*it);
    }
    return out;
}

Elemento elemento(const problem::SegmentoContorno& s)
{
    Elemento e;
    e.a = s.p1();
    e.b = s.p2();
    if (s.ehArco == 0)
        return e;
    e.arco = true;
    e.c = s.centro();
    // The arc runs counterclockwise from its first point only when `sentido` says so; the
    // element keeps the stored end points as a and b, so its sweep may be clockwise.
    const geometry::Arco arc = s.sentido != 0 ? geometry::Arco { s.p1(), s.p2(), s.centro() }
                                              : geometry::Arco { s.p2(), s.p1(), s.centro() };
    const geometry::ExtensaoArco ext = geometry::extensaoArco(arc);
    e.raio = ext.raio;
    double sweep = ext.fim - ext.inicio;
    if (!(sweep > 0.0))
        sweep = 2.0 * geometry::Pi;
    e.anguloInicio = geometry::anguloPolar(e.a.x - e.c.x, e.a.y - e.c.y);
    e.extensao = s.sentido != 0 ? sweep : -sweep;
    return e;
}

namespace {

/// Signed angle from the element's start, in the element's own sense: 0 … |extensao| on it.
double anguloAoLongo(const Elemento& e, const geometry::Ponto& p)
{
    const double ang = geometry::anguloPolar(p.x - e.c.x, p.y - e.c.y);
    double d = e.extensao >= 0.0 ? ang - e.anguloInicio : e.anguloInicio - ang;
    const double volta = 2.0 * geometry::Pi;
    while (d < 0.0)
        d += volta;
    while (d >= volta)
        d -= volta;
    // A point just before the start reads as almost a full turn: take it as the start.
    if (d > std::fabs(e.extensao) && volta - d < 1e-9)
        d = 0.0;
    return d;
}

} // namespace

Projecao projeta(const Elemento& e, const geometry::Ponto& p)
{
    if (!e.arco) {
        const double dx = e.b.x - e.a.x;
        const double dy = e.b.y - e.a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0.0 ? ((p.x - e.a.x) * dx + (p.y - e.a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const geometry::Ponto q { e.a.x + t * dx, e.a.y + t * dy };
        return { q, geometry::distancia(p, q) };
    }
    const double d = anguloAoLongo(e, p);
    if (d <= std::fabs(e.extensao)) {
        const double r = geometry::distancia(p, e.c);
        geometry::Ponto q;
        if (r > 0.0)
            q = { e.c.x + (p.x - e.c.x) * e.raio / r, e.c.y + (p.y - e.c.y) * e.raio / r };
        else
            q = e.a;
        return { q, geometry::distancia(p, q) };
    }
    const double da = geometry::distancia(p, e.a);
    const double db = geometry::distancia(p, e.b);
    return da <= db ? Projecao { e.a, da } : Projecao { e.b, db };
}

bool sobreElemento(const Elemento& e, const geometry::Ponto& p)
{
    const double size = e.arco ? e.raio : geometry::distancia(e.a, e.b);
    const double tol = 1e-7 * std::max(size, 1.0);
    if (!e.arco) {
        const Projecao q = projeta(e, p);
        return q.distancia <= tol;
    }
    if (std::fabs(geometry::distancia(p, e.c) - e.raio) > tol)
        return false;
    return anguloAoLongo(e, p) <= std::fabs(e.extensao) + 1e-9 || geometry::coincide(p, e.b)
        || geometry::coincide(p, e.a);
}

double parametro(const Elemento& e, const geometry::Ponto& p)
{
    if (!e.arco) {
        const double dx = e.b.x - e.a.x;
        const double dy = e.b.y - e.a.y;
        const double len2 = dx * dx + dy * dy;
        return len2 > 0.0 ? ((p.x - e.a.x) * dx + (p.y - e.a.y) * dy) / len2 : 0.0;
    }
    const double ext = std::fabs(e.extensao);
    return ext > 0.0 ? anguloAoLongo(e, p) / ext : 0.0;
}

} // namespace tarvex::results::detail
