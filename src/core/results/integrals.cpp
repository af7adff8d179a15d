#include "results/integrals.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/point_location.h"
#include "geometry/helpers.h"
#include "materials/curva.h"
#include "results/colour_map.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

namespace tarvex::results {

namespace {

double mu0()
{
    return 4e-7 * geometry::Pi;
}

/// Steps of the table of ∫₀ᴮ H dB of one non-linear region.
constexpr std::size_t CurveSteps = 4096;

/// ∫₀ᴮ H(b) db of a region's B-H curve (B first, H second) by a table over [0, Bmax]: Simpson
/// on each step, and within a step the trapezoid of H interpolated linearly.
class CurveEnergy {
public:
    CurveEnergy(const materials::Curva& curve, double bMax)
    {
        materials::Curva c = curve;
        if (!c.splineCalculado())
            c.calculaSpline();
        m_step = bMax > 0.0 ? bMax / CurveSteps : 1.0;
        m_h.resize(CurveSteps + 1);
        m_w.assign(CurveSteps + 1, 0.0);
        for (std::size_t k = 0; k <= CurveSteps; ++k)
            m_h[k] = c.valor(m_step * static_cast<double>(k));
        for (std::size_t k = 0; k < CurveSteps; ++k) {
            const double mid = c.valor(m_step * (static_cast<double>(k) + 0.5));
            m_w[k + 1] = m_w[k] + m_step * (m_h[k] + 4.0 * mid + m_h[k + 1]) / 6.0;
        }
    }

