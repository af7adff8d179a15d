#pragma once

#include "common/status.h"
#include "evaluation/point_location.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvex::solver {
struct SolverModel;
}

namespace tarvex::results {

/// The quantities of a colour map (`colourMapQuantity`).
enum MapQuantity : std::int32_t {
    MapaInducao = 0, ///< |B| (T)
    MapaCampoH = 1, ///< |H| (A/m)
    MapaInducaoEletrica = 2, ///< |D| (C/m²)
    MapaCampoE = 3, ///< |E| (V/m)
    MapaDensCorrente = 4, ///< induced |J| (A/mm²)
    MapaDensPerdas = 5, ///< induced-current loss density (W/m³)
};

inline constexpr int BandCount = 15;
/// Palette index of band 0; band k takes FirstBandColour + k.
inline constexpr int FirstBandColour = 17;

/// The legend caption of a quantity; empty for an unknown one.
std::string_view mapCaption(std::int32_t quantity);

/**
 * Whether the map of `quantity` can be drawn for the model: the analysis it needs, results of a
 * calculation, and for |J| and losses an induced-current result. The failure carries the message
 * to show; the view's mode and quantity stay as they were.
 */
Status checkMapQuantity(const solver::SolverModel& model, std::int32_t quantity);

/**
 * The value of one triangle. NaN when the quantity needs the triangle's region and its centroid
 * lies in none: such a triangle is left unpainted and takes no part in the limits.
 *
 * |H| follows the permeability the solution was computed with: the curve at |B| for a non-linear
 * result in a non-linear region, mu_r otherwise (an induced-current result is linear).
 */
double triangleMapValue(
    const solver::SolverModel& model, evaluation::ElementPosition position, std::int32_t quantity);

/// The sixteen band limits T0 … T15 from the smallest and the largest value.
std::array<double, BandCount + 1> bandLimits(double minimum, double maximum);

/**
 * The band (0 … 14) of a value: below T1 band 0, above T14 band 14, otherwise the first k with
 * Tk ≤ value ≤ Tk+1, so a value on an inner limit takes the lower band. When the limits span no
 * more than rounding (1e-9 of their size: a uniform field) every value takes band 0. -1 for NaN.
 */
int bandOf(double value, const std::array<double, BandCount + 1>& limits);

/// A computed map: one value and one band per triangle, in list order, and the limits.
struct ColourMap {
    std::int32_t quantity = MapaInducao;
    std::vector<double> values;
    std::vector<std::int8_t> bands; ///< -1: triangle without a value, left unpainted
    std::array<double, BandCount + 1> limits {};
    double minimum = 1e100;
    double maximum = 1e-100;
    std::size_t unpainted = 0; ///< triangles whose centroid lies in no region
};

/// Evaluates every triangle in list order and assigns the bands.
ColourMap computeColourMap(const solver::SolverModel& model, std::int32_t quantity);

/// A limit as the legend writes it ("%.2e").
std::string legendLabel(double limit);

} // namespace tarvex::results
