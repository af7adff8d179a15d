#include "results/mesh_view.h"

#include "common/campos_numericos.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "drawing/des_view.h"
#include "drawing/dlg_escala.h"
#include "evaluation/flux.h"
#include "paint/canvas.h"
#include "paint/paint_colour_map.h"
#include "paint/paint_results.h"
#include "results/colour_map.h"
#include "results/dlg_calculo.h"
#include "results/dlg_esc_cores.h"
#include "results/dlg_fluxo_teclado.h"
#include "results/dlg_num_equipot.h"
#include "results/dlg_valor_ponto.h"
#include "results/mesh_doc.h"
#include "solver/equipotentials.h"
#include "solver/solver_model.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using campos_numericos::texto;
using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;
using tarvex::solver::RunEnd;
using tarvex::solver::SolverModel;


CMeshView::CMeshView(CMeshDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent),
      m_doc(doc),
      m_prompter(prompter),
      m_executor([](QDialog& d) { return d.exec(); }),
      m_janela(tarvex::paint::janelaInicialResultados(doc.model())),
      m_resultText(texto(tarvex::msg::ResultadoNaoCalculado))
{
    criarElastico();
    setMouseTracking(true);
    // The document announces new results (or a reload): a kept map no longer matches them.
    connect(&m_doc, &CMeshDoc::changed, this, &CMeshView::invalidarMapa);
    connect(&m_doc, &CMeshDoc::changed, this, qOverload<>(&QWidget::update));
}

CMeshView::~CMeshView() = default;

int CMeshView::executa(QDialog& dialogo) { return m_executor(dialogo); }

// ---- Display modes -------------------------------------------------------------------------

void CMeshView::setDisplayMode(int modo)
{
    m_modoZoom = false;
    if (modo == m_displayMode)
        return;
    m_displayMode = modo;
    prepararModo();
    update();
}

void CMeshView::prepararModo()
{
    SolverModel& model = m_doc.model();
    if (m_displayMode == ModoEquipotenciais
        && model.calculationKind == tarvex::solver::NotCalculated) {
        const QString pergunta = texto(tarvex::msg::SemResultado) + QLatin1Char('\n')
            + texto(tarvex::msg::RealizaCalculoLinear);
        if (m_prompter.ask(pergunta) == Prompter::YesNo::Yes) {
            estaticoLinear();
            // Only a calculation that produced results is announced as done.
            if (model.calculationKind != tarvex::solver::NotCalculated)
                m_prompter.inform(texto(tarvex::msg::CalculoLinearRealizado));
            else
                m_prompter.warn(texto(tarvex::msg::SemDadosEquipotenciais));
        } else {
            m_prompter.warn(texto(tarvex::msg::SemDadosEquipotenciais));
        }
    } else if (m_displayMode == ModoCorrentesInduzidas
               && model.calculationKind != tarvex::solver::InducedCurrentResult) {
        m_prompter.warn(texto(tarvex::msg::SemDadosCorrentesInduzidas));
        m_displayMode = ModoRegioes;
    }
    tracarSeNecessario();
}

void CMeshView::tracarSeNecessario()
{
    // A run in progress owns the model until it ends; the lines are traced afterwards.
    if (m_executando)
        return;
    SolverModel& model = m_doc.model();
    if (m_displayMode == ModoEquipotenciais && model.calculationKind != tarvex::solver::NotCalculated
        && !model.equipotentialsTraced) {
        tarvex::solver::traceEquipotentials(model, m_equipotentialCount);
        model.equipotentialsTraced = true;
    } else if (m_displayMode == ModoCorrentesInduzidas
               && model.calculationKind == tarvex::solver::InducedCurrentResult
               && !model.inducedLinesTraced) {
        if (tarvex::solver::traceInducedCurrentLines(model, m_equipotentialCount))
            model.inducedLinesTraced = true;
    }
}

void CMeshView::setEquipotentialCount(int count)
{
    m_equipotentialCount = std::clamp(count, tarvex::solver::MinEquipotentialCount,
                                      tarvex::solver::MaxEquipotentialCount);
}

