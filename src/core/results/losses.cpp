#include "results/losses.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "geometry/helpers.h"
#include "problem/records.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tarvex::results {

namespace {

/// Whether the contour's elements close: every end point meets another element's end point.
bool contourCloses(const common::FrontList<problem::SegmentoContorno>& contour)
{
    std::vector<geometry::Ponto> ends;
    for (const problem::SegmentoContorno& s : contour.inStorageOrder()) {
        ends.push_back(s.p1());
        ends.push_back(s.p2());
    }
    if (ends.empty())
        return false;
    std::sort(ends.begin(), ends.end(),
        [](const geometry::Ponto& a, const geometry::Ponto& b) { return a.x < b.x; });
    std::vector<bool> paired(ends.size(), false);
    for (std::size_t i = 0; i < ends.size(); ++i) {
        if (paired[i])
            continue;
        // Points that coincide are within 1e-4 in x, so they sit close together in this order.
        std::size_t j = i + 1;
        for (; j < ends.size() && ends[j].x - ends[i].x <= 1.0001e-4; ++j)
            if (!paired[j] && geometry::coincide(ends[i], ends[j]))
                break;
        if (j >= ends.size() || ends[j].x - ends[i].x > 1.0001e-4)
            return false;
        paired[i] = true;
        paired[j] = true;
    }
    return true;
}

std::string format(const char* pattern, double watts)
{
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, pattern, watts);
    return buffer;
}

} // namespace

double meanLossDensity(
    const solver::SolverModel& model, const evaluation::ElementVertices& v, double sigma)
{
    const std::array<double, 3> a = evaluation::vertexValues(model, v);
    const std::array<double, 3> b = evaluation::vertexValues(model, v, true);
    double sum = 0.0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t j = (i + 1) % 3;
        sum += a[i] * a[i] + b[i] * b[i] + a[i] * a[j] + b[i] * b[j];
    }
    const double omega = 2.0 * geometry::Pi * model.frequency;
    return omega * omega * sigma / 12.0 * sum;
}

namespace {

/// The losses of a triangle of conductivity sigma: its mean loss density times its area.
double lossesOf(
    const solver::SolverModel& model, const evaluation::ElementVertices& v, double sigma)
{
    if (!(sigma > 1e-30))
        return 0.0;
    const double density = meanLossDensity(model, v, sigma);
    const double area = std::fabs(evaluation::twiceSignedArea(v)) / 2.0;
    const double losses = density * area / (model.scaleFactor * model.scaleFactor);
    return std::isfinite(losses) ? losses : 0.0;
}

} // namespace

Losses totalLosses(const solver::SolverModel& model)
{
    Losses out;
    for (evaluation::ElementPosition i = 0; i < model.elements.size(); ++i) {
        evaluation::ElementVertices v;
        if (!evaluation::elementVertices(model, i, v))
            continue;
        const problem::Regiao* region = model.region(evaluation::elementRegionOf(model, i, v));
        if (region == nullptr || !(region->condutividade > 1e-30))
            continue;
        out.conducting.push_back(i);
        out.watts += lossesOf(model, v, region->condutividade);
    }
    return out;
}

Losses regionLosses(const solver::SolverModel& model, double x, double y)
{
    Losses out;
    const int number = model.findRegionAt(x, y);
    const problem::Regiao* region = model.region(number);
    if (region == nullptr) {
        out.status = Status::failure(msg::PontoForaDominioPerdas);
        return out;
    }
    if (!contourCloses(region->segmentos)) {
        out.status = Status::failure(msg::RegiaoAberta);
        return out;
    }
    out.region = number;
    for (evaluation::ElementPosition i = 0; i < model.elements.size(); ++i) {
        evaluation::ElementVertices v;
        if (!evaluation::elementVertices(model, i, v)
            || evaluation::elementRegionOf(model, i, v) != number)
            continue;
        if (region->condutividade > 1e-30)
            out.conducting.push_back(i);
        out.watts += lossesOf(model, v, region->condutividade);
    }
    return out;
}

std::string totalLossesText(double watts)
{
    return format(msg::PerdasTotal, watts);
}
std::string regionLossesText(double watts)
{
    return format(msg::PerdasRegiao, watts);
}

} // namespace tarvex::results
