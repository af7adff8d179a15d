#include "graphs/axis_scaling.h"

#include <cmath>
#include <limits>

namespace tarvex::graphs {

namespace {

/// Far more steps than any range needs (about eleven); only a step below the resolution of the
/// limits could reach it.
constexpr int MaxSteps = 1000;

struct Ranges {
    double xMin = 0.0;
    double xMax = 0.0;
    double yMin = 0.0;
    double yMax = 0.0;
    bool any = false;

    void add(double x, double y)
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        if (!any) {
            xMin = xMax = x;
            yMin = yMax = y;
            any = true;
            return;
        }
        xMin = std::fmin(xMin, x);
        xMax = std::fmax(xMax, x);
        yMin = std::fmin(yMin, y);
        yMax = std::fmax(yMax, y);
    }
};

void applyExponent(double& min, double& max, double& step, std::int32_t& exponent)
{
    const int k = displayExponent({ min, max, step });
    const double scale = std::pow(10.0, k);
    min /= scale;
    max /= scale;
    step /= scale;
    exponent = k;
}

} // namespace

AxisRange niceLimits(double min, double max)
{
    const double d = max - min;
    if (!(d >= 0.0) || !std::isfinite(d))
        return { min, max, 0.0 };
    if (std::fabs(d) < 1e-200) {
        const double low = std::ceil(max) - 1.0;
        return { low, low + 1.0, 1.0 };
    }
    double e = std::pow(10.0, std::ceil(std::log10(d / 10.0)));
    // Limits that land a rounding error away from the data (1 - 10 * 0.1 is not 0) count as on
    // it; otherwise a range such as 0 .. 1 would gain an empty step below 0.
    const auto noise = [&] { return e * 1e-9; };
    double g = e * std::trunc(max / e);
    if (max - g > noise())
        g += e;
    double h = g;
    int i = 0;
    while (h - min > noise() && i < MaxSteps) {
        const double lower = h - e;
        if (lower == h)
            break;
        h = lower;
        ++i;
    }
    if (std::fabs(h) < 1e-10)
        h = 0.0;
    if (i < 6) {
        for (int repeat = (5 - i) / 2 + 1; repeat > 0; --repeat) {
            e /= 2.0;
            if (h + e - min <= noise())
                h += e;
            if (g - e - max >= -noise())
                g -= e;
        }
    }
    return { h, g, e };
}

int displayExponent(const AxisRange& range)
{
    double a = std::fabs(range.max - range.min);
    if (!std::isfinite(a) || a == 0.0)
        return 0;
    int k = 0;
    while (a < 1.0 || a > 10.0) {
        if (a < 1.0) {
            a *= 10.0;
            --k;
        } else {
            a /= 10.0;
            ++k;
        }
    }
    return k;
}

std::int16_t divisionCount(double min, double max, double step)
{
    // Limits a rounding error beyond a whole number of steps do not make one more division.
    const double count = std::ceil((max - min) / step - 1e-9);
    if (!(count >= 1.0) || !std::isfinite(count))
        return 1;
    if (count > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(count);
}

std::int16_t narrowWindow(double& max, double min, double& step, std::int16_t divisions, int size,
    int firstBound, int secondBound)
{
    if (size > firstBound)
        return divisions;
    const bool odd = divisions % 2 != 0;
    if (odd)
        max += step;
    step *= 2.0;
    if (size < secondBound) {
        if (odd)
            max += step;
        step *= 2.0;
    }
    return divisionCount(min, max, step);
}

GraphAxes autoScaleAxes(
    const GraphData& data, const CurveActivation& active, int clientWidth, int clientHeight)
{
    Ranges ranges;
    for (std::size_t c = 0; c < data.curves.size(); ++c) {
        if (!active.isActive(c))
            continue;
        const materials::Curva& curve = data.curves[c];
        for (std::size_t i = 1; i <= curve.count(); ++i)
            ranges.add(curve.x(i), curve.y(i));
    }
    if (!ranges.any)
        ranges = { 0.0, 1.0, 0.0, 1.0, true };

    GraphAxes axes;
    const AxisRange x = niceLimits(ranges.xMin, ranges.xMax);
    const AxisRange y = niceLimits(ranges.yMin, ranges.yMax);
    axes.xMin = x.min;
    axes.xMax = x.max;
    axes.xStep = x.step;
    axes.yMin = y.min;
    axes.yMax = y.max;
    axes.yStep = y.step;
    applyExponent(axes.xMin, axes.xMax, axes.xStep, axes.xExponent);
    applyExponent(axes.yMin, axes.yMax, axes.yStep, axes.yExponent);
    axes.xDivisions = divisionCount(axes.xMin, axes.xMax, axes.xStep);
    axes.yDivisions = divisionCount(axes.yMin, axes.yMax, axes.yStep);
    axes.xDivisions
        = narrowWindow(axes.xMax, axes.xMin, axes.xStep, axes.xDivisions, clientWidth, 299, 180);
    axes.yDivisions
        = narrowWindow(axes.yMax, axes.yMin, axes.yStep, axes.yDivisions, clientHeight, 249, 150);
    return axes;
}

} // namespace tarvex::graphs
