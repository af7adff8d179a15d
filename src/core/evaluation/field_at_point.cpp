#include "evaluation/field_at_point.h"

#include "common/messages.h"
#include "geometry/helpers.h"
#include "materials/curva.h"
#include "problem/records.h"
#include "solver/assembly.h"
#include "solver/solver_model.h"

#include <cmath>
#include <cstdio>

namespace tarvex::evaluation {

namespace {

double mu0()
{
    return geometry::Pi * 4e-7;
}

/// y(g) / g of a characteristic curve (B-H: the permeability; E-D: the permittivity) at the
/// field g. Where the quotient has no meaning (no field, or a curve value that is not positive)
/// the slope of the curve's first point is taken, and without a usable curve `fallback`.
double curveQuotient(const materials::Curva& curve, double g, bool inverse, double fallback)
{
    if (curve.count() < 2)
        return fallback;
    const auto quotient = [&](const materials::Curva& c) -> double {
        if (g > 1e-20) {
            const double y = c.valor(g);
            if (y > 0.0 && std::isfinite(y))
                return inverse ? g / y : y / g;
        }
        for (std::size_t i = 1; i <= c.count(); ++i)
            if (c.x(i) > 0.0 && c.y(i) > 0.0)
                return inverse ? c.x(i) / c.y(i) : c.y(i) / c.x(i);
        return fallback;
    };
    if (curve.splineCalculado())
        return quotient(curve);
    // A model whose splines were not prepared still gets the curve's value, not a zero.
    materials::Curva prepared = curve;
    prepared.calculaSpline();
    return quotient(prepared);
}

bool usesCurve(const solver::SolverModel& model, const problem::Regiao& region)
{
    return model.calculationKind == solver::CalculationKind::Nonlinear && region.linear == 0;
}

/// Permeability of a magnetic region at |B| (curve for a non-linear result, else mu_r mu0).
double permeability(const solver::SolverModel& model, const problem::Regiao& region, double b)
{
    const double linear = region.permRelativa * mu0();
    // The magnetic curve holds B first, H second: mu = B / H(B).
    return usesCurve(model, region) ? curveQuotient(region.curva1, b, true, linear) : linear;
}

/// Absolute permittivity of an electric region at |E| (curve D(E) / E for a non-linear result).
double permittivity(const solver::SolverModel& model, const problem::Regiao& region, double e)
{
    const double linear = region.permissividadeRelativa * solver::Eps0;
    return usesCurve(model, region) ? curveQuotient(region.curva1, e, false, linear) : linear;
}

/// The remanence (given in x-y) in the turned frame: first and second axis components.
std::pair<double, double> remanenceInFrame(const problem::Regiao& region, double theta)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return { c * region.brX + s * region.brY, -s * region.brX + c * region.brY };
}

struct ElementContext {
    ElementVertices v;
    const problem::Regiao* region = nullptr;
};

ElementVector outside()
{
    ElementVector r;
    r.status = Status::failure(msg::PontoForaDominio);
    return r;
}

bool regionOf(const solver::SolverModel& model, ElementPosition position, ElementContext& ctx)
{
    ctx.region = model.region(elementRegionOf(model, position, ctx.v));
    return ctx.region != nullptr;
}

/// The raw gradient components in the turned frame: F1 = B first-axis, F2 = B second-axis
/// (magnetic), or E second-axis = -F1, E first-axis = F2 (electric).
struct Raw {
    double f1 = 0.0;
    double f2 = 0.0;
    double magnitude = 0.0;
};

Raw rawComponents(const solver::SolverModel& model, const ElementVertices& v, double theta)
{
    const Gradient g = elementGradient(model, v, vertexValues(model, v));
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return { c * g.gy - s * g.gx, -c * g.gx - s * g.gy, std::hypot(g.gx, g.gy) };
}

} // namespace

std::array<double, 3> vertexValues(
    const solver::SolverModel& model, const ElementVertices& v, bool imaginary)
{
    std::array<double, 3> values {};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto n = static_cast<std::size_t>(v.number[i]);
        if (!imaginary)
            values[i] = v.node[i]->value;
        else if (n < model.imaginaryNodes.size())
            values[i] = model.imaginaryNodes[n].value;
    }
    return values;
}

double interpolatePotential(
    const ElementVertices& v, const std::array<double, 3>& values, double x, double y)
{
    const double d = twiceSignedArea(v);
    if (d == 0.0 || !std::isfinite(d))
        return (values[0] + values[1] + values[2]) / 3.0;
    // Barycentric weights: each vertex weighs by the area of the triangle opposite to it.
    double result = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        const solver::MeshNode& b = *v.node[(i + 1) % 3];
        const solver::MeshNode& c = *v.node[(i + 2) % 3];
        const double w = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / d;
        result += w * values[i];
    }
    return result;
}

