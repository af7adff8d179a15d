#include "results/forces.h"

#include "common/messages.h"
#include "evaluation/sections.h"
#include "geometry/helpers.h"
#include "solver/solver_model.h"

#include <cmath>
#include <cstdio>

namespace tarvex::results {

namespace {

/// Ft and Fn: the tangential and normal pressure integrated along the section, per metre.
void integrate(
    const solver::SolverModel& model, const evaluation::SectionCurves& curves, SectionForce& force)
{
    std::vector<double> t;
    std::vector<double> n;
    t.reserve(curves.samples.size());
    n.reserve(curves.samples.size());
    for (const evaluation::SectionSample& s : curves.samples) {
        t.push_back(s.tangential);
        n.push_back(s.normal);
    }
    force.tangential = trapezoid(curves.distance, t) / model.scaleFactor;
    force.normal = trapezoid(curves.distance, n) / model.scaleFactor;
    force.magnitude = std::hypot(force.tangential, force.normal);
}

} // namespace

double trapezoid(const std::vector<double>& x, const std::vector<double>& y)
{
    const std::size_t n = std::min(x.size(), y.size());
    double sum = 0.0;
    for (std::size_t k = 0; k + 1 < n; ++k)
        sum += (x[k + 1] - x[k]) * (y[k] + y[k + 1]) / 2.0;
    return sum;
}

SectionForce forceOnSection(
    const solver::SolverModel& model, const geometry::Ponto& p1, const geometry::Ponto& p2)
{
    SectionForce force;
    const evaluation::SectionCurves curves
        = evaluation::sampleSection(model, p1, p2, evaluation::SectionPressure);
    force.status = curves.status;
    if (!curves.ok())
        return force;
    integrate(model, curves, force);
    const double theta = geometry::anguloPolar(p2.x - p1.x, p2.y - p1.y);
    force.fx = force.tangential * std::cos(theta) - force.normal * std::sin(theta);
    force.fy = force.tangential * std::sin(theta) + force.normal * std::cos(theta);
    return force;
}

SectionForce forceOnPolarSection(const solver::SolverModel& model, const geometry::Ponto& p1,
    const geometry::Ponto& p2, const geometry::Ponto& centre)
{
    SectionForce force;
    force.polar = true;
    evaluation::SectionCurves curves;
    if (!evaluation::samplePolarSectionRetrying(
            model, p1, p2, centre, evaluation::SectionPressure, curves)) {
        force.status = curves.ok() ? Status::failure(msg::SecaoPolarSemCurva) : curves.status;
        return force;
    }
    integrate(model, curves, force);
    return force;
}

std::string forceText(const SectionForce& force)
{
    char buffer[160];
    if (force.polar)
        std::snprintf(
            buffer, sizeof buffer, msg::ForcaRT, force.magnitude, force.normal, force.tangential);
    else
        std::snprintf(buffer, sizeof buffer, msg::ForcaXY, force.magnitude, force.fx, force.fy);
    return buffer;
}

} // namespace tarvex::results
