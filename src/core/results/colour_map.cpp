#include "results/colour_map.h"

#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "geometry/helpers.h"
#include "results/losses.h"
#include "solver/solver_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tarvex::results {

namespace {

constexpr double Undefined = std::numeric_limits<double>::quiet_NaN();

double conductivityOf(const solver::SolverModel& model, evaluation::ElementPosition position,
    const evaluation::ElementVertices& v)
{
    const problem::Regiao* region = model.region(evaluation::elementRegionOf(model, position, v));
    return region != nullptr ? region->condutividade : Undefined;
}

} // namespace

std::string_view mapCaption(std::int32_t quantity)
{
    switch (quantity) {
    case MapaInducao:
        return msg::LegendaInducao;
    case MapaCampoH:
        return msg::LegendaCampoH;
    case MapaInducaoEletrica:
        return msg::LegendaInducaoEletrica;
    case MapaCampoE:
        return msg::LegendaCampoE;
    case MapaDensCorrente:
        return msg::LegendaDensCorrente;
    case MapaDensPerdas:
        return msg::LegendaDensPerdas;
    default:
        return {};
    }
}

Status checkMapQuantity(const solver::SolverModel& model, std::int32_t quantity)
{
    const bool magnetic = model.magnetic != 0;
    // Without a calculation the node values are numbering data, not potentials: no map of them.
    const bool calculated = model.calculationKind != solver::CalculationKind::NotCalculated;
    switch (quantity) {
    case MapaInducao:
    case MapaCampoH:
        if (!magnetic)
            return Status::failure(msg::MapaSoMagnetico);
        return calculated ? Status::success() : Status::failure(msg::MapaSemResultado);
    case MapaInducaoEletrica:
    case MapaCampoE:
        if (magnetic)
            return Status::failure(msg::MapaSoEletrico);
        return calculated ? Status::success() : Status::failure(msg::MapaSemResultado);
    case MapaDensCorrente:
    case MapaDensPerdas:
        if (!magnetic)
            return Status::failure(msg::MapaSoMagnetico);
        if (!calculated)
            return Status::failure(msg::MapaSemResultados);
        // The maps read the second node array, which only an induced-current run fills.
        if (model.calculationKind != solver::CalculationKind::InducedCurrents
            || model.conductive == 0)
            return Status::failure(msg::MapaSemCorrentesInduzidas);
        return Status::success();
    default:
        return Status::failure(msg::ItemNaoDisponivel);
    }
}

double triangleMapValue(
    const solver::SolverModel& model, evaluation::ElementPosition position, std::int32_t quantity)
{
    evaluation::ElementVertices v;
    if (!evaluation::elementVertices(model, position, v))
        return Undefined;
    switch (quantity) {
    case MapaInducao:
    case MapaInducaoEletrica: {
        const evaluation::ElementVector b = evaluation::elementFluxDensity(model, position, 0.0);
        return b ? b.magnitude : Undefined;
    }
    case MapaCampoH:
    case MapaCampoE: {
        const evaluation::ElementVector h = evaluation::elementFieldIntensity(model, position, 0.0);
        return h ? h.magnitude : Undefined;
    }
    case MapaDensCorrente: {
        const std::array<double, 3> re = evaluation::vertexValues(model, v);
        const std::array<double, 3> im = evaluation::vertexValues(model, v, true);
        const double a = (re[0] + re[1] + re[2]) / 3.0;
        const double b = (im[0] + im[1] + im[2]) / 3.0;
        const double sigma = conductivityOf(model, position, v);
        return 2.0 * geometry::Pi * model.frequency * sigma * std::sqrt(a * a + b * b) / 1e6;
    }
    case MapaDensPerdas: {
        const double sigma = conductivityOf(model, position, v);
        if (std::isnan(sigma))
            return Undefined;
        return sigma > 1e-30 ? meanLossDensity(model, v, sigma) : 0.0;
    }
    default:
        return Undefined;
    }
}

std::array<double, BandCount + 1> bandLimits(double minimum, double maximum)
{
    std::array<double, BandCount + 1> t {};
    const double step = std::fabs(maximum - minimum) / BandCount;
    for (int k = 0; k <= BandCount; ++k)
        t[static_cast<std::size_t>(k)] = minimum + k * step;
    return t;
}

int bandOf(double value, const std::array<double, BandCount + 1>& t)
{
    if (std::isnan(value))
        return -1;
    // A field that is uniform up to rounding is one colour, not rounding noise spread over
    // fifteen bands.
    if (!(t[BandCount] - t[0] > 1e-9 * std::max(std::fabs(t[0]), std::fabs(t[BandCount]))))
        return 0;
    if (value < t[1])
        return 0;
    if (value > t[BandCount - 1])
        return BandCount - 1;
    // The first k with Tk <= value <= Tk+1 is one below the first limit from T2 on that is not
    // below the value.
    const auto j = std::lower_bound(t.begin() + 2, t.begin() + BandCount, value);
    return static_cast<int>(j - t.begin()) - 1;
}

ColourMap computeColourMap(const solver::SolverModel& model, std::int32_t quantity)
{
    ColourMap map;
    map.quantity = quantity;
    const std::size_t n = model.elements.size();
    map.values.resize(n);
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        const double value = triangleMapValue(model, i, quantity);
        map.values[i] = value;
        if (std::isnan(value)) {
            ++map.unpainted;
            continue;
        }
        any = true;
        map.minimum = std::min(map.minimum, value);
        map.maximum = std::max(map.maximum, value);
    }
    if (!any) {
        map.minimum = 0.0;
        map.maximum = 0.0;
    }
    map.limits = bandLimits(map.minimum, map.maximum);
    map.bands.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        map.bands[i] = static_cast<std::int8_t>(bandOf(map.values[i], map.limits));
    return map;
}

std::string legendLabel(double limit)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2e", limit);
    return buffer;
}

} // namespace tarvex::results