double interpolatePotential(
    const solver::SolverModel& model, ElementPosition position, double x, double y, bool imaginary)
{
    ElementVertices v;
    if (!elementVertices(model, position, v))
        return 0.0;
    return interpolatePotential(v, vertexValues(model, v, imaginary), x, y);
}

Gradient elementGradient(
    const solver::SolverModel& model, const ElementVertices& v, const std::array<double, 3>& values)
{
    const solver::MeshNode& n1 = *v.node[0];
    const solver::MeshNode& n2 = *v.node[1];
    const solver::MeshNode& n3 = *v.node[2];
    const double d = twiceSignedArea(v);
    const double p = d / model.scaleFactor;
    Gradient g;
    if (!(std::fabs(d) > 0.0) || !std::isfinite(p) || p == 0.0)
        return g;
    const double beta1 = n2.y - n3.y;
    const double beta2 = n3.y - n1.y;
    const double beta3 = n1.y - n2.y;
    const double gamma1 = n3.x - n2.x;
    const double gamma2 = n1.x - n3.x;
    const double gamma3 = n2.x - n1.x;
    g.gx = (beta1 * values[0] + beta2 * values[1] + beta3 * values[2]) / p;
    g.gy = (gamma1 * values[0] + gamma2 * values[1] + gamma3 * values[2]) / p;
    g.valid = true;
    return g;
}

ElementVector elementFluxDensity(
    const solver::SolverModel& model, ElementPosition position, double theta)
{
    ElementContext ctx;
    if (!elementVertices(model, position, ctx.v))
        return outside();
    const Raw raw = rawComponents(model, ctx.v, theta);
    ElementVector r;
    if (model.magnetic != 0) {
        r.magnitude = raw.magnitude;
        r.first = raw.f1;
        r.second = raw.f2;
        return r;
    }
    if (!regionOf(model, position, ctx))
        return outside();
    const double k = permittivity(model, *ctx.region, raw.magnitude);
    r.factor = k;
    r.first = k * raw.f2;
    r.second = -k * raw.f1;
    r.magnitude = k * raw.magnitude;
    return r;
}

ElementVector elementFieldIntensity(
    const solver::SolverModel& model, ElementPosition position, double theta)
{
    ElementContext ctx;
    if (!elementVertices(model, position, ctx.v))
        return outside();
    const Raw raw = rawComponents(model, ctx.v, theta);
    ElementVector r;
    if (model.magnetic == 0) {
        // E = -grad V.
        r.first = raw.f2;
        r.second = -raw.f1;
        r.magnitude = raw.magnitude;
        return r;
    }
    if (!regionOf(model, position, ctx))
        return outside();
    const problem::Regiao& region = *ctx.region;
    const double mu = permeability(model, region, raw.magnitude);
    r.factor = mu / mu0();
    if (!(mu > 0.0) || !std::isfinite(mu))
        return r;
    if (usesCurve(model, region)) {
        r.first = raw.f1 / mu;
        r.second = raw.f2 / mu;
        r.magnitude = raw.magnitude / mu;
        return r;
    }
    const auto [br1, br2] = remanenceInFrame(region, theta);
    r.first = (raw.f1 - br1) / mu;
    r.second = (raw.f2 - br2) / mu;
    r.magnitude = std::hypot(r.first, r.second);
    return r;
}

ElementVector elementForceDensity(
    const solver::SolverModel& model, ElementPosition position, double theta)
{
    const ElementVector flux = elementFluxDensity(model, position, theta);
    if (!flux)
        return flux;
    ElementContext ctx;
    if (!elementVertices(model, position, ctx.v) || !regionOf(model, position, ctx))
        return outside();
    double n = flux.second;
    double t = flux.first;
    double m = 0.0; // the permeability, or the permittivity
    if (model.magnetic != 0) {
        const problem::Regiao& region = *ctx.region;
        m = permeability(model, region, flux.magnitude);
        if (!usesCurve(model, region)) {
            const auto [br1, br2] = remanenceInFrame(region, theta);
            t -= br1;
            n -= br2;
        }
    } else {
        m = flux.factor;
    }
    ElementVector r;
    if (!(m > 0.0) || !std::isfinite(m))
        return r;
    r.second = (n * n - t * t) / (2.0 * m);
    r.first = n * t / m;
    r.magnitude = std::hypot(r.second, r.first);
    return r;
}