    /// W(b) and H(b) for 0 ≤ b ≤ Bmax.
    std::pair<double, double> at(double b) const
    {
        const double s = b > 0.0 ? std::min(b / m_step, static_cast<double>(CurveSteps)) : 0.0;
        const auto k = std::min(static_cast<std::size_t>(s), CurveSteps - 1);
        const double t = s - static_cast<double>(k);
        const double h = m_h[k] + t * (m_h[k + 1] - m_h[k]);
        return { m_w[k] + t * m_step * (m_h[k] + h) / 2.0, h };
    }

private:
    double m_step = 1.0;
    std::vector<double> m_h;
    std::vector<double> m_w;
};

bool usesCurve(const solver::SolverModel& model, const problem::Regiao& region)
{
    return model.magnetic != 0 && model.calculationKind == solver::CalculationKind::Nonlinear
        && region.linear == 0 && region.curva1.count() >= 2;
}

/// The mean of the three vertex values: the exact mean of the linear interpolant.
double mean(const std::array<double, 3>& v)
{
    return (v[0] + v[1] + v[2]) / 3.0;
}

/// Sums over the triangles whose region is `only` (every region when 0).
Status integrate(const solver::SolverModel& model, int only, Integrals& out)
{
    if (model.calculationKind == solver::CalculationKind::NotCalculated)
        return Status::failure(msg::MapaSemResultados);
    Integrals r;
    r.region = only;
    r.magnetic = model.magnetic != 0;
    r.induced = r.magnetic && model.calculationKind == solver::CalculationKind::InducedCurrents;
    const double scale2 = model.scaleFactor * model.scaleFactor;
    const double omega = 2.0 * geometry::Pi * model.frequency;
    double potentialSum = 0.0;
    double potentialImSum = 0.0;

    // Non-linear triangles wait for their region's table: its range is their largest |B|.
    struct Pending {
        int region;
        double b;
        double area;
    };
    std::vector<Pending> pending;
    std::map<int, double> bMax;

    const std::size_t count = model.elements.size();
    for (evaluation::ElementPosition e = 0; e < count; ++e) {
        evaluation::ElementVertices v;
        if (!evaluation::elementVertices(model, e, v))
            continue;
        const int number = evaluation::elementRegionOf(model, e, v);
        const problem::Regiao* region = model.region(number);
        if (region == nullptr || (only != 0 && number != only))
            continue;
        const double area = std::fabs(evaluation::twiceSignedArea(v)) / 2.0 / scale2;
        if (!(area > 0.0) || !std::isfinite(area))
            continue;
        const std::array<double, 3> re = evaluation::vertexValues(model, v);
        r.area += area;
        potentialSum += mean(re) * area;
        if (!r.magnetic) {
            const evaluation::ElementVector d = evaluation::elementFluxDensity(model, e, 0.0);
            const evaluation::ElementVector f = evaluation::elementFieldIntensity(model, e, 0.0);
            if (d && f) {
                const double w = 0.5 * (d.first * f.first + d.second * f.second) * area;
                r.energy += w;
                r.coenergy += w;
            }
            continue;
        }
        const double js = region->densCorrente * 1e6; // A/mm² to A/m²
        if (r.induced) {
            const std::array<double, 3> im = evaluation::vertexValues(model, v, true);
            const double sigma = region->condutividade;
            potentialImSum += mean(im) * area;
            r.current += (js + omega * sigma * mean(im)) * area;
            r.currentIm += -omega * sigma * mean(re) * area;
            const evaluation::Gradient gr = evaluation::elementGradient(model, v, re);
            const evaluation::Gradient gi = evaluation::elementGradient(model, v, im);
            const double mu = region->permRelativa * mu0();
            if (gr.valid && gi.valid && mu > 0.0) {
                const double b2 = gr.gx * gr.gx + gr.gy * gr.gy + gi.gx * gi.gx + gi.gy * gi.gy;
                r.energy += 0.25 * b2 / mu * area;
                r.coenergy += 0.25 * b2 / mu * area;
            }
            if (sigma > 1e-30) {
                const double p = triangleMapValue(model, e, MapaDensPerdas);
                if (std::isfinite(p))
                    r.losses += p * area;
            }
            continue;
        }
        r.current += js * area;
        // B = curl A from the gradient, and H as the point values take it (the remanence in a
        // linear region), without locating the triangle's region again for each quantity.
        const evaluation::Gradient g = evaluation::elementGradient(model, v, re);
        if (!g.valid)
            continue;
        const double bx = g.gy;
        const double by = -g.gx;
        if (usesCurve(model, *region)) {
            const double b = std::hypot(bx, by);
            // A potential that is not a number (a damaged file) must not index the table.
            if (!std::isfinite(b))
                continue;
            pending.push_back({ number, b, area });
            double& top = bMax[number];
            top = std::max(top, b);
            continue;
        }
        const double mu = region->permRelativa * mu0();
        if (mu > 0.0 && std::isfinite(mu)) {
            const double w = 0.5 * (bx * (bx - region->brX) + by * (by - region->brY)) / mu * area;
            r.energy += w;
            r.coenergy += w;
        }
    }
    std::map<int, CurveEnergy> tables;
    for (const auto& [number, top] : bMax)
        tables.emplace(number, CurveEnergy(model.region(number)->curva1, top));
    for (const Pending& p : pending) {
        const auto [w, h] = tables.at(p.region).at(p.b);
        r.energy += w * p.area;
        r.coenergy += (p.b * h - w) * p.area;
    }
    r.nonlinear = !pending.empty();
    if (r.area > 0.0) {
        r.meanPotential = potentialSum / r.area;
        r.meanPotentialIm = potentialImSum / r.area;
    }
    out = r;
    return Status::success();
}

} // namespace

double Integrals::currentModulus() const
{
    return std::hypot(current, currentIm);
}

double Integrals::currentPhaseDegrees() const
{
    if (current == 0.0 && currentIm == 0.0)
        return 0.0;
    return std::atan2(currentIm, current) * 180.0 / geometry::Pi;
}

Status integrateTotal(const solver::SolverModel& model, Integrals& out)
{
    return integrate(model, 0, out);
}

Status integrateRegion(const solver::SolverModel& model, double x, double y, Integrals& out)
{
    if (model.calculationKind == solver::CalculationKind::NotCalculated)
        return Status::failure(msg::MapaSemResultados);
    const int number = model.findRegionAt(x, y);
    if (number == 0)
        return Status::failure(msg::PontoForaDominio);
    return integrate(model, number, out);
}

Status inductanceFromEnergy(double energy, double current, double& out)
{
    if (!(current != 0.0) || !std::isfinite(current))
        return Status::failure(msg::CorrenteInvalida);
    out = 2.0 * energy / (current * current);
    return Status::success();
}

Status capacitanceFromEnergy(double energy, double voltage, double& out)
{
    if (!(voltage != 0.0) || !std::isfinite(voltage))
        return Status::failure(msg::TensaoInvalida);
    out = 2.0 * energy / (voltage * voltage);
    return Status::success();
}

double imposedPotentialSpan(const solver::SolverModel& model)
{
    const std::int32_t first = model.unknownCount() + 1;
    if (model.nodeCount() - first + 1 < 2)
        return 0.0;
    double low = model.nodes[static_cast<std::size_t>(first)].value;
    double high = low;
    for (std::int32_t k = first + 1; k <= model.nodeCount(); ++k) {
        const double v = model.nodes[static_cast<std::size_t>(k)].value;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    return high - low;
}

Integrals withLength(const Integrals& perMetre, double length)
{
    Integrals r = perMetre;
    r.energy *= length;
    r.coenergy *= length;
    r.losses *= length;
    return r;
}

std::vector<std::pair<std::string_view, std::string>> integralFields(const Integrals& v)
{
    const auto text = [](double value) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%12.4g", value);
        return std::string(buffer);
    };
    std::vector<std::pair<std::string_view, std::string>> fields;
    fields.emplace_back(msg::RotuloArea, text(v.area));
    if (v.induced) {
        fields.emplace_back(msg::RotuloCorrenteModulo, text(v.currentModulus()));
        fields.emplace_back(msg::RotuloCorrenteFase, text(v.currentPhaseDegrees()));
    } else if (v.magnetic) {
        fields.emplace_back(msg::RotuloCorrente, text(v.current));
    }
    fields.emplace_back(v.induced ? msg::RotuloEnergiaMedia : msg::RotuloEnergia, text(v.energy));
    if (v.nonlinear)
        fields.emplace_back(msg::RotuloCoenergia, text(v.coenergy));
    fields.emplace_back(v.magnetic ? msg::RotuloPotencialMedioA : msg::RotuloPotencialMedioV,
        text(v.meanPotential));
    if (v.induced)
        fields.emplace_back(msg::RotuloPerdas, text(v.losses));
    return fields;
}

bool validLength(double length)
{
    return length > 0.0 && std::isfinite(length);
}

} // namespace tarvex::results
