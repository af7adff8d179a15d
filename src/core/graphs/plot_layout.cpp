#include "graphs/plot_layout.h"

#include "materials/c_format.h"

#include <cmath>

namespace tarvex::graphs {

namespace {

/// A view narrower than its margins still gets an area one pixel wide and high.
constexpr double MinAreaPixels = 1.0;
constexpr double LegendSpacing = 110.0;
constexpr double LegendLineLength = 25.0;

/// Sets one coordinate of a segment on the axis [low, high]; false when both ends lie beyond
/// the same limit.
bool clipCoordinate(double& a, double& b, double low, double high)
{
    // Automatic limits carry rounding noise (5.0000000000000009 for 5): a flat curve lying on a
    // limit must still be drawn, so values within a billionth of the range count as on it.
    const double slack = 1e-9 * std::fabs(high - low);
    if ((a > high + slack && b > high + slack) || (a < low - slack && b < low - slack))
        return false;
    // An end beyond a limit moves onto it in this coordinate alone; the other coordinate stays,
    // so the piece keeps its place on the grid though not its slope.
    a = std::fmin(std::fmax(a, low), high);
    b = std::fmin(std::fmax(b, low), high);
    return true;
}

std::vector<Tick> ticks(double min, double max, int divisions, double startPixel, double endPixel,
    std::string (*label)(double))
{
    const int count = divisions > 0 ? divisions : 1;
    std::vector<Tick> out;
    out.reserve(static_cast<std::size_t>(count) + 1);
    for (int i = 0; i <= count; ++i) {
        const double value = min + i * std::fabs(max - min) / count;
        out.push_back({ value, startPixel + i * (endPixel - startPixel) / count, label(value) });
    }
    return out;
}

} // namespace

PlotPen curvePen(std::size_t curveIndex, bool printing)
{
    PlotPen pen;
    pen.color = curveIndex == 0 ? 14 : curveIndex == 1 ? 15 : 4;
    pen.width = printing ? 6 : 2;
    pen.style = !printing ? 0 : curveIndex == 0 ? 2 : curveIndex == 1 ? 1 : 0;
    return pen;
}

PlotPen verticalPen(std::size_t curveIndex, bool printing)
{
    PlotPen pen = curvePen(curveIndex, printing);
    pen.width /= 2;
    pen.style = 2;
    return pen;
}

PlotTextSizes plotTextSizes(bool printing)
{
    PlotTextSizes sizes;
    if (printing) {
        sizes.xLabel = 20;
        sizes.yLabel = 25;
        sizes.title = 24;
    }
    return sizes;
}

std::string xTickLabel(double value)
{
    return materials::formatC("% 1.2f", value);
}
std::string yTickLabel(double value)
{
    return materials::formatC("%5.2f", value);
}

std::string axisCaption(const std::string& caption, int exponent)
{
    return materials::formatC("%s %s%-d", caption.c_str(), " x 10e", exponent);
}

std::string cursorText(double x, double y, const GraphAxes& axes)
{
    return materials::formatC("posição : (%#10.4g,%#10.4e)", x * std::pow(10.0, axes.xExponent),
        y * std::pow(10.0, axes.yExponent));
}

PlotArea plotArea(int clientWidth, int clientHeight)
{
    PlotArea area;
    area.left = LeftMargin;
    area.top = TopMargin;
    area.right = std::fmax(area.left + MinAreaPixels, double(clientWidth) - RightMargin);
    area.bottom = std::fmax(area.top + MinAreaPixels, double(clientHeight) - BottomMargin);
    return area;
}

double PlotMapping::toPixelX(double x) const
{
    const double width = axes.xMax - axes.xMin;
    if (width == 0.0 || !std::isfinite(width))
        return area.left;
    return area.left + (x - axes.xMin) / width * (area.right - area.left);
}

double PlotMapping::toPixelY(double y) const
{
    const double height = axes.yMax - axes.yMin;
    if (height == 0.0 || !std::isfinite(height))
        return area.bottom;
    return area.bottom - (y - axes.yMin) / height * (area.bottom - area.top);
}

double PlotMapping::fromPixelX(double px) const
{
    return axes.xMin + (px - area.left) / (area.right - area.left) * (axes.xMax - axes.xMin);
}

double PlotMapping::fromPixelY(double py) const
{
    return axes.yMin + (area.bottom - py) / (area.bottom - area.top) * (axes.yMax - axes.yMin);
}

std::vector<PlotSegment> curveSegments(const materials::Curva& curve, const GraphAxes& axes)
{
    std::vector<PlotSegment> out;
    const std::size_t n = curve.count();
    if (n < 2)
        return out;
    const double xScale = std::pow(10.0, axes.xExponent);
    const double yScale = std::pow(10.0, axes.yExponent);
    const double xLow = std::fmin(axes.xMin, axes.xMax);
    const double xHigh = std::fmax(axes.xMin, axes.xMax);
    const double yLow = std::fmin(axes.yMin, axes.yMax);
    const double yHigh = std::fmax(axes.yMin, axes.yMax);
    for (std::size_t i = 1; i < n; ++i) {
        PlotSegment s;
        s.from = { curve.x(i) / xScale, curve.y(i) / yScale };
        s.to = { curve.x(i + 1) / xScale, curve.y(i + 1) / yScale };
        if (!std::isfinite(s.from.x) || !std::isfinite(s.from.y) || !std::isfinite(s.to.x)
            || !std::isfinite(s.to.y))
            continue;
        if (!clipCoordinate(s.from.x, s.to.x, xLow, xHigh)
            || !clipCoordinate(s.from.y, s.to.y, yLow, yHigh))
            continue;
        s.vertical = std::fabs(s.from.x - s.to.x) <= 1e-8;
        s.markerAtFrom = s.vertical && i == 1;
        s.markerAtTo = s.vertical && i + 1 == n;
        out.push_back(s);
    }
    return out;
}

PlotLayout layoutPlot(const GraphData& data, const GraphAxes& axes, const CurveActivation& active,
    int clientWidth, int clientHeight, bool printing)
{
    PlotLayout layout;
    layout.mapping = { axes, plotArea(clientWidth, clientHeight) };
    const PlotArea& area = layout.mapping.area;
    layout.sizes = plotTextSizes(printing);
    layout.xTicks = ticks(axes.xMin, axes.xMax, axes.xDivisions, area.left, area.right, xTickLabel);
    layout.yTicks = ticks(axes.yMin, axes.yMax, axes.yDivisions, area.bottom, area.top, yTickLabel);
    layout.xCaption = axisCaption(data.xCaption, axes.xExponent);
    layout.yCaption = axisCaption(data.yCaption, axes.yExponent);
    layout.title = data.title;

    layout.titleAt = { (area.left + area.right) / 2.0, area.top - 28.0 };
    layout.yCaptionAt = { 5.0, area.top - 8.0 };
    layout.xCaptionAt = { area.right, double(clientHeight) - 8.0 };
    layout.xLabelBaseline = area.bottom + layout.tickLength + layout.sizes.xLabel;
    layout.yLabelRight = area.left - layout.tickLength - 2.0;

    if (std::fmin(axes.xMin, axes.xMax) <= 0.0 && 0.0 <= std::fmax(axes.xMin, axes.xMax))
        layout.zeroX = layout.mapping.toPixelX(0.0);
    if (std::fmin(axes.yMin, axes.yMax) <= 0.0 && 0.0 <= std::fmax(axes.yMin, axes.yMax))
        layout.zeroY = layout.mapping.toPixelY(0.0);

    double x = area.left + 10.0;
    const double y = area.top + 16.0;
    for (std::size_t c = 0; c < data.curves.size(); ++c) {
        if (!active.isActive(c))
            continue;
        LegendEntry entry;
        entry.curveIndex = c;
        entry.name = c < data.curveNames.size() ? data.curveNames[c] : std::string();
        entry.pen = curvePen(c, printing);
        entry.lineFrom = { x, y - 5.0 };
        entry.lineTo = { x + LegendLineLength, y - 5.0 };
        entry.textAt = { x + LegendLineLength + 5.0, y };
        layout.legend.push_back(std::move(entry));
        x += LegendSpacing;
    }
    return layout;
}

} // namespace tarvex::graphs