std::pair<double, double> polarToCartesian(double radius, double degrees)
{
    const double a = degrees * geometry::Pi / 180.0;
    return { radius * std::cos(a), radius * std::sin(a) };
}

namespace {

/// The triangles around an edge (both end nodes) or a vertex (one node), ascending list position.
std::vector<ElementPosition> trianglesWith(
    const solver::SolverModel& model, double cx, double cy, std::int32_t nodeA, std::int32_t nodeB)
{
    std::vector<ElementPosition> found;
    const auto [first, last] = elementIndex(model).candidates(cx, cy);
    for (const std::uint32_t* c = first; c != last; ++c) {
        ElementVertices v;
        if (!elementVertices(model, *c, v))
            continue;
        const auto has = [&](std::int32_t n) {
            return v.number[0] == n || v.number[1] == n || v.number[2] == n;
        };
        if (has(nodeA) && (nodeB == 0 || has(nodeB)))
            found.push_back(*c);
    }
    return found;
}

/// The triangles a point touches and how their flux densities are averaged.
struct Touching {
    std::vector<ElementPosition> group;
    bool weighByArea = false; ///< on a vertex: each triangle weighs by its area
};

/// One triangle when the point is inside it, the two across an edge, the fan around a vertex.
Touching trianglesTouched(const solver::SolverModel& model, ElementPosition position,
    const ElementVertices& v, double x, double y)
{
    Touching touching { { position }, false };
    const std::array<int, 3> signs = edgeSigns(v, x, y);
    if (strictlyInside(signs))
        return touching;
    // A vertex first: a point that coincides with one would otherwise pass the edge test of
    // its two edges as soon as rounding puts it a hair inside either.
    for (std::size_t i = 0; i < 3; ++i) {
        const solver::MeshNode& a = *v.node[i];
        if (!geometry::coincide({ a.x, a.y }, { x, y }))
            continue;
        touching.group = trianglesWith(model, a.x, a.y, v.number[i], 0);
        touching.weighByArea = true;
        break;
    }
    for (std::size_t i = 0; i < 3 && !touching.weighByArea; ++i) {
        const solver::MeshNode& a = *v.node[i];
        const solver::MeshNode& b = *v.node[(i + 1) % 3];
        if (signs[i] != 0 || (a.x - x) * (b.x - x) + (a.y - y) * (b.y - y) >= 0.0)
            continue;
        touching.group = trianglesWith(
            model, (a.x + b.x) / 2, (a.y + b.y) / 2, v.number[i], v.number[(i + 1) % 3]);
        break;
    }
    if (touching.group.empty())
        touching.group = { position };
    return touching;
}

/// Flux and field: first axis radial, second tangential in the polar frame; the dialog shows
/// x and y, or t and r.
void place(Components& c, bool polar, double first, double second, double magnitude)
{
    c.magnitude = magnitude;
    if (polar) {
        c.x = second; // tangential
        c.y = first; // radial
    } else {
        c.x = first;
        c.y = second;
    }
}

/// The flux density averaged over the touched triangles; false, with the status set, where one
/// of them has no region.
bool averageFlux(
    const solver::SolverModel& model, const Touching& touching, double phi, PointValues& out)
{
    double weightSum = 0.0;
    double mag = 0.0;
    double first = 0.0;
    double second = 0.0;
    for (ElementPosition e : touching.group) {
        const ElementVector b = elementFluxDensity(model, e, phi);
        if (!b) {
            out.status = b.status;
            return false;
        }
        double w = 1.0;
        if (touching.weighByArea) {
            ElementVertices ev;
            w = elementVertices(model, e, ev) ? std::fabs(twiceSignedArea(ev)) : 0.0;
        }
        weightSum += w;
        mag += w * b.magnitude;
        first += w * b.first;
        second += w * b.second;
    }
    if (weightSum > 0.0)
        place(out.flux, out.polar, first / weightSum, second / weightSum, mag / weightSum);
    return true;
}

/// Field, relative permeability and force density of one triangle; false, with the status set,
/// where it has no region.
bool fieldAndForce(
    const solver::SolverModel& model, ElementPosition element, double phi, PointValues& out)
{
    // Forces act on a surface whose normal (the second axis) is y, or r.
    const double forceTheta = out.polar ? phi - geometry::Pi / 2 : 0.0;
    const ElementVector h = elementFieldIntensity(model, element, phi);
    const ElementVector f = elementForceDensity(model, element, forceTheta);
    if (!h || !f) {
        out.status = !h ? h.status : f.status;
        return false;
    }
    place(out.field, out.polar, h.first, h.second, h.magnitude);
    out.relativePermeability = out.magnetic ? h.factor : 0.0;
    out.force.magnitude = f.magnitude;
    if (out.polar) {
        out.force.x = -f.first; // the first axis points along -t
        out.force.y = f.second;
    } else {
        out.force.x = f.first;
        out.force.y = f.second;
    }
    return true;
}

/// Current and loss densities from the potential's amplitude and the triangle's conductivity.
void inducedCurrent(const solver::SolverModel& model, ElementPosition element, PointValues& out)
{
    ElementVertices lv;
    const problem::Regiao* region = elementVertices(model, element, lv)
        ? model.region(elementRegionOf(model, element, lv))
        : nullptr;
    if (region == nullptr) {
        out.status = Status::failure(msg::PontoForaDominio);
        return;
    }
    const double sigma = region->condutividade;
    const double a = std::hypot(out.potential, out.potentialIm);
    out.currentDensity = 2.0 * geometry::Pi * model.frequency * sigma * a / 1e6;
    if (sigma > 1e-30) {
        out.hasLoss = true;
        out.lossDensity = out.currentDensity * out.currentDensity / sigma * 0.5 * 1e12;
    }
}

} // namespace

