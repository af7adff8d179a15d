#pragma once

#include "common/status.h"
#include "paint/view_mapping.h"

#include <QColor>
#include <QPoint>
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
 * mapping is put back afterwards.
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

public slots:
    /// "&Imprimir...": the print dialog, then the page.
    void imprimir();
    /// "&Visualizar Impressão...": the print preview.
    void visualizarImpressao();

protected:
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
    std::optional<tarvex::geometry::Caixa> janelaDoArrasto(const QPoint& origem,
                                                            const QPoint& fim);

    void paintEvent(QPaintEvent* event) override;

private:
    void imprimirNaImpressora(QPrinter* printer);

    tarvex::paint::ViewMapping m_mapping;
    QColor m_corFundo{Qt::black};
    QRubberBand* m_elastico = nullptr;
    QPoint m_origemElastico;
    bool m_arrastando = false;
};
