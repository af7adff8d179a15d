#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"
#include "solver/runs.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

QT_BEGIN_NAMESPACE
class QDialog;
QT_END_NAMESPACE

class CMeshDoc;
class Prompter;
struct ValoresEscala;

namespace tarvex::results {
struct ColourMap;
}
namespace tarvex::graphs {
struct GraphData;
}

/**
 * The results view: shows the results document by display mode (mesh, regions, equipotentials,
 * region outlines, colour maps, induced-current lines), holds the run settings and the running
 * flag of the calculations, and opens the calculation and equipotential-count dialogs. Its mouse
 * modes take the clicks of the point-values and flux commands; the values come from the core's
 * evaluations.
 *
 * Questions that a repaint would need (no results yet, induced-current lines without that
 * analysis) are settled when the display mode changes, before anything is painted: a modal
 * dialog must never open from inside a paint event.
 *
 * Dialogs run through a replaceable executor (exec() by default), so tests can fill and close
 * them without a modal loop.
 */
class CMeshView : public CBaseView {
    Q_OBJECT
public:
    /// `displayMode` values this view draws.
    enum Modo : int {
        ModoMalha = 1,
        ModoRegioes = 2,
        ModoEquipotenciais = 3,
        ModoContornos = 5,
        ModoEscalaCores = 17,
        ModoCorrentesInduzidas = 18,
    };
    /// `mouseMode` values of the commands this view takes clicks for.
    enum ModoMouse : std::int16_t {
        MouseNenhum = 0,
        MouseValorPonto = 8,
        MouseFluxo2Pontos = 10,
        MouseFluxoTeclado = 11,
    };
    using ExecutorDialogo = std::function<int(QDialog&)>;

