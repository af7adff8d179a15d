#pragma once

#include "geometry/records.h"
#include "paint/view_mapping.h"
#include "paint/view_palette.h"
#include "problem/records.h"
#include "problem/region_locator.h"

#include <QBrush>
#include <QColor>

QT_BEGIN_NAMESPACE
class QPainter;
class QPen;
class QString;
QT_END_NAMESPACE

namespace tarvex::paint {

/**
 * The drawing primitives of every view: world coordinates in, pixels out through a ViewMapping,
 * colours by palette index. Each primitive makes its pen from the colour index, the width and
 * the style, and leaves the painter's pen and brush as it found them.
 *
 * Printer path: while the mapping's `imprimindo` is set, every size given in pixels (pen widths,
 * the dot and the marker) is multiplied by the device's resolution over 96 dots per inch, so a
 * printed page shows them at the physical size they have on a 96-dpi screen instead of as specks
 * at printer resolution. Text is sized in points, which the device already scales. Pages are
 * white paper: lines, dots and texts in the palette's white (index 15) print black; fills keep
 * their colours.
 */
class Canvas {
public:
    Canvas(QPainter& painter, const ViewMapping& mapping, QColor fundo = Qt::black);

    QPainter& painter() { return m_painter; }
    const ViewMapping& mapping() const { return m_mapping; }
    QColor fundo() const { return m_fundo; }

    /// While printing, draw every line black (the results view: its white lines would vanish on
    /// paper). Fills keep their colours.
    void setLinhasPretasNaImpressao(bool pretas) { m_linhasPretas = pretas; }

    /// Fills the whole target area with the background colour.
    void limparFundo();

    void desenhaSegmento(ColorIndex cor, int largura, int estilo, const geometry::Ponto& p1,
        const geometry::Ponto& p2);
    /// A filled dot from 2 pixels before to 2 pixels after P in x and y.
    void desenhaPonto(ColorIndex cor, int largura, const geometry::Ponto& p);
    /// A hollow circle from 4 pixels before to 5 pixels after P in x and y.
    void desenhaMarcador(ColorIndex cor, int estilo, int largura, const geometry::Ponto& p);
    /// The arc from P1 counterclockwise to P2 about PC, of radius |PC − P2|. An arc whose ends
    /// lie at the same angle is drawn as the whole circle, as the platform's arc primitive does.
    void desenhaArco(ColorIndex cor, int largura, const geometry::Arco& arco);
    /// A contour element: a segment, or an arc by `ehArco`. An arc whose `sentido` is 0 runs
    /// counterclockwise from its second end point, so its end points are exchanged.
    void desenhaElemento(
        ColorIndex cor, int largura, int estilo, const problem::SegmentoContorno& elemento);
    /// Every element of the region's contour, solid, width 1.
    void desenhaContorno(const problem::Regiao& regiao, ColorIndex cor);
    /// Fills the polygon's rings by the odd-even rule (a ring inside another is a hole), with no
    /// outline.
    void preenchePoligono(ColorIndex cor, const problem::PoligonoRegiao& poligono);
    /// The same fill in an explicit colour (the background, for a region shown without a fill).
    void preenchePoligono(const QColor& cor, const problem::PoligonoRegiao& poligono);
    /// White text in the "Arial" face, its top left corner at P.
    void desenhaTexto(const QString& texto, const geometry::Ponto& p);

    /// Factor applied to pixel sizes: 1 on screen, device dpi / 96 while printing.
    double escalaDispositivo() const;

    /// The colour a line, dot or text of colour `cor` gets on this target (white is black on
    /// paper).
    QColor naImpressao(const QColor& cor) const;
    QColor corDaLinha(ColorIndex cor) const;

private:
    QPen caneta(ColorIndex cor, int largura, int estilo) const;

    QPainter& m_painter;
    const ViewMapping& m_mapping;
    QColor m_fundo;
    /// The fill of desenhaPonto's dot.
    QBrush m_pincel { Qt::white };
    bool m_linhasPretas = false;
};

} // namespace tarvex::paint
