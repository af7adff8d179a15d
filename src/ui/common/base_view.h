#pragma once

#include "common/status.h"
#include "paint/view_mapping.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <optional>

QT_BEGIN_NAMESPACE
class QMouseEvent;
class QPaintDevice;
class QPrinter;
class QRubberBand;
QT_END_NAMESPACE

namespace tarvex::paint {
class Canvas;
}

/**
 * The common base of every document view: a world window mapped onto the client area with the
 * same scale in x and y, the background, the drawing primitives through a Canvas, and printing.
 *
 * Each paint and each print goes through desenhar(), which subclasses override to fit their
 * window (mapping().ajustarJanela()) and draw. While printing, the mapping's `imprimindo` is set
 * and the page becomes the target area, so the same window is fitted to the page; the screen
 * mapping is put back afterwards. The page is white paper: the background prints white and
 * lines and texts of the palette's white print black.
 *
 * Views that keep a world window of their own (janelaPedida()/definirJanelaPedida()) get the
 * wheel zoom about the cursor and the middle-button pan from here. Click modes announce what the
 * next click does with setDicaModo(); Esc calls sairDoModo().
 */
class CBaseView : public QWidget {
    Q_OBJECT
public:
    explicit CBaseView(QWidget* parent = nullptr);

    tarvex::paint::ViewMapping& mapping() { return m_mapping; }
    const tarvex::paint::ViewMapping& mapping() const { return m_mapping; }

    QColor corFundo() const { return m_corFundo; }
    void setCorFundo(const QColor& cor);

    /// Renders the view onto a page of `pagina` device pixels of `device` (a printer, or an image
    /// in tests), as printing does.
    void imprimirEm(QPaintDevice& device, const QRect& pagina);

    /// "Exportar imagem...": the picture the view shows, at its size, written as PNG, SVG or PDF
    /// by the extension of `path` (vector where the format allows). The file is replaced only
    /// when the whole picture was written.
    tarvex::Status exportarImagem(const QString& path);
    /// What the next click does in the current click mode; empty when no mode is on.
    QString dicaModo() const { return m_dicaModo; }

    /// Zooms the view's window about the world point under `pixel`, which stays under it:
    /// `fator` below 1 zooms in. Nothing happens in a view without a window of its own.
    void zoomNoPixel(const QPoint& pixel, double fator);
    /// Moves the view's window so the picture follows the mouse by `pixels`.
    void deslocarPixels(const QPoint& pixels);

    /// Each notch of the wheel zooms in or out by this factor.
    static constexpr double FatorRoda = 0.8;

    /// "posição : (x,y)" as the position pane of the drawing, problem and results frames shows
    /// it.
    static QString textoPosicao(double x, double y);

signals:
    /// The click mode's hint changed (empty: the mode ended); the frame shows it in its message
    /// pane.
    void dicaModoAlterada(const QString& dica);

public slots:
    /// "&Imprimir...": the print dialog, then the page.
    void imprimir();
    /// "&Visualizar Impressão...": the print preview.
    void visualizarImpressao();

protected:
    /// Shows what the next click does (" Clique sobre uma região ", ...); empty ends the hint.
    /// Every click mode calls it when it starts and at each step that changes what a click does.
    void setDicaModo(const QString& dica);
    /// Esc: leave the current click mode for the view's neutral one (and say so with an empty
    /// hint). The default only ends the hint.
    virtual void sairDoModo();

    /// The world window the view asks for before fitting, for zoom and pan. Views without one
    /// return nothing (the default).
    virtual std::optional<tarvex::geometry::Caixa> janelaPedida() const;
    /// Replaces the view's window and repaints. The default does nothing.
    virtual void definirJanelaPedida(const tarvex::geometry::Caixa& janela);

    bool event(QEvent* event) override;

    /// Draws the view's content. The default clears the background.
    virtual void desenhar(tarvex::paint::Canvas& canvas);

    /// Points the mapping at the client area (not at a printer page).
    void alvoNaTela();
    /// Fits the mapping to the client area, so pixel conversions match what is shown. The default
    /// only points it at the client area; views with their own window fit that too.
    virtual void ajustarNaTela();

    /// Gives the view the rubber band of its drags, hidden until a drag starts.
    void criarElastico();
    /// Shows the rubber band from `origem`; the drag is under way until terminarElastico().
    void iniciarElastico(const QPoint& origem);
    /// Stretches the rubber band to `pos` while a drag is under way.
    void moverElastico(const QPoint& pos);
    /// Ends the drag on a left-button release: hides the band and gives where it started. False,
    /// and nothing changes, when no drag is under way or another button was released.
    bool terminarElastico(const QMouseEvent* event, QPoint& origem);
    /// The ordered world window a zoom drag from `origem` to `fim` asks for. Nothing when the
    /// drag has no area: a click, a drag along one axis, or one too small for the world units.
    std::optional<tarvex::geometry::Caixa> janelaDoArrasto(const QPoint& origem, const QPoint& fim);

    void paintEvent(QPaintEvent* event) override;

private:
    void imprimirNaImpressora(QPrinter* printer);

    tarvex::paint::ViewMapping m_mapping;
    QColor m_corFundo { Qt::black };
    QRubberBand* m_elastico = nullptr;
    QPoint m_origemElastico;
    bool m_arrastando = false;
    QString m_dicaModo;
    bool m_deslocando = false;
    QPoint m_ultimoDeslocamento;
};
