#pragma once

#include "geometry/drawing.h"
#include "geometry/records.h"

#include <QPoint>

namespace tarvex::paint {

/**
 * Maps a window of world coordinates (drawing units, y up) onto a target area of W × H pixels
 * (y down, row 0 at the top) with the same scale in x and y. Pure arithmetic: the views, the
 * printer path and the batch renderer share it.
 *
 * The fitted window is the one actually shown; it is made from a requested window by
 * ajustarJanela(), which widens the request along one axis to the target's aspect ratio.
 */
class ViewMapping {
public:
    /// Size of the target area in pixels (the client area, or the printed page).
    void setTargetSize(double width, double height);
    double width() const { return m_w; }
    double height() const { return m_h; }

    /// Fits the requested window to the target's aspect ratio, keeping the request's centre, and
    /// stores the result as the fitted window. A target or a request with no extent is stored as
    /// requested, since there is no ratio to fit to.
    void ajustarJanela(double xMin, double yMin, double xMax, double yMax);

    double xMin() const { return m_xMin; }
    double xMax() const { return m_xMax; }
    double yMin() const { return m_yMin; }
    double yMax() const { return m_yMax; }
    /// The x and y maxima of the last request given to ajustarJanela().
    double xMaxPedido() const { return m_xMaxPedido; }
    double yMaxPedido() const { return m_yMaxPedido; }

    /// Pixel to world; pixel (0, 0) is (xMin, yMax).
    geometry::Ponto paraMundo(double px, double py) const;
    /// World to pixel, rounded to the nearest pixel. Far-away points are clamped to a range the
    /// painter handles, so extreme zooms cannot overflow an int.
    QPoint paraPixel(double x, double y) const;
    QPoint paraPixel(const geometry::Ponto& p) const { return paraPixel(p.x, p.y); }
    /// Pixels per drawing unit along x (the same along y after a fit); 0 for an empty window.
    double pixelsPorUnidade() const;

    /// True while the view renders to a printer: the page is then the target area and the
    /// drawing primitives take their printer path.
    bool imprimindo = false;

private:
    double m_xMin = 0.0;
    double m_xMax = 1.0;
    double m_yMin = 0.0;
    double m_yMax = 1.0;
    double m_w = 1.0;
    double m_h = 1.0;
    double m_xMaxPedido = 1.0;
    double m_yMaxPedido = 1.0;
};

/// The window a new drawing view starts from, before its first zoom to extents.
inline constexpr geometry::Caixa JanelaInicial { 0.0, 0.0, 100.0, 100.0 };

/**
 * The window of "&Normal" (zoom to extents): the drawing's bounding box widened by 3 % of its
 * width on the left and on the right and by 3 % of its height at the top and at the bottom. An
 * empty drawing keeps `anterior`. A drawing that is a single spot (a box with neither width nor
 * height) is centred in a window the size of `anterior`, since a window with no extent cannot be
 * shown.
 */
geometry::Caixa janelaNormal(const geometry::DrawingData& drawing, const geometry::Caixa& anterior);

} // namespace tarvex::paint