void CMeshView::recalcularLinhas()
{
    SolverModel& model = m_doc.model();
    if (m_displayMode == ModoCorrentesInduzidas) {
        if (const tarvex::Status s =
                tarvex::solver::traceInducedCurrentLines(model, m_equipotentialCount);
            !s)
            m_prompter.warn(texto(s.message));
        else
            model.inducedLinesTraced = true;
    } else {
        tarvex::solver::traceEquipotentials(model, m_equipotentialCount);
        model.equipotentialsTraced = true;
        m_displayMode = ModoEquipotenciais;
    }
    update();
}

void CMeshView::definirNumero()
{
    CDlgNumEquipot dialogo(*this, m_prompter, this);
    if (executa(dialogo) != QDialog::Rejected)
        m_equipotentialCount = dialogo.numero();
}

// ---- Calculations --------------------------------------------------------------------------

void CMeshView::estaticoLinear()
{
    CDlgProCalcLinear dialogo(*this, m_prompter, this);
    executa(dialogo);
}

void CMeshView::estaticoNaoLinear()
{
    if (m_doc.model().hasNonlinearRegion) {
        CDlgProCalculo dialogo(*this, m_prompter, this);
        executa(dialogo);
        return;
    }
    if (m_prompter.ask(texto(tarvex::msg::SemNaoLinearidade)) != Prompter::YesNo::No)
        estaticoLinear();
}

void CMeshView::linearCorInduzidas()
{
    if (!m_doc.model().conductive) {
        m_prompter.warn(texto(tarvex::msg::SemCondutividade));
        return;
    }
    CDlgProCalcLinearCorInd dialogo(*this, m_prompter, this);
    executa(dialogo);
}

void CMeshView::interromperCalculo()
{
    if (m_executando
        && m_prompter.ask(texto(tarvex::msg::InterrompeCalculo)) == Prompter::YesNo::No)
        return;
    m_executando = false;
}

void CMeshView::concluirCalculo(const tarvex::solver::RunResult& resultado)
{
    // Whatever the end, the run may have written the node values.
    invalidarMapa();
    m_elementoFalho.clear();
    switch (resultado.end) {
    case RunEnd::Finished:
        // The run retraced the equipotentials with the count it was given.
        m_displayMode = ModoEquipotenciais;
        m_doc.setModified(true);
        m_doc.updateAllViews();
        break;
    case RunEnd::Failed:
        if (!resultado.status.message.empty())
            m_prompter.warn(texto(resultado.status.message));
        else if (resultado.elementOutsideRegions >= 0)
            // The assembly stops on such an element without a text of its own.
            m_prompter.warn(texto(tarvex::msg::MontagemSemRegiao));
        marcarElementoFalho(resultado.elementOutsideRegions);
        update();
        break;
    case RunEnd::Interrupted:
        break;
    }
}

// ---- Window and painting -------------------------------------------------------------------

void CMeshView::voltarAoInicio()
{
    m_displayMode = ModoRegioes;
    m_modoZoom = false;
    m_janela = tarvex::paint::janelaInicialResultados(m_doc.model());
    invalidarMapa();
    setMouseMode(MouseNenhum);
    update();
}

void CMeshView::setJanela(const Caixa& janela)
{
    m_janela = janela;
    update();
}

void CMeshView::zoomNormal()
{
    m_janela = tarvex::paint::janelaInicialResultados(m_doc.model());
    update();
}

void CMeshView::aplicarEscala(const ValoresEscala& valores)
{
    m_janela = {valores.xMin, valores.yMin, valores.xMax, valores.yMax};
    if (m_doc.model().scaleFactor != valores.fatorEscala) {
        m_doc.model().scaleFactor = valores.fatorEscala;
        m_doc.setModified(true);
        // The field values are per metre: a new scale changes them.
        invalidarMapa();
    }
    update();
}

