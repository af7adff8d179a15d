#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"
#include "geometry/drawing_edit.h"
#include "geometry/drawing_index.h"
#include "paint/paint_drawing.h"
#include "problem/formar_regioes.h"

#include <QPoint>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>

QT_BEGIN_NAMESPACE
class QDialog;
QT_END_NAMESPACE

class CDesDoc;
class CDlgValoresDesenho;
class Prompter;
struct ValoresEscala;

/**
 * The drawing view: paints the drawing document's lists and its selection, carries the zoom
 * commands, and turns the mouse and the keyboard dialogs into the drawing commands of the core
 * (insertion, selection, deletion, reproduction, displacement). It keeps its own world window,
 * from which the fitted window is made before every paint, so resizing the view never loses what
 * was asked for.
 *
 * Every command that changes the drawing becomes one undo step of the document; a selection
 * change does not. The selection holds copies, so after an undo or redo it lets go of every copy
 * whose entity is gone.
 */
class CDesView : public CBaseView {
    Q_OBJECT
public:
    /// What a click does (`modoMouse`), numbered as the drawing commands of the core number it.
    enum class ModoMouse : int {
        SelecionaPonto = tarvex::geometry::modo::SelecionaPonto,
        InvertePonto = tarvex::geometry::modo::InvertePonto,
        SelecionaRegiao = tarvex::geometry::modo::SelecionaRegiao,
        InverteRegiao = tarvex::geometry::modo::InverteRegiao,
        InserePonto = tarvex::geometry::modo::InserePonto,
        RetaCartesiana = tarvex::geometry::modo::RetaCartesiana,
        Retangulo = tarvex::geometry::modo::Retangulo,
        Circunferencia = tarvex::geometry::modo::Circunferencia,
        Circunferencia3Pontos = tarvex::geometry::modo::Circunferencia3Pontos,
        Arco = tarvex::geometry::modo::Arco,
        ExcluiPontos = tarvex::geometry::modo::ExcluiPontos,
        SelecionaSegmento = tarvex::geometry::modo::SelecionaSegmento,
        /// The rubber-band zoom.
        Zoom = tarvex::geometry::modo::Zoom,
        SelecionaRegiaoPolar = tarvex::geometry::modo::SelecionaRegiaoPolar,
    };
    Q_ENUM(ModoMouse)
    /// The rubber-band zoom's mode.
    static constexpr ModoMouse ModoZoom = ModoMouse::Zoom;
    /// The mode a new view starts in.
    static constexpr ModoMouse ModoInicial = ModoMouse::InserePonto;

    using ExecutorDialogo = std::function<int(QDialog&)>;

    CDesView(CDesDoc& doc, Prompter& prompter, QWidget* parent = nullptr);

    /// How the keyboard dialogs are run (exec() unless a test scripts them).
    void setExecutorDialogos(ExecutorDialogo executor) { m_executor = std::move(executor); }

    CDesDoc& documento() { return m_doc; }

    /// The view's own (requested) window.
    tarvex::geometry::Caixa janela() const { return m_janela; }
    void setJanela(const tarvex::geometry::Caixa& janela);

    ModoMouse modoMouse() const { return m_modoMouse; }
    /// Sets the mouse mode and shows its hint in the status bar.
    void setModoMouse(ModoMouse modo);
    /// What the next click does in mouse mode `modo` (empty for the neutral mode).
    static QString dicaDoModo(ModoMouse modo);

    /// The selected entities, drawn in the selection colour over the lists.
    tarvex::geometry::SelecaoDesenho& selecao() { return m_selecao; }

    /// The point a click would snap to while a mouse command waits for a pick, highlighted under
    /// the cursor; empty in the other modes.
    std::optional<tarvex::geometry::Ponto> destaque() const { return m_destaque; }
    /// The colour index of that highlight.
    static constexpr int CorDestaque = 14;

    /// The marks of the last export (removed elements, where a walk stopped, traced contours),
    /// drawn over the drawing until the next export replaces them.
    const std::vector<tarvex::problem::MarcaDesenho>& marcas() const { return m_marcas; }
    void setMarcas(std::vector<tarvex::problem::MarcaDesenho> marcas);

