#include "evaluation/flux.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/point_location.h"
#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <cmath>
#include <cstdio>

namespace tarvex::evaluation {

double interpolateOnEdge(const solver::MeshNode& a, const solver::MeshNode& b, double x, double y)
{
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (!(length > 0.0))
        return a.value;
    const double t = std::hypot(x - a.x, y - a.y) / length;
    return (1.0 - t) * a.value + t * b.value;
}

std::optional<double> potentialAt(const solver::SolverModel& model, double x, double y)
{
    // Every triangle that any pass can accept is among the candidates of the point's cell, in
    // list order, so the passes see the triangles in the order a walk of the whole list would.
    const auto [first, last] = elementIndex(model).candidates(x, y);
    for (const std::uint32_t* c = first; c != last; ++c) {
        ElementVertices v;
        if (!elementVertices(model, *c, v))
            continue;
        const std::array<int, 3> s = edgeSigns(v, x, y);
        if (s[0] == s[1] && s[1] == s[2])
            return interpolatePotential(v, vertexValues(model, v), x, y);
    }
    for (const std::uint32_t* c = first; c != last; ++c) {
        ElementVertices v;
        if (!elementVertices(model, *c, v))
            continue;
        const std::array<int, 3> s = edgeSigns(v, x, y);
        for (std::size_t i = 0; i < 3; ++i) {
            const solver::MeshNode& a = *v.node[i];
            const solver::MeshNode& b = *v.node[(i + 1) % 3];
            if (s[i] == 0 && (a.x - x) * (b.x - x) + (a.y - y) * (b.y - y) < 0.0)
                return interpolateOnEdge(a, b, x, y);
        }
    }
    for (const std::uint32_t* c = first; c != last; ++c) {
        ElementVertices v;
        if (!elementVertices(model, *c, v))
            continue;
        for (const solver::MeshNode* n : v.node)
            if (geometry::coincide({ n->x, n->y }, { x, y }))
                return n->value;
    }
    return std::nullopt;
}

FluxResult fluxBetweenPoints(
    const solver::SolverModel& model, double x1, double y1, double x2, double y2)
{
    const std::optional<double> v1 = potentialAt(model, x1, y1);
    const std::optional<double> v2 = potentialAt(model, x2, y2);
    FluxResult r;
    if (!v1 || !v2)
        return r;
    r.found = true;
    r.value = *v2 - *v1;
    return r;
}

std::string fluxText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, msg::FluxoPorMetro, value);
    return buffer;
}

} // namespace tarvex::evaluation
