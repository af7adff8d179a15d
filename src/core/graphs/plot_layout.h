#pragma once

#include "graphs/graph_data.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvex::graphs {

/// Palette indices and pen styles of the plot (pen styles: 0 solid, 1 dash, 2 dot, 3 dash-dot).
inline constexpr int GridColor = 2;
inline constexpr int TextColor = 2;
inline constexpr int ZeroLineColor = 15;
inline constexpr int LeftMargin = 70;
inline constexpr int BottomMargin = 60;
/// Room above the plot for the title and legend, and to the right for the last x label.
inline constexpr int TopMargin = 50;
inline constexpr int RightMargin = 30;

struct PlotPen {
    int color = 0;
    int width = 1;
    int style = 0;
};

/// Colour 14 for curve 1, 15 for curve 2, 4 for the others; width 2 (6 when printing); when
/// printing curve 1 is dotted, curve 2 dashed. `curveIndex` is zero-based.
PlotPen curvePen(std::size_t curveIndex, bool printing);
/// A vertical piece of a curve: dotted, half the curve's width.
PlotPen verticalPen(std::size_t curveIndex, bool printing);
inline constexpr int VerticalMarkerSize = 3;

/// Text sizes: tick labels 16 on the screen (20 for x and 25 for y when printing), ordinate
/// caption 17, abscissa caption 16, title 18 (24 when printing).
struct PlotTextSizes {
    int xLabel = 16;
    int yLabel = 16;
    int yCaption = 17;
    int xCaption = 16;
    int title = 18;
};
PlotTextSizes plotTextSizes(bool printing);

/// "% 1.2f" and "%5.2f" of a tick value.
std::string xTickLabel(double value);
std::string yTickLabel(double value);
/// "%s %s%-d" with the caption, " x 10e" and the exponent, which is always written.
std::string axisCaption(const std::string& caption, int exponent);
/// The status text of the cursor at a plot position in scaled units:
/// "posição : (%#10.4g,%#10.4e)" of the values times 10 to their exponents.
std::string cursorText(double x, double y, const GraphAxes& axes);

/// The plot area within the client area, in pixels (y grows downwards).
struct PlotArea {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};
PlotArea plotArea(int clientWidth, int clientHeight);

/// Conversion between scaled plot units and pixels. A zero-width axis maps everything to the
/// start of the area instead of dividing by zero.
struct PlotMapping {
    GraphAxes axes;
    PlotArea area;

    double toPixelX(double x) const;
    double toPixelY(double y) const;
    double fromPixelX(double px) const;
    double fromPixelY(double py) const;
};

struct Tick {
    double value = 0.0; ///< scaled units, as labelled
    double pixel = 0.0; ///< x pixel of an x tick, y pixel of a y tick
    std::string label;
};

/// One point in scaled units.
struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

/// A straight piece of a curve, clipped to the axis limits, in scaled units.
struct PlotSegment {
    PlotPoint from;
    PlotPoint to;
    bool vertical = false; ///< |x1 - x2| <= 1e-8: drawn with verticalPen()
    bool markerAtFrom = false; ///< vertical and `from` is the curve's first or last point
    bool markerAtTo = false;
};

/**
 * The pieces of a curve as the plot draws them: each value divided by 10 to its axis exponent; a
 * segment with both ends beyond the same limit of either axis skipped; an end beyond a limit
 * moved onto that limit in that coordinate alone.
 */
std::vector<PlotSegment> curveSegments(const materials::Curva& curve, const GraphAxes& axes);

struct LegendEntry {
    std::size_t curveIndex = 0; ///< zero-based
    std::string name;
    PlotPen pen;
    PlotPoint lineFrom; ///< pixels: the short sample line
    PlotPoint lineTo;
    PlotPoint textAt; ///< pixels: left end of the text's base line
};

/// Everything the plot shows apart from the curves, with pixel positions.
struct PlotLayout {
    PlotMapping mapping;
    PlotTextSizes sizes;
    std::vector<Tick> xTicks; ///< xDivisions + 1 ticks, xMin first
    std::vector<Tick> yTicks;
    std::string xCaption;
    std::string yCaption;
    std::string title;
    /// Anchors in pixels, on the text's base line: the title centred on titleAt, the abscissa
    /// caption ending at xCaptionAt, the ordinate caption starting at yCaptionAt. Tick labels go
    /// centred under x ticks at xLabelBaseline and right-aligned at yLabelRight beside y ticks.
    PlotPoint titleAt;
    PlotPoint xCaptionAt;
    PlotPoint yCaptionAt;
    double xLabelBaseline = 0.0;
    double yLabelRight = 0.0;
    /// Tick marks stick out of the area by this many pixels.
    double tickLength = 5.0;
    /// Pixel of the dotted zero line of each axis, when its range holds 0 (vertical line at
    /// x = 0, horizontal line at y = 0).
    std::optional<double> zeroX;
    std::optional<double> zeroY;
    std::vector<LegendEntry> legend;
};

PlotLayout layoutPlot(const GraphData& data, const GraphAxes& axes, const CurveActivation& active,
    int clientWidth, int clientHeight, bool printing);

} // namespace tarvex::graphs