    CMeshView(CMeshDoc& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~CMeshView() override;

    CMeshDoc& documento() { return m_doc; }
    Prompter& prompter() { return m_prompter; }
    void setExecutorDialogos(ExecutorDialogo executor) { m_executor = std::move(executor); }
    /// Runs a dialog of this view through the executor.
    int executa(QDialog& dialogo);

    int displayMode() const { return m_displayMode; }
    /// A display command: sets the mode and repaints only when it changes. Entering the
    /// equipotentials without results asks whether to calculate; entering the induced-current
    /// lines without that analysis says so and falls back to the regions.
    void setDisplayMode(int modo);

    int equipotentialCount() const { return m_equipotentialCount; }
    void setEquipotentialCount(int count);

    tarvex::solver::RunSettings& runSettings() { return m_settings; }
    const tarvex::solver::RunSettings& runSettings() const { return m_settings; }

    /// The running flag: set while a calculation runs, cleared by "Interrompe".
    bool executando() const { return m_executando; }
    void setExecutando(bool executando) { m_executando = executando; }
    /// "Interrompe": while a run goes on, asks first and keeps running on No.
    void interromperCalculo();
    /// What a run left: a finished one shows the equipotentials and marks the document
    /// modified; a failed one shows its message; an interrupted one changes nothing.
    void concluirCalculo(const tarvex::solver::RunResult& resultado);

    /// "Recalcula": traces the lines of the current mode again with the current count (the
    /// induced-current lines in mode 18, else the equipotentials, switching to mode 3).
    void recalcularLinhas();

    /// Back to the first picture of a freshly opened document: the regions in the model's window.
    void voltarAoInicio();

    /// The view's own (requested) window.
    tarvex::geometry::Caixa janela() const { return m_janela; }
    void setJanela(const tarvex::geometry::Caixa& janela);
    void aplicarEscala(const ValoresEscala& valores);

    // ---- Point values, flux between two points -------------------------------------------

    std::int16_t mouseMode() const { return m_mouseMode; }
    std::int16_t clickCount() const { return m_clickCount; }
    tarvex::geometry::Ponto sectionStart() const { return m_sectionStart; }
    tarvex::geometry::Ponto sectionEnd() const { return m_sectionEnd; }
    /// The result pane's text.
    QString resultText() const { return m_resultText; }
    /// The result pane is shown only in the modes that produce a one-line result.
    bool resultadoVisivel() const;

    /// A left click at a model point in the current mouse mode.
    void clique(const tarvex::geometry::Ponto& p);

    /**
     * The flux per metre from `a` to `b`: the points become the section, and the result pane
     * shows the value. Nothing, with a message and no change to the pane, when a point lies
     * outside the mesh.
     */
    std::optional<double> calcularFluxo(const tarvex::geometry::Ponto& a,
                                        const tarvex::geometry::Ponto& b);

    /// The point-values dialog's last choice of components (XY or RT).
    bool valorPontoPolar() const { return m_valorPontoPolar; }

    // ---- Colour maps -------------------------------------------------------------------------

    std::int32_t colourMapQuantity() const { return m_colourMapQuantity; }
    /**
     * A colour-map command: checks that the model has what the quantity needs (warning with the
     * reason otherwise, nothing changed), then shows the map in display mode 17. The map is
     * computed by the first paint after the command and kept for later repaints until the
     * results or the scale change.
     */
    bool mostrarMapa(std::int32_t quantidade);
    /// The map painted now, if one was computed.
    const tarvex::results::ColourMap* mapaAtual() const { return m_mapa.get(); }
    /// Forgets the computed map (the next paint computes it again).
    void invalidarMapa();

    // ---- Critical path and creepage path (mesh_view_paths.cpp) ---------------------------

    static constexpr int ModoCaminhoCritico = 24;
    static constexpr int ModoCaminhoEscoamento = 27;
    static constexpr std::int16_t MouseCaminhoCritico = 23;
    static constexpr std::int16_t MouseDefineEscoamento = 25;
    static constexpr std::int16_t MouseCalculaEscoamento = 26;

    /// How the view hands a graph to the application (a new graph document opens with it).
    void setAbridorGraficos(std::function<void(const tarvex::graphs::GraphData&)> abridor)
    {
        m_abridorGraficos = std::move(abridor);
    }
    /**
     * Computes the critical path between the electrodes nearest to the two points: the old path
     * goes first; on success the document holds the new one and the report is shown; a failure
     * shows its message and leaves no path.
     */
    bool calcularCaminhoCritico(const tarvex::geometry::Ponto& a,
                                const tarvex::geometry::Ponto& b);
    /// The creepage path along the document's indicated points, likewise.
    bool calcularCaminhoEscoamento();
    /// The candidate points shown while a creepage path is defined (empty otherwise).
    const std::vector<tarvex::geometry::Ponto>& candidatosEscoamento() const
    {
        return m_candidatosEscoamento;
    }

    tarvex::geometry::Ponto paraMundo(const QPoint& pixel);
    QPoint paraPixel(const tarvex::geometry::Ponto& p);

    /// The picture of the view as painted now, at its size.
    QImage imagem();

public slots:
    /// "&Malha", "&Regioes", "&Equipotenciais", "Equip. Cor. &Ind".
    void malha() { setDisplayMode(ModoMalha); }
    void regioes() { setDisplayMode(ModoRegioes); }
    void equipotenciais() { setDisplayMode(ModoEquipotenciais); }
    void equipCorrentesInduzidas() { setDisplayMode(ModoCorrentesInduzidas); }
    /// "&Definir Número": the equipotential-count dialog.
    void definirNumero();

    /// "Estático Linear", "Estático Não Linear", "Linear + Cor. Induzidas".
    void estaticoLinear();
    void estaticoNaoLinear();
    void linearCorInduzidas();

    void zoomNormal();
    void iniciarZoom() { m_modoZoom = true; }
    void ajusteManual();
    void redesenhar() { update(); }

    /// "&XY/RT Mouse/Teclado": clicks open the point-values dialog.
    void valorPonto();
    /// "2 Pts. &Mouse": two clicks give the flux between them.
    void fluxoMouse();
    /// "2 Pts. &Teclado": the keyboard flux dialog.
    void fluxoTeclado();

    /// "Módulo |&B|", "Módulo |&H|", "Módulo |&D|", "Módulo |&E|", "Módulo |&J|", "&Perdas".
    void mapaInducao();
    void mapaCampoH();
    void mapaInducaoEletrica();
    void mapaCampoE();
    void mapaDensCorrente();
    void mapaPerdas();
    /// The colour-scale strip.
    void escalaCores();

    /// "Cam. Crítico -> &Mouse", "Cam. Crítico -> &Teclado", "&Desenho Cam. Crítico",
    /// "Ca&mpo Cam. Crítico", "Curva &Fator Segurança" (menu "De&scarga").
    void caminhoCriticoMouse();
    void caminhoCriticoTeclado();
    void desenhoCaminhoCritico();
    void campoCaminhoCritico();
    void fatorSegurancaCritico();
    /// "&Define Caminho", "&Calcula Caminho", "Ca&mpo Escoamento", "Curva &Fator Segurança",
    /// "De&senho Cam. Escoam." (menu "Escoamen&to").
    void defineCaminho();
    void calculaCaminho();
    void campoEscoamento();
    void fatorSegurancaEscoamento();
    void desenhoCaminhoEscoamento();
    /// "Curvas &Admissíveis...": the user's allowable-field curves of both analyses.
    void curvasAdmissiveis();

signals:
    /// The cursor's world position, formatted for the position pane.
    void posicaoAlterada(const QString& texto);
    /// The result pane's text or visibility changed.
    void resultadoAlterado();

protected:
    void desenhar(tarvex::paint::Canvas& canvas) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ajustarNaTela() override;
    void ajustarJanelaPropria();
    /// Settles what the current mode needs before it is painted (see the class comment).
    void prepararModo();
    /// Traces the lines the current mode shows when they are not up to date.
    void tracarSeNecessario();
    /// Enters a mouse mode: no click received yet, the last markers gone.
    void setMouseMode(std::int16_t modo);
    /// Without results, asks whether to calculate; false (after `semDados`) when there are none.
    bool exigirResultados(std::string_view semDados);
    /// The markers and the section of the two-click entry, over the picture.
    void desenharMarcas(tarvex::paint::Canvas& canvas);
    void marcarElementoFalho(std::int64_t posicao);
    /// The kept map, through the picture of it kept for the current window and size.
    void desenharMapa(tarvex::paint::Canvas& canvas);
    void setResultText(const QString& texto);
    /// A click of the path modes (23, 25); false when the mode is another one.
    bool cliqueCaminho(const tarvex::geometry::Ponto& p);
    /// The picture of modes 24 and 27; false in the other modes.
    bool desenharCaminhos(tarvex::paint::Canvas& canvas);
    /// The candidate and indicated points of a creepage definition, over any picture.
    void desenharMarcasCaminhos(tarvex::paint::Canvas& canvas);
    void abrirGrafico(const tarvex::graphs::GraphData& grafico);

    CMeshDoc& m_doc;
    Prompter& m_prompter;
    ExecutorDialogo m_executor;
    tarvex::geometry::Caixa m_janela;
    bool m_modoZoom = false;

    int m_displayMode = ModoRegioes;
    int m_equipotentialCount = 21;
    tarvex::solver::RunSettings m_settings;
    bool m_executando = false;

    std::int16_t m_mouseMode = MouseNenhum;
    std::int16_t m_clickCount = 0;
    tarvex::geometry::Ponto m_sectionStart{};
    tarvex::geometry::Ponto m_sectionEnd{};
    QString m_resultText;
    bool m_valorPontoPolar = false;
    /// Markers of the clicked points and the section between them, shown until the next entry.
    std::vector<tarvex::geometry::Ponto> m_marcas;
    /// The element a failed assembly found outside every region, outlined until the next run.
    std::vector<tarvex::geometry::Ponto> m_elementoFalho;
    bool m_secaoVisivel = false;

    std::int32_t m_colourMapQuantity = 0;
    std::unique_ptr<tarvex::results::ColourMap> m_mapa;
    QImage m_quadroMapa;
    std::array<double, 8> m_chaveQuadro{};

    std::function<void(const tarvex::graphs::GraphData&)> m_abridorGraficos;
    std::vector<tarvex::geometry::Ponto> m_candidatosEscoamento;
};
