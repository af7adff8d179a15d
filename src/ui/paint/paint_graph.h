#pragma once

#include "graphs/graph_data.h"

#include <QColor>
#include <QImage>
#include <QSize>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::paint {

/// Screen pixels per inch: the unit in which the plot's margins and text sizes are counted.
inline constexpr double PlotScreenDpi = 96.0;
/// Printed curve widths are counted in dots of a printer of this resolution, so a printed curve
/// is about as thick on paper as it looks on the screen.
inline constexpr double PlotPrinterPenDpi = 300.0;

/**
 * The size in plot units of a target of `devicePixels` on a device of `dpi`: the device pixels
 * themselves on the screen; while printing, the page measured in 96-dpi pixels, so margins, ticks
 * and texts keep their screen proportions on paper.
 */
QSizeF plotUnits(QSizeF devicePixels, double dpi, bool printing);

/**
 * Paints a graph as its view shows it: the background, the grid and tick marks, the dotted zero
 * lines, the tick labels, the captions and the title, every active curve (clipped to the axes,
 * vertical pieces dotted with a marker at the curve's ends) and the legend. Everything is placed
 * by the core's layoutPlot() and curveSegments(); this only draws. `size` is in plot units (see
 * plotUnits()); while printing the painter is scaled from plot units to device pixels.
 */
void paintGraph(QPainter& painter, const graphs::GraphData& data, const graphs::GraphAxes& axes,
    const graphs::CurveActivation& active, QSizeF size, bool printing,
    QColor background = Qt::black);

/// The picture a graph view of `size` shows for a new graph: automatic axes, every curve active.
QImage renderGraph(const graphs::GraphData& data, QSize size);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderGraph(QPainter& painter, const graphs::GraphData& data, QSize size);

} // namespace tarvex::paint
