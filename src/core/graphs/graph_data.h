#pragma once

#include "materials/curva.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvex::graphs {

/**
 * The content of a graph document: curves over a common abscissa (curve 1 first), a title, two
 * axis captions and one name per curve. Texts are UTF-8 here; the .grp file holds them as
 * Windows-1252. Every curve of a graph has as many ordinates as abscissae, and all curves share
 * the abscissae of the first.
 */
struct GraphData {
    std::vector<materials::Curva> curves;
    std::string xCaption;
    std::string yCaption;
    std::string title;
    std::vector<std::string> curveNames;

    void clear() { *this = GraphData(); }
    /// Appends a curve built from zero-based values, with its name.
    void addCurve(const std::vector<double>& xs, const std::vector<double>& ys, std::string name);
};

/// Axis settings of a graph document, in scaled units: the axis values shown are the plotted
/// values divided by 10 to the power of the axis exponent.
struct GraphAxes {
    std::int16_t xDivisions = 10;
    std::int16_t yDivisions = 10;
    double xMax = 1.0;
    double xMin = 0.0;
    double yMax = 1.0;
    double yMin = 0.0;
    double xStep = 0.1;
    double yStep = 0.1;
    std::int32_t xExponent = 0;
    std::int32_t yExponent = 0;

    bool operator==(const GraphAxes&) const = default;
};

/// Only the first ten curves carry an on/off flag; any further curve is always shown.
inline constexpr std::size_t SwitchableCurves = 10;

/// Which curves are shown. All on initially.
struct CurveActivation {
    std::array<bool, SwitchableCurves> flags { true, true, true, true, true, true, true, true, true,
        true };
    /// `curveIndex` is zero-based (0 is curve 1).
    bool isActive(std::size_t curveIndex) const
    {
        return curveIndex >= flags.size() || flags[curveIndex];
    }
};

} // namespace tarvex::graphs
