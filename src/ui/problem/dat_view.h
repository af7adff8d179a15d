#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"

#include <QPoint>
#include <QString>

#include <array>

QT_BEGIN_NAMESPACE
class QRubberBand;
QT_END_NAMESPACE

class CDatDoc;
class Prompter;
struct ValoresEscala;

/**
 * The problem-data view: shows the problem's structure (each region filled by its kind, every
 * contour in white) and carries the zoom commands. Like the drawing view it keeps its own
 * requested window, fitted to the client area before every paint; it starts at the window stored
 * in the problem.
 */
class CDatView : public CBaseView {
    Q_OBJECT
public:
    CDatView(CDatDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    CDatDoc& documento() { return m_doc; }

    /// The view's own (requested) window.
    tarvex::geometry::Caixa janela() const { return m_janela; }
    void setJanela(const tarvex::geometry::Caixa& janela);

    /// The window as it is shown (fitted to the client area), as x-min, x-max, y-min, y-max: what
    /// a save stores. Before the view has a size, the requested window.
    std::array<double, 4> janelaMostrada();

    bool modoZoom() const { return m_modoZoom; }

    /// Applies accepted "Escala" values: the window and the problem's scale factor (marking the
    /// document modified when the factor changes); then fits and repaints.
    void aplicarEscala(const ValoresEscala& valores);

public slots:
    /// "&Normal": the extent of the regions with a 3 % margin.
    void zoomNormal();
    /// "&Zoom": the next left drag draws the rectangle to zoom into.
    void iniciarZoom();
    /// "&Ajuste Manual": the "Escala" dialog.
    void ajusteManual();
    /// "&Redesenhar": draw the structure again over the current picture, without clearing it.
    void redesenhar();
    /// Goes back to the window stored in the problem (after the document was read again).
    void voltarAJanelaDoProblema();

signals:
    /// The cursor's world position, formatted for the position pane.
    void posicaoAlterada(const QString& texto);

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ajustarNaTela();
    void ajustarJanelaPropria();

    CDatDoc& m_doc;
    Prompter& m_prompter;
    tarvex::geometry::Caixa m_janela;
    QRubberBand* m_elastico = nullptr;
    QPoint m_origemElastico;
    bool m_modoZoom = false;
    bool m_arrastando = false;
    bool m_semLimpar = false;
};
