#include "paint/paint_graph.h"

#include "graphs/axis_scaling.h"
#include "graphs/plot_layout.h"
#include "paint/view_palette.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QString>

#include <algorithm>
#include <cmath>

namespace tarvex::paint {

namespace {

using graphs::PlotPen;

QString text(const std::string& s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

/// On paper the palette's white would vanish: black takes its place.
QColor onPaper(const QColor& colour, bool printing)
{
    return printing && colour == QColor(Qt::white) ? QColor(Qt::black) : colour;
}

QPen plotPen(const PlotPen& pen, bool printing)
{
    const double width = printing ? pen.width * PlotScreenDpi / PlotPrinterPenDpi : pen.width;
    QPen out(onPaper(ViewPalette::entry(pen.color), printing), std::max(1.0, width),
        penStyle(pen.style));
    out.setCapStyle(Qt::FlatCap);
    return out;
}

QFont plotFont(int pixelSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, pixelSize));
    return font;
}

enum class Align { Left, Centre, Right };

constexpr int MinLabelSize = 7;

/// Text on its base line at `at`, anchored at its left end, centre or right end.
void drawText(QPainter& painter, const std::string& s, QPointF at, int pixelSize, Align align,
    const QColor& color)
{
    const QString t = text(s);
    const QFont font = plotFont(pixelSize);
    painter.setFont(font);
    painter.setPen(color);
    const double width = QFontMetricsF(font).horizontalAdvance(t);
    if (align == Align::Centre)
        at.rx() -= width / 2.0;
    else if (align == Align::Right)
        at.rx() -= width;
    painter.drawText(at, t);
}

QPointF toPixel(const graphs::PlotMapping& m, const graphs::PlotPoint& p)
{
    return { m.toPixelX(p.x), m.toPixelY(p.y) };
}

void drawGrid(QPainter& painter, const graphs::PlotLayout& layout, bool printing)
{
    const graphs::PlotArea& a = layout.mapping.area;
    painter.setPen(QPen(onPaper(ViewPalette::entry(graphs::GridColor), printing), 1.0));
    for (const graphs::Tick& t : layout.xTicks)
        painter.drawLine(QPointF(t.pixel, a.top), QPointF(t.pixel, a.bottom + layout.tickLength));
    for (const graphs::Tick& t : layout.yTicks)
        painter.drawLine(QPointF(a.left - layout.tickLength, t.pixel), QPointF(a.right, t.pixel));

    QPen zero(onPaper(ViewPalette::entry(graphs::ZeroLineColor), printing), 1.0, Qt::DotLine);
    painter.setPen(zero);
    if (layout.zeroX)
        painter.drawLine(QPointF(*layout.zeroX, a.top), QPointF(*layout.zeroX, a.bottom));
    if (layout.zeroY)
        painter.drawLine(QPointF(a.left, *layout.zeroY), QPointF(a.right, *layout.zeroY));
}

/// Tick labels shrink when many divisions share a small window, so neighbours never overlap.
int xLabelSize(const graphs::PlotLayout& layout)
{
    if (layout.xTicks.size() < 2)
        return layout.sizes.xLabel;
    const QFont font = plotFont(layout.sizes.xLabel);
    double widest = 0.0;
    for (const graphs::Tick& t : layout.xTicks)
        widest = std::max(widest, QFontMetricsF(font).horizontalAdvance(text(t.label)));
    const double room = 0.9 * std::fabs(layout.xTicks[1].pixel - layout.xTicks[0].pixel);
    if (widest <= room || widest <= 0.0)
        return layout.sizes.xLabel;
    return std::max(MinLabelSize, int(layout.sizes.xLabel * room / widest));
}

int yLabelSize(const graphs::PlotLayout& layout)
{
    if (layout.yTicks.size() < 2)
        return layout.sizes.yLabel;
    const double room = std::fabs(layout.yTicks[1].pixel - layout.yTicks[0].pixel);
    return std::clamp(int(room), MinLabelSize, layout.sizes.yLabel);
}

void drawTexts(QPainter& painter, const graphs::PlotLayout& layout, bool printing)
{
    const QColor color = onPaper(ViewPalette::entry(graphs::TextColor), printing);
    const int xSize = xLabelSize(layout);
    for (const graphs::Tick& t : layout.xTicks)
        drawText(painter, t.label, { t.pixel, layout.xLabelBaseline }, xSize, Align::Centre, color);
    const int ySize = yLabelSize(layout);
    for (const graphs::Tick& t : layout.yTicks) {
        // Centred on the grid line: the base line sits a third of the size below it.
        drawText(painter, t.label, { layout.yLabelRight, t.pixel + ySize / 3.0 }, ySize,
            Align::Right, color);
    }
    drawText(painter, layout.yCaption, { layout.yCaptionAt.x, layout.yCaptionAt.y },
        layout.sizes.yCaption, Align::Left, color);
    drawText(painter, layout.xCaption, { layout.xCaptionAt.x, layout.xCaptionAt.y },
        layout.sizes.xCaption, Align::Right, color);
    drawText(painter, layout.title, { layout.titleAt.x, layout.titleAt.y }, layout.sizes.title,
        Align::Centre, color);
}

void drawCurves(QPainter& painter, const graphs::GraphData& data, const graphs::GraphAxes& axes,
    const graphs::CurveActivation& active, const graphs::PlotMapping& mapping, bool printing)
{
    for (std::size_t c = 0; c < data.curves.size(); ++c) {
        if (!active.isActive(c))
            continue;
        const QPen pen = plotPen(graphs::curvePen(c, printing), printing);
        const QPen vertical = plotPen(graphs::verticalPen(c, printing), printing);
        const double marker = graphs::VerticalMarkerSize;
        for (const graphs::PlotSegment& s : graphs::curveSegments(data.curves[c], axes)) {
            const QPointF from = toPixel(mapping, s.from);
            const QPointF to = toPixel(mapping, s.to);
            painter.setPen(s.vertical ? vertical : pen);
            painter.drawLine(from, to);
            painter.setBrush(pen.color());
            if (s.markerAtFrom)
                painter.drawEllipse(from, marker, marker);
            if (s.markerAtTo)
                painter.drawEllipse(to, marker, marker);
            painter.setBrush(Qt::NoBrush);
        }
    }
}

void drawLegend(QPainter& painter, const graphs::PlotLayout& layout, bool printing)
{
    for (const graphs::LegendEntry& e : layout.legend) {
        const QPen pen = plotPen(e.pen, printing);
        painter.setPen(pen);
        painter.drawLine(QPointF(e.lineFrom.x, e.lineFrom.y), QPointF(e.lineTo.x, e.lineTo.y));
        drawText(painter, e.name, { e.textAt.x, e.textAt.y }, layout.sizes.xLabel, Align::Left,
            pen.color());
    }
}

} // namespace

