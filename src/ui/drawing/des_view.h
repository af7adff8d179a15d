#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"
#include "paint/paint_drawing.h"
#include "problem/formar_regioes.h"

#include <QPoint>
#include <QString>

class CDesDoc;
class Prompter;
struct ValoresEscala;

/**
 * The drawing view: paints the drawing document's lists and its selection, and carries the zoom
 * commands. It keeps its own world window, from which the fitted window is made before every
 * paint, so resizing the view never loses what was asked for.
 */
class CDesView : public CBaseView {
    Q_OBJECT
public:
    /// The mouse mode of the rubber-band zoom.
    static constexpr int ModoZoom = 14;
    /// The mode a new view starts in.
    static constexpr int ModoInicial = 5;

    CDesView(CDesDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    CDesDoc& documento() { return m_doc; }

    /// The view's own (requested) window.
    tarvex::geometry::Caixa janela() const { return m_janela; }
    void setJanela(const tarvex::geometry::Caixa& janela);

    int modoMouse() const { return m_modoMouse; }
    /// Sets the mouse mode and shows its hint in the status bar.
    void setModoMouse(int modo);
    /// What the next click does in mouse mode `modo` (empty for the neutral mode).
    static QString dicaDoModo(int modo);

    /// The selected entities, drawn in the selection colour over the lists.
    tarvex::paint::DrawingSelection& selecao() { return m_selecao; }

    /// The marks of the last export (removed elements, where a walk stopped, traced contours),
    /// drawn over the drawing until the next export replaces them.
    const std::vector<tarvex::problem::MarcaDesenho>& marcas() const { return m_marcas; }
    void setMarcas(std::vector<tarvex::problem::MarcaDesenho> marcas);

    /// Applies accepted "Escala" values: the window and the document's scale factor; then fits
    /// and repaints.
    void aplicarEscala(const ValoresEscala& valores);

    /// "posição : (x,y)" as the position pane shows it.
    static QString textoPosicao(double x, double y);

public slots:
    /// "&Normal": zoom to the drawing's extents.
    void zoomNormal();
    /// "&Zoom": the next left drag draws the rectangle to zoom into.
    void iniciarZoom();
    /// "&Ajuste Manual": the "Escala" dialog.
    void ajusteManual();
    /// "&Redesenhar": draw the lists again over the current picture, without clearing it.
    void redesenhar();

signals:
    /// The cursor's world position, formatted for the position pane.
    void posicaoAlterada(const QString& texto);

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;

    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    void sairDoModo() override;
    std::optional<tarvex::geometry::Caixa> janelaPedida() const override { return m_janela; }
    void definirJanelaPedida(const tarvex::geometry::Caixa& janela) override;

private:
    /// Zooms to extents once, before the view is first shown or painted.
    void primeiraAtualizacao();
    /// Fits the own window to the client area, so pixel conversions match what is shown.
    void ajustarNaTela() override;
    void ajustarJanelaPropria();

    CDesDoc& m_doc;
    Prompter& m_prompter;
    tarvex::geometry::Caixa m_janela;
    int m_modoMouse = ModoInicial;
    tarvex::paint::DrawingSelection m_selecao;
    std::vector<tarvex::problem::MarcaDesenho> m_marcas;
    bool m_inicializado = false;
    bool m_semLimpar = false;
};
