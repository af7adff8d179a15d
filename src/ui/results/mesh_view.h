#pragma once

#include "common/base_view.h"
#include "geometry/drawing.h"
#include "results/dlg_calculo.h"
#include "results/entrada_dois_cliques.h"
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
class CMeshView : public CBaseView, public CalculationTarget {
    Q_OBJECT
public:
    /// What the view draws (`displayMode`), numbered as the view has always numbered it.
    enum class Modo : int {
        Malha = 1,
        Regioes = 2,
        Equipotenciais = 3,
        Contornos = 5,
        EscalaCores = 17,
        CorrentesInduzidas = 18,
        CaminhoCritico = 24,
        CaminhoEscoamento = 27,
    };
    Q_ENUM(Modo)
    /// What a click does (`mouseMode`): the command that takes it.
    enum class Mouse : std::int16_t {
        Nenhum = 0,
        ApagaLinhas = 5,
        Inducao = 6,
        Campo = 7,
        ValorPonto = 8,
        Pressao = 9,
        Fluxo2Pontos = 10,
        FluxoTeclado = 11,
        InducaoPolar = 12,
        CampoPolar = 13,
        PressaoPolar = 14,
        ForcaXY = 15,
        ForcaRT = 16,
        DensCorrente = 19,
        DensPerdas = 20,
        PerdasRegiao = 21,
        PerdasTotal = 22,
        CaminhoCritico = 23,
        DefineEscoamento = 25,
        CalculaEscoamento = 26,
        /// "&Integrais" → "&Região": a click picks the region (a mode of its own, outside the
        /// numbers of the other commands).
        IntegraisRegiao = 30,
    };
    Q_ENUM(Mouse)
    using ExecutorDialogo = std::function<int(QDialog&)>;
    /// Opens a graph document holding a copy of the graph.
    using AbridorGraficos = std::function<void(const tarvex::graphs::GraphData&)>;