QSizeF plotUnits(QSizeF devicePixels, double dpi, bool printing)
{
    if (!printing || dpi <= 0.0)
        return devicePixels;
    const double scale = std::max(1.0, dpi / PlotScreenDpi);
    return devicePixels / scale;
}

void paintGraph(QPainter& painter, const graphs::GraphData& data, const graphs::GraphAxes& axes,
    const graphs::CurveActivation& active, QSizeF size, bool printing, QColor background)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(QPointF(0.0, 0.0), size), background);
    const int width = int(std::lround(size.width()));
    const int height = int(std::lround(size.height()));
    const graphs::PlotLayout layout
        = graphs::layoutPlot(data, axes, active, width, height, printing);

    drawGrid(painter, layout, printing);
    drawTexts(painter, layout, printing);
    // Curves end exactly on the axes; nothing outside the plot area is theirs to draw on.
    const graphs::PlotArea& a = layout.mapping.area;
    painter.save();
    painter.setClipRect(
        QRectF(QPointF(a.left, a.top), QPointF(a.right, a.bottom)).adjusted(-4.0, -4.0, 4.0, 4.0));
    drawCurves(painter, data, axes, active, layout.mapping, printing);
    painter.restore();
    drawLegend(painter, layout, printing);
    painter.restore();
}

void renderGraph(QPainter& painter, const graphs::GraphData& data, QSize size)
{
    const graphs::CurveActivation active;
    const graphs::GraphAxes axes = graphs::autoScaleAxes(data, active, size.width(), size.height());
    paintGraph(painter, data, axes, active, QSizeF(size), false);
}

QImage renderGraph(const graphs::GraphData& data, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    renderGraph(painter, data, size);
    return image;
}

} // namespace tarvex::paint