PointValues pointValues(const solver::SolverModel& model, double x, double y, bool polar)
{
    PointValues out;
    out.magnetic = model.magnetic != 0;
    out.polar = polar;
    out.induced = out.magnetic && model.calculationKind == solver::CalculationKind::InducedCurrents;
    const ElementPosition position = locateElement(model, x, y);
    if (position == NoElement)
        return out;
    ElementVertices v;
    if (!elementVertices(model, position, v))
        return out;
    out.found = true;
    out.element = position;

    const Touching touching = trianglesTouched(model, position, v, x, y);
    out.trianglesAveraged = static_cast<int>(touching.group.size());
    // Only the flux density is averaged; the other values come from the last triangle.
    const ElementPosition last = touching.group.back();
    const double phi = polar ? geometry::anguloPolar(x, y) : 0.0;
    if (!averageFlux(model, touching, phi, out) || !fieldAndForce(model, last, phi, out))
        return out;

    out.potential = interpolatePotential(model, position, x, y);
    if (out.induced) {
        out.potentialIm = interpolatePotential(model, position, x, y, true);
        inducedCurrent(model, last, out);
    }
    return out;
}

std::string formatDialogValue(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, msg::FormatoValorPonto, value);
    return buffer;
}

std::vector<std::pair<std::string_view, std::string>> dialogFields(const PointValues& values)
{
    const bool p = values.polar;
    const bool m = values.magnetic;
    std::vector<std::pair<std::string_view, double>> fields;
    if (m) {
        fields = { { p ? msg::RotuloBt : msg::RotuloBx, values.flux.x },
            { p ? msg::RotuloBr : msg::RotuloBy, values.flux.y },
            { msg::RotuloB, values.flux.magnitude },
            { p ? msg::RotuloHt : msg::RotuloHx, values.field.x },
            { p ? msg::RotuloHr : msg::RotuloHy, values.field.y },
            { msg::RotuloH, values.field.magnitude } };
    } else {
        fields = { { p ? msg::RotuloDt : msg::RotuloDx, values.flux.x },
            { p ? msg::RotuloDr : msg::RotuloDy, values.flux.y },
            { msg::RotuloD, values.flux.magnitude },
            { p ? msg::RotuloEt : msg::RotuloEx, values.field.x },
            { p ? msg::RotuloEr : msg::RotuloEy, values.field.y },
            { msg::RotuloE, values.field.magnitude } };
    }
    fields.push_back({ p ? msg::RotuloFt : msg::RotuloFx, values.force.x });
    fields.push_back({ p ? msg::RotuloFr : msg::RotuloFy, values.force.y });
    if (m)
        fields.push_back({ msg::RotuloPermRelativa, values.relativePermeability });
    std::vector<std::pair<std::string_view, std::string>> texts;
    for (const auto& [label, value] : fields)
        texts.emplace_back(
            label, values.ok() ? formatDialogValue(value) : std::string(msg::Indefinido));
    if (values.induced) {
        texts.emplace_back(msg::RotuloJ,
            values.ok() ? formatDialogValue(values.currentDensity) : std::string(msg::Indefinido));
        texts.emplace_back(msg::RotuloPi,
            values.ok() && values.hasLoss ? formatDialogValue(values.lossDensity)
                                          : std::string(msg::Indefinido));
    }
    return texts;
}

} // namespace tarvex::evaluation