    /// Applies accepted "Escala" values: the window and the document's scale factor; then fits
    /// and repaints.
    void aplicarEscala(const ValoresEscala& valores);

public slots:
    /// "&Normal": zoom to the drawing's extents.
    void zoomNormal();
    /// "&Zoom": the next left drag draws the rectangle to zoom into.
    void iniciarZoom();
    /// "&Ajuste Manual": the "Escala" dialog.
    void ajusteManual();
    /// "&Redesenhar": draw the lists again over the current picture, without clearing it.
    void redesenhar();

    /// A command that sets a mouse mode (1 to 15, except 5 and 14 which need no check): refused
    /// with its message when there is nothing to act on (the mode then stays); the building modes
    /// first offer to use the points already selected; mode 11 first deletes the selected points.
    void comandoModo(ModoMouse modo);

    // The keyboard commands of "&Inserir".
    void pontoTeclado();
    void retaTeclado();
    void retaPolarTeclado();
    void retanguloTeclado();
    void circunferenciaTeclado();
    void arcoAngulo();
    void arco2Pontos();
    /// "&Segmentos" of "E&xcluir".
    void excluiSegmentos();
    void reproducaoLinear();
    void reproducaoPolar();
    void deslocaLinear();
    void deslocaPolar();

signals:
    /// The cursor's world position, formatted for the position pane.
    void posicaoAlterada(const QString& texto);
    /// A selection text for the first pane of the status bar.
    void mensagem(const QString& texto);
    /// The mouse mode changed (the frame moves its check marks).
    void modoAlterado(CDesView::ModoMouse modo);

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;

    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

    void sairDoModo() override;
    std::optional<tarvex::geometry::Caixa> janelaPedida() const override { return m_janela; }
    void definirJanelaPedida(const tarvex::geometry::Caixa& janela) override;

private:
    /// A left click of the current mode at world point `p` (not the drag modes).
    void clique(const tarvex::geometry::Ponto& p);
    /// The end of a drag of modes 3, 4 and 15 between two world points.
    void arrastoSelecao(const tarvex::geometry::Ponto& a, const tarvex::geometry::Ponto& b);
    /// The index of the drawing as it is now (rebuilt after every change).
    const tarvex::geometry::IndiceDesenho& indice();
    std::optional<tarvex::geometry::Ponto> pontoMaisPerto(const tarvex::geometry::Ponto& p);
    /// Shows a refusal; false when `status` is one.
    bool aceito(const tarvex::Status& status);
    /// Shows a command's outcome: its refusal, or its status-bar text.
    void mostrar(const tarvex::geometry::ResultadoEdicao& resultado);
    /// Makes what the core recorded one undo step named `nome`.
    void registrar(tarvex::geometry::Alteracoes& alteracoes, const QString& nome);
    /// Runs a keyboard dialog: for insertion dialogs `acao` applies one entry.
    int executa(QDialog& dialogo);
    /// "Deseja editar último ponto selecionado ?" (or `pergunta`): with Yes, the first two fields
    /// of `dialogo` take the last selected point.
    void ofereceUltimoPonto(CDlgValoresDesenho& dialogo, std::string_view pergunta);
    bool modoDeEscolha() const;
    void atualizarDestaque(const QPoint& pos);
    /// Zooms to extents once, before the view is first shown or painted.
    void primeiraAtualizacao();
    /// Fits the own window to the client area, so pixel conversions match what is shown.
    void ajustarNaTela() override;
    void ajustarJanelaPropria();

    CDesDoc& m_doc;
    Prompter& m_prompter;
    tarvex::geometry::Caixa m_janela;
    ModoMouse m_modoMouse = ModoInicial;
    tarvex::geometry::SelecaoDesenho m_selecao;
    std::optional<tarvex::geometry::IndiceDesenho> m_indice;
    std::optional<tarvex::geometry::Ponto> m_destaque;
    ExecutorDialogo m_executor;
    std::vector<tarvex::problem::MarcaDesenho> m_marcas;
    bool m_inicializado = false;
    bool m_semLimpar = false;
};
