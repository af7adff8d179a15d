#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::solver {
struct SolverModel;
}
namespace tarvex::results {
struct ColourMap;
}

namespace tarvex::paint {

class Canvas;
class ViewMapping;

/// The results view's display mode of the colour map.
inline constexpr int ModoEscalaCores = 17;

/// Share of the visible width that the legend strip takes on the left.
inline constexpr double FracaoLegenda = 0.1015;

/**
 * Moves the left bound of the mapping's window left by FracaoLegenda of its visible width and
 * fits it again, so the picture leaves a strip for the legend. The caller passes the window it
 * shows (not one already shifted), so repaints do not add shift upon shift.
 */
void deslocaJanelaLegenda(ViewMapping& mapping);

/**
 * Paints a computed map over the canvas's (already shifted) window: every triangle in its band
 * colour, widened by its 3-pixel outline so that neighbours meet without gaps, in list order; the
 * region contours in colour 15; the legend of the fifteen bands with the sixteen limits ("%.2e",
 * T0 at the bottom) and the quantity's caption. Triangles without a value stay unpainted.
 * The triangles are rasterised in one pass into a layer the size of the target, so a mesh of a
 * million triangles paints in a fraction of a second.
 */
void paintColourMap(
    Canvas& canvas, const solver::SolverModel& model, const results::ColourMap& map);

/// A label of the legend as it is drawn: its text, its box in pixels and its font's pixel size.
struct RotuloLegenda {
    QString texto;
    QRectF caixa;
    double tamanhoFonte = 0.0;
};

/**
 * Where the sixteen limit labels go over the (already shifted) window of `mapping`: each just
 * above its band line, starting right of the colour boxes. The font is 14 pixels (times
 * `escala`) where there is room; in a small window it shrinks so that no label crosses a band
 * line, touches the next label or runs past the strip onto the model, and below a legible size
 * only every other label is shown.
 */
std::vector<RotuloLegenda> rotulosLegenda(
    const ViewMapping& mapping, const results::ColourMap& map, double escala);

/// The map in a picture of `size`: the results view's first window, shifted for the legend.
QImage renderColourMap(const solver::SolverModel& model, const results::ColourMap& map, QSize size);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderColourMap(
    QPainter& painter, const solver::SolverModel& model, const results::ColourMap& map, QSize size);

} // namespace tarvex::paint
