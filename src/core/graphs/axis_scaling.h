#pragma once

#include "graphs/graph_data.h"

namespace tarvex::graphs {

/// Limits and grid step of one axis, in plotted units.
struct AxisRange {
    double min = 0.0;
    double max = 0.0;
    double step = 0.0;
};

/**
 * Round limits around [min, max] and the grid step between them. A zero-width range becomes
 * [ceil(max) - 1, ceil(max)] with step 1; an inverted one keeps its limits with step 0.
 * Otherwise the step is a power of ten near a tenth of the range, halved while fewer than six
 * steps cover it and the limits can be pulled in.
 */
AxisRange niceLimits(double min, double max);

/// The power of ten k that brings |max - min| into [1, 10]; 0 for a zero or non-finite width.
int displayExponent(const AxisRange& range);

/// ceil((max - min) / step), at least 1 and at most 32767.
std::int16_t divisionCount(double min, double max, double step);

/**
 * Fewer, wider divisions for a narrow window: at `size` <= `firstBound` pixels an odd division
 * count first extends `max` by a step, and the step doubles; below `secondBound` the same again
 * (still judged by the count given). The count is then computed from the new limits and step.
 */
std::int16_t narrowWindow(double& max, double min, double& step, std::int16_t divisions, int size,
    int firstBound, int secondBound);

/**
 * The automatic axes of a graph: ranges over the active curves that hold points (an empty graph
 * takes [0, 1] on both axes; non-finite values are ignored), nice limits, display exponents,
 * division counts, and the narrow-window rules for a client area of the given pixel size (width
 * bounds 299 and 180, height bounds 249 and 150).
 */
GraphAxes autoScaleAxes(
    const GraphData& data, const CurveActivation& active, int clientWidth, int clientHeight);

} // namespace tarvex::graphs