void CMeshView::ajusteManual()
{
    CDlgEscala dialogo(m_prompter, this);
    dialogo.setValores(
        {m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax, m_doc.model().scaleFactor});
    if (executa(dialogo) == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

void CMeshView::ajustarJanelaPropria()
{
    mapping().ajustarJanela(m_janela.xMin, m_janela.yMin, m_janela.xMax, m_janela.yMax);
    // The colour map leaves a strip on the left for its legend. The shift is derived from the
    // view's own window each time, never stored, so repaints do not shift it further; clicks
    // convert through the same shifted mapping that was painted.
    if (m_displayMode == ModoEscalaCores)
        tarvex::paint::deslocaJanelaLegenda(mapping());
}

void CMeshView::ajustarNaTela()
{
    alvoNaTela();
    ajustarJanelaPropria();
}

Ponto CMeshView::paraMundo(const QPoint& pixel)
{
    ajustarNaTela();
    return mapping().paraMundo(pixel.x(), pixel.y());
}

QPoint CMeshView::paraPixel(const Ponto& p)
{
    ajustarNaTela();
    return mapping().paraPixel(p.x, p.y);
}

QImage CMeshView::imagem()
{
    QImage imagem(size(), QImage::Format_RGB32);
    render(&imagem);
    return imagem;
}

void CMeshView::desenhar(tarvex::paint::Canvas& canvas)
{
    canvas.setLinhasPretasNaImpressao(true);
    ajustarJanelaPropria();
    tracarSeNecessario();
    const SolverModel& model = m_doc.model();
    if (m_displayMode == ModoEscalaCores) {
        // A run in progress owns the node values: the map is computed after it ends.
        if (!m_mapa && !m_executando
            && tarvex::results::checkMapQuantity(model, m_colourMapQuantity))
            m_mapa = std::make_unique<tarvex::results::ColourMap>(
                tarvex::results::computeColourMap(model, m_colourMapQuantity));
        if (m_mapa) {
            desenharMapa(canvas);
        } else {
            // The results the map needs are gone (a reload): show the regions meanwhile.
            tarvex::paint::paintResults(canvas, model, ModoRegioes);
        }
    } else if (!desenharCaminhos(canvas)) {
        tarvex::paint::paintResults(canvas, model, m_displayMode);
    }
    desenharMarcas(canvas);
    desenharMarcasCaminhos(canvas);
}

void CMeshView::desenharMapa(tarvex::paint::Canvas& canvas)
{
    const tarvex::paint::ViewMapping& m = mapping();
    if (m.imprimindo) {
        canvas.limparFundo();
        tarvex::paint::paintColourMap(canvas, m_doc.model(), *m_mapa);
        return;
    }
    // Repaints of an unchanged window (exposures, markers) blit the picture painted last time.
    const double dpr = devicePixelRatioF();
    const std::array<double, 8> chave = {m.xMin(), m.yMin(), m.xMax(), m.yMax(), m.width(),
                                         m.height(), dpr, double(canvas.fundo().rgb())};
    if (m_quadroMapa.isNull() || chave != m_chaveQuadro) {
        QImage quadro(QSize(int(std::lround(m.width() * dpr)), int(std::lround(m.height() * dpr))),
                      QImage::Format_RGB32);
        if (quadro.isNull()) {
            canvas.limparFundo();
            tarvex::paint::paintColourMap(canvas, m_doc.model(), *m_mapa);
            return;
        }
        quadro.setDevicePixelRatio(dpr);
        {
            QPainter painter(&quadro);
            tarvex::paint::Canvas c(painter, m, canvas.fundo());
            c.limparFundo();
            tarvex::paint::paintColourMap(c, m_doc.model(), *m_mapa);
        }
        m_quadroMapa = std::move(quadro);
        m_chaveQuadro = chave;
    }
    canvas.painter().drawImage(QPointF(0, 0), m_quadroMapa);
}

void CMeshView::marcarElementoFalho(std::int64_t posicao)
{
    const SolverModel& model = m_doc.model();
    if (posicao < 0 || static_cast<std::size_t>(posicao) >= model.elements.size())
        return;
    const tarvex::solver::MeshElement& e = model.elements.at(static_cast<std::size_t>(posicao));
    for (const std::int32_t n : {e.t1, e.t2, e.t3}) {
        if (n < 1 || n > model.nodeCount()) {
            m_elementoFalho.clear();
            return;
        }
        const tarvex::solver::MeshNode& no = model.nodes[static_cast<std::size_t>(n)];
        m_elementoFalho.push_back({no.x, no.y});
    }
}

void CMeshView::desenharMarcas(tarvex::paint::Canvas& canvas)
{
    constexpr tarvex::paint::ColorIndex CorMarca = 5;
    constexpr tarvex::paint::ColorIndex CorSecao = 14;
    constexpr tarvex::paint::ColorIndex CorFalha = 4;
    if (m_elementoFalho.size() == 3) {
        const Ponto& a = m_elementoFalho[0];
        const Ponto& b = m_elementoFalho[1];
        const Ponto& c = m_elementoFalho[2];
        canvas.desenhaSegmento(CorFalha, 2, 0, a, b);
        canvas.desenhaSegmento(CorFalha, 2, 0, b, c);
        canvas.desenhaSegmento(CorFalha, 2, 0, c, a);
        canvas.desenhaMarcador(CorFalha, 0, 2,
                               {(a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0});
    }
    if (m_secaoVisivel)
        canvas.desenhaSegmento(CorSecao, 1, 0, m_sectionStart, m_sectionEnd);
    for (const Ponto& p : m_marcas)
        canvas.desenhaPonto(CorMarca, 1, p);
}

// ---- Point values and flux between two points ----------------------------------------------

bool CMeshView::resultadoVisivel() const
{
    switch (m_mouseMode) {
    case 6: case 10: case 11: case 15: case 16: case 21: case 22:
        return true;
    default:
        return false;
    }
}

void CMeshView::setResultText(const QString& texto)
{
    m_resultText = texto;
    emit resultadoAlterado();
}

void CMeshView::setMouseMode(std::int16_t modo)
{
    m_modoZoom = false;
    m_mouseMode = modo;
    m_clickCount = 0;
    m_marcas.clear();
    m_secaoVisivel = false;
    emit resultadoAlterado();
    update();
}

bool CMeshView::exigirResultados(std::string_view semDados)
{
    SolverModel& model = m_doc.model();
    if (model.calculationKind != tarvex::solver::NotCalculated)
        return true;
    const QString pergunta = texto(tarvex::msg::SemResultado) + QLatin1Char('\n')
        + texto(tarvex::msg::RealizaCalculoLinear);
    if (m_prompter.ask(pergunta) == Prompter::YesNo::Yes) {
        estaticoLinear();
        // The calculation dialog may have been closed without a run, or the run failed.
        if (model.calculationKind != tarvex::solver::NotCalculated)
            return true;
    }
    m_prompter.warn(texto(semDados));
    return false;
}

void CMeshView::valorPonto()
{
    if (exigirResultados(tarvex::msg::SemDadosValores))
        setMouseMode(MouseValorPonto);
}

void CMeshView::fluxoMouse()
{
    if (exigirResultados(tarvex::msg::SemDadosCurvas))
        setMouseMode(MouseFluxo2Pontos);
}

void CMeshView::fluxoTeclado()
{
    setMouseMode(MouseFluxoTeclado);
    CDlgFluxoTeclado dialogo(*this, m_prompter, this);
    executa(dialogo);
}

std::optional<double> CMeshView::calcularFluxo(const Ponto& a, const Ponto& b)
{
    m_sectionStart = a;
    m_sectionEnd = b;
    const tarvex::evaluation::FluxResult fluxo =
        tarvex::evaluation::fluxBetweenPoints(m_doc.model(), a.x, a.y, b.x, b.y);
    // A point off the mesh has no potential: a flux of 0 would be a wrong answer, not a result.
    if (!fluxo.found) {
        m_prompter.warn(texto(tarvex::msg::PontoForaDominio));
        return std::nullopt;
    }
    setResultText(QString::fromStdString(tarvex::evaluation::fluxText(fluxo.value)));
    return fluxo.value;
}

void CMeshView::clique(const Ponto& p)
{
    if (cliqueCaminho(p))
        return;
    switch (m_mouseMode) {
    case MouseValorPonto: {
        CDlgValorPontoXY dialogo(m_doc.model(), m_prompter, m_valorPontoPolar, this);
        dialogo.setPonto(p.x, p.y);
        // A point without values has been reported; there is nothing to show.
        if (!dialogo.calcula())
            return;
        executa(dialogo);
        m_valorPontoPolar = dialogo.polar();
        return;
    }
    case MouseFluxo2Pontos:
        if (m_clickCount == 0) {
            m_marcas.assign(1, p);
            m_secaoVisivel = false;
            m_sectionStart = p;
            m_clickCount = 1;
            update();
            return;
        }
        m_marcas.push_back(p);
        m_sectionEnd = p;
        m_clickCount = 0;
        m_secaoVisivel = true;
        update();
        calcularFluxo(m_sectionStart, p);
        return;
    default:
        if (m_clickCount > 1)
            m_clickCount = 0;
        return;
    }
}

// ---- Colour maps ---------------------------------------------------------------------------

void CMeshView::invalidarMapa()
{
    m_mapa.reset();
    m_quadroMapa = QImage();
}

bool CMeshView::mostrarMapa(std::int32_t quantidade)
{
    const tarvex::Status estado = tarvex::results::checkMapQuantity(m_doc.model(), quantidade);
    if (!estado) {
        m_prompter.warn(texto(estado.message));
        return false;
    }
    // Each command computes afresh; repaints in between reuse what it computed.
    invalidarMapa();
    m_colourMapQuantity = quantidade;
    m_modoZoom = false;
    m_displayMode = ModoEscalaCores;
    update();
    return true;
}

void CMeshView::mapaInducao() { mostrarMapa(tarvex::results::MapaInducao); }
void CMeshView::mapaCampoH() { mostrarMapa(tarvex::results::MapaCampoH); }
void CMeshView::mapaInducaoEletrica() { mostrarMapa(tarvex::results::MapaInducaoEletrica); }
void CMeshView::mapaCampoE() { mostrarMapa(tarvex::results::MapaCampoE); }
void CMeshView::mapaDensCorrente() { mostrarMapa(tarvex::results::MapaDensCorrente); }
void CMeshView::mapaPerdas() { mostrarMapa(tarvex::results::MapaDensPerdas); }

void CMeshView::escalaCores()
{
    if (m_doc.model().calculationKind == tarvex::solver::NotCalculated) {
        m_prompter.warn(texto(tarvex::msg::EscalaCoresSemResultado));
        return;
    }
    CDlgEscCores dialogo(*this, this);
    executa(dialogo);
}

// ---- Mouse ---------------------------------------------------------------------------------

void CMeshView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const Ponto p = paraMundo(pos);
    emit posicaoAlterada(CDesView::textoPosicao(p.x, p.y));
    moverElastico(pos);
}

void CMeshView::mousePressEvent(QMouseEvent* event)
{
    if (m_modoZoom && event->button() == Qt::LeftButton) {
        iniciarElastico(event->position().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && m_mouseMode != MouseNenhum) {
        clique(paraMundo(event->position().toPoint()));
        return;
    }
    CBaseView::mousePressEvent(event);
}

void CMeshView::mouseReleaseEvent(QMouseEvent* event)
{
    QPoint origem;
    if (!terminarElastico(event, origem)) {
        CBaseView::mouseReleaseEvent(event);
        return;
    }
    const std::optional<Caixa> arrastada = janelaDoArrasto(origem, event->position().toPoint());
    if (!arrastada)
        return;
    m_janela = *arrastada;
    update();
}