    CMeshView(CMeshDoc& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~CMeshView() override;

    CMeshDoc& documento() override { return m_doc; }
    Prompter& prompter() { return m_prompter; }
    void setExecutorDialogos(ExecutorDialogo executor) { m_executor = std::move(executor); }
    void setAbridorGraficos(AbridorGraficos abridor) { m_abridorGraficos = std::move(abridor); }
    /// Runs a dialog of this view through the executor.
    int executa(QDialog& dialogo);

    Modo displayMode() const { return m_displayMode; }
    /// A display command: sets the mode and repaints only when it changes. Entering the
    /// equipotentials without results asks whether to calculate; entering the induced-current
    /// lines without that analysis says so and falls back to the regions.
    void setDisplayMode(Modo modo);

    int equipotentialCount() const override { return m_equipotentialCount; }
    void setEquipotentialCount(int count);

    tarvex::solver::RunSettings& runSettings() override { return m_settings; }
    const tarvex::solver::RunSettings& runSettings() const { return m_settings; }

    /// The running flag: set while a calculation runs, cleared by "Interrompe".
    bool executando() const override { return m_executando; }
    void setExecutando(bool executando) override { m_executando = executando; }
    /// "Interrompe": while a run goes on, asks first and keeps running on No.
    void interromperCalculo() override;
    /// What a run left: a finished one shows the equipotentials and marks the document
    /// modified; a failed one shows its message; an interrupted one changes nothing.
    void concluirCalculo(const tarvex::solver::RunResult& resultado) override;

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

    Mouse mouseMode() const { return m_mouseMode; }
    std::int16_t clickCount() const { return m_entrada.cliques(); }
    tarvex::geometry::Ponto sectionStart() const { return m_entrada.inicio(); }
    tarvex::geometry::Ponto sectionEnd() const { return m_entrada.fim(); }
    /// The last centre given for a polar section.
    tarvex::geometry::Ponto arcCentre() const { return m_arcCentre; }
    /// The markers of the clicked points shown now.
    const std::vector<tarvex::geometry::Ponto>& marcas() const { return m_entrada.marcas(); }
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
    std::optional<double> calcularFluxo(
        const tarvex::geometry::Ponto& a, const tarvex::geometry::Ponto& b);

    /**
     * Runs the evaluation of a section mode (6, 7, 9, 12 to 16, 19, 20) on the current section
     * (and centre): a graph opens, or the force's text goes to the result pane. False, with the
     * message when there is one, when nothing came of it.
     */
    bool calcularSecao(Mouse modo);

    /// The analysis type of the document (1 magnetic, 0 electric).
    bool analiseMagneticaAtiva() const;

    /// The point-values dialog's last choice of components (XY or RT).
    bool valorPontoPolar() const { return m_valorPontoPolar; }

    // ---- Region integrals ----------------------------------------------------------------

    /// The integrals of the region that contains `p`, in the "Integrais da Região" dialog.
    /// False, with a message, outside every region.
    bool mostrarIntegraisRegiao(const tarvex::geometry::Ponto& p);
    /// The total current of the last region whose integrals were shown (0 before any).
    double ultimaCorrente() const { return m_ultimaCorrente; }

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

    /**
     * Computes the critical path between the electrodes nearest to the two points: the old path
     * goes first; on success the document holds the new one and the report is shown; a failure
     * shows its message and leaves no path.
     */
    bool calcularCaminhoCritico(const tarvex::geometry::Ponto& a, const tarvex::geometry::Ponto& b);
    /// The creepage path along the document's indicated points, likewise.
    bool calcularCaminhoEscoamento();
    /// The candidate points shown while a creepage path is defined (empty otherwise).
    const std::vector<tarvex::geometry::Ponto>& candidatosEscoamento() const
    {
        return m_candidatosEscoamento;
    }

    tarvex::geometry::Ponto paraMundo(const QPoint& pixel);
    QPoint paraPixel(const tarvex::geometry::Ponto& p);

    /// The results picture of the current display mode and visible window as an enhanced
    /// metafile (the core's results export); the failure's message when it cannot be written.
    tarvex::Status exportarEmf(const QString& path);

    /// The picture of the view as painted now, at its size.
    QImage imagem();

public slots:
    /// "&Malha", "&Regioes", "&Equipotenciais", "Equip. Cor. &Ind".
    void malha() { setDisplayMode(Modo::Malha); }
    void regioes() { setDisplayMode(Modo::Regioes); }
    void equipotenciais() { setDisplayMode(Modo::Equipotenciais); }
    void equipCorrentesInduzidas() { setDisplayMode(Modo::CorrentesInduzidas); }
    /// "&Definir Número": the equipotential-count dialog.
    void definirNumero();

    /// "Estático Linear", "Estático Não Linear", "Linear + Cor. Induzidas".
    void estaticoLinear();
    void estaticoNaoLinear();
    void linearCorInduzidas();

    void zoomNormal();
    void iniciarZoom()
    {
        m_modoZoom = true;
        atualizarDica();
    }
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

    /// "C&urvas": flux density, field and pressure along a straight section, by mouse or keyboard.
    void inducaoMouse() { secaoMouse(Mouse::Inducao); }
    void inducaoTeclado() { secaoTeclado(Mouse::Inducao); }
    void campoMouse() { secaoMouse(Mouse::Campo); }
    void campoTeclado() { secaoTeclado(Mouse::Campo); }
    void pressaoMouse() { secaoMouse(Mouse::Pressao); }
    void pressaoTeclado() { secaoTeclado(Mouse::Pressao); }
    /// The same along a polar section (two clicks and the centre, or dialog 173).
    void inducaoPolarMouse() { secaoMouse(Mouse::InducaoPolar); }
    void inducaoPolarTeclado() { secaoPolarTeclado(Mouse::InducaoPolar); }
    void campoPolarMouse() { secaoMouse(Mouse::CampoPolar); }
    void campoPolarTeclado() { secaoPolarTeclado(Mouse::CampoPolar); }
    void pressaoPolarMouse() { secaoMouse(Mouse::PressaoPolar); }
    void pressaoPolarTeclado() { secaoPolarTeclado(Mouse::PressaoPolar); }
    /// "Fo&rças": "Força XY" and "Força RT".
    void forcaXYMouse() { secaoMouse(Mouse::ForcaXY); }
    void forcaXYTeclado() { secaoTeclado(Mouse::ForcaXY); }
    void forcaRTMouse() { secaoMouse(Mouse::ForcaRT); }
    void forcaRTTeclado() { secaoPolarTeclado(Mouse::ForcaRT); }
    /// "Perda Cor. &Ind.": current and loss density along a section, losses of a region, total.
    void densCorrenteMouse() { secaoMouse(Mouse::DensCorrente); }
    void densCorrenteTeclado() { secaoTeclado(Mouse::DensCorrente); }
    void densPerdasMouse() { secaoMouse(Mouse::DensPerdas); }
    void densPerdasTeclado() { secaoTeclado(Mouse::DensPerdas); }
    void perdasRegiao();
    void perdasTotal();
    /// "&Magnético" / "&Elétrico": the document's analysis type.
    void analiseMagnetica() { definirAnalise(true); }
    void analiseEletrica() { definirAnalise(false); }
    /// "Apaga Lin Aux. &Man.", "Apaga Lin Aux. &Autom.", "&Recoloca Lin. Aux. Auto ".
    void apagaLinhasManual();
    void apagaLinhasAutomatico();
    void recolocaLinhas();
    /// "&Integrais": "&Região" (clicks pick regions), "&Total", "Indutância / Capacitância...".
    void integraisRegiao();
    void integraisTotal();
    void indutanciaCapacitancia();
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

    void sairDoModo() override;
    std::optional<tarvex::geometry::Caixa> janelaPedida() const override { return m_janela; }
    void definirJanelaPedida(const tarvex::geometry::Caixa& janela) override { setJanela(janela); }

private:
    /// Shows what the next click does in the current mouse mode and step; new modes add their
    /// texts there.
    void atualizarDica();
    void ajustarNaTela() override;
    void ajustarJanelaPropria();
    /// Settles what the current mode needs before it is painted (see the class comment).
    void prepararModo();
    /// Traces the lines the current mode shows when they are not up to date.
    void tracarSeNecessario();
    /// Enters a mouse mode: no click received yet, the last markers gone.
    void setMouseMode(Mouse modo);
    /// Without results, asks whether to calculate; false (after `semDados`) when there are none.
    bool exigirResultados(std::string_view semDados);
    /// The induced-current commands: a magnetic analysis, and results (an induced-current run is
    /// offered when there are none).
    bool exigirResultadosInduzidos();
    /// What a section mode needs before it runs.
    bool exigirParaSecao(Mouse modo);
    void secaoMouse(Mouse modo);
    void secaoTeclado(Mouse modo);
    void secaoPolarTeclado(Mouse modo);
    void definirAnalise(bool magnetica);
    void abrirGrafico(const tarvex::graphs::GraphData& grafico);
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

    CMeshDoc& m_doc;
    Prompter& m_prompter;
    ExecutorDialogo m_executor;
    tarvex::geometry::Caixa m_janela;
    bool m_modoZoom = false;

    Modo m_displayMode = Modo::Regioes;
    int m_equipotentialCount = 21;
    tarvex::solver::RunSettings m_settings;
    bool m_executando = false;

    Mouse m_mouseMode = Mouse::Nenhum;
    /// The clicked points with their markers, and the section they make.
    EntradaDoisCliques m_entrada;
    tarvex::geometry::Ponto m_arcCentre {};
    AbridorGraficos m_abridorGraficos;
    QString m_resultText;
    bool m_valorPontoPolar = false;
    /// How the current section is drawn, until the next entry.
    struct DesenhoSecao {
        enum class Tipo { Nenhum, Reta, Polar };
        Tipo tipo = Tipo::Nenhum;
        int cor = 14;
        int largura = 1;
        int estilo = 0;
        std::vector<tarvex::geometry::Ponto> cordas; ///< polar: the chords sampled
        std::vector<tarvex::geometry::Ponto> achados; ///< polar: the points found on triangles
    };
    DesenhoSecao m_desenhoSecao;
    /// The conducting regions filled by "&Total" (1-based), until the mode changes.
    std::vector<int> m_regioesPerdas;
    /// The element a failed assembly found outside every region, outlined until the next run.
    std::vector<tarvex::geometry::Ponto> m_elementoFalho;

    double m_ultimaCorrente = 0.0;

    std::int32_t m_colourMapQuantity = 0;
    std::unique_ptr<tarvex::results::ColourMap> m_mapa;
    QImage m_quadroMapa;
    std::array<double, 8> m_chaveQuadro {};

    std::vector<tarvex::geometry::Ponto> m_candidatosEscoamento;
    /// A click of "&Define Caminho" after the first adds to the list instead of starting anew.
    bool m_definindoEscoamento = false;
};
