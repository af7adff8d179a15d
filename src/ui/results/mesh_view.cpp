#include "results/mesh_view.h"

#include "common/campos_numericos.h"
#include "common/core_texts.h"
#include "common/dlg_escala.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "evaluation/flux.h"
#include "evaluation/sections.h"
#include "geometry/helpers.h"
#include "graphs/graph_data.h"
#include "paint/canvas.h"
#include "paint/paint_colour_map.h"
#include "paint/paint_results.h"
#include "results/auxiliary_lines.h"
#include "results/colour_map.h"
#include "results/dlg_calculo.h"
#include "results/dlg_curva_dens_fluxo.h"
#include "results/dlg_esc_cores.h"
#include "results/dlg_fluxo_teclado.h"
#include "results/dlg_integrais.h"
#include "results/dlg_num_equipot.h"
#include "results/dlg_pontos_centro.h"
#include "results/dlg_valor_ponto.h"
#include "results/forces.h"
#include "results/integrals.h"
#include "results/losses.h"
#include "results/mesh_doc.h"
#include "results/results_emf.h"
#include "solver/equipotentials.h"
#include "solver/solver_model.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using core_texts::texto;
using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;
using Modo = CMeshView::Modo;
using Mouse = CMeshView::Mouse;
using tarvex::solver::RunEnd;
using tarvex::solver::SolverModel;

CMeshView::CMeshView(CMeshDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent)
    , m_doc(doc)
    , m_prompter(prompter)
    , m_executor([](QDialog& d) { return d.exec(); })
    , m_janela(tarvex::paint::janelaInicialResultados(doc.model()))
    , m_resultText(texto(tarvex::msg::ResultadoNaoCalculado))
{
    criarElastico();
    setMouseTracking(true);
    // The document announces new results (or a reload): a kept map no longer matches them.
    connect(&m_doc, &CMeshDoc::changed, this, &CMeshView::invalidarMapa);
    connect(&m_doc, &CMeshDoc::changed, this, qOverload<>(&QWidget::update));
}

CMeshView::~CMeshView() = default;

int CMeshView::executa(QDialog& dialogo)
{
    return m_executor(dialogo);
}

// ---- Display modes -------------------------------------------------------------------------

void CMeshView::setDisplayMode(Modo modo)
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
    if (m_displayMode == Modo::Equipotenciais
        && model.calculationKind == tarvex::solver::CalculationKind::NotCalculated) {
        const QString pergunta = texto(tarvex::msg::SemResultado) + QLatin1Char('\n')
            + texto(tarvex::msg::RealizaCalculoLinear);
        if (m_prompter.ask(pergunta) == Prompter::YesNo::Yes) {
            estaticoLinear();
            // Only a calculation that produced results is announced as done.
            if (model.calculationKind != tarvex::solver::CalculationKind::NotCalculated)
                m_prompter.inform(texto(tarvex::msg::CalculoLinearRealizado));
            else
                m_prompter.warn(texto(tarvex::msg::SemDadosEquipotenciais));
        } else {
            m_prompter.warn(texto(tarvex::msg::SemDadosEquipotenciais));
        }
    } else if (m_displayMode == Modo::CorrentesInduzidas
        && model.calculationKind != tarvex::solver::CalculationKind::InducedCurrents) {
        m_prompter.warn(texto(tarvex::msg::SemDadosCorrentesInduzidas));
        m_displayMode = Modo::Regioes;
    }
    tracarSeNecessario();
}

void CMeshView::tracarSeNecessario()
{
    // A run in progress owns the model until it ends; the lines are traced afterwards.
    if (m_executando)
        return;
    SolverModel& model = m_doc.model();
    if (m_displayMode == Modo::Equipotenciais
        && model.calculationKind != tarvex::solver::CalculationKind::NotCalculated
        && !model.equipotentialsTraced) {
        tarvex::solver::traceEquipotentials(model, m_equipotentialCount);
        model.equipotentialsTraced = true;
    } else if (m_displayMode == Modo::CorrentesInduzidas
        && model.calculationKind == tarvex::solver::CalculationKind::InducedCurrents
        && !model.inducedLinesTraced) {
        if (tarvex::solver::traceInducedCurrentLines(model, m_equipotentialCount))
            model.inducedLinesTraced = true;
    }
}

void CMeshView::setEquipotentialCount(int count)
{
    m_equipotentialCount = std::clamp(
        count, tarvex::solver::MinEquipotentialCount, tarvex::solver::MaxEquipotentialCount);
}

void CMeshView::recalcularLinhas()
{
    SolverModel& model = m_doc.model();
    if (m_displayMode == Modo::CorrentesInduzidas) {
        if (const tarvex::Status s
            = tarvex::solver::traceInducedCurrentLines(model, m_equipotentialCount);
            !s)
            m_prompter.warn(texto(s.message));
        else
            model.inducedLinesTraced = true;
    } else {
        tarvex::solver::traceEquipotentials(model, m_equipotentialCount);
        model.equipotentialsTraced = true;
        m_displayMode = Modo::Equipotenciais;
    }
    update();
}

void CMeshView::definirNumero()
{
    CDlgNumEquipot dialogo(m_equipotentialCount, m_prompter, this);
    connect(&dialogo, &CDlgNumEquipot::recalculoPedido, this, [this](int numero) {
        setEquipotentialCount(numero);
        recalcularLinhas();
    });
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
        m_displayMode = Modo::Equipotenciais;
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
    m_displayMode = Modo::Regioes;
    m_modoZoom = false;
    m_janela = tarvex::paint::janelaInicialResultados(m_doc.model());
    invalidarMapa();
    setMouseMode(Mouse::Nenhum);
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
    m_janela = { valores.xMin, valores.yMin, valores.xMax, valores.yMax };
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
        { m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax, m_doc.model().scaleFactor });
    if (executa(dialogo) == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

void CMeshView::ajustarJanelaPropria()
{
    mapping().ajustarJanela(m_janela.xMin, m_janela.yMin, m_janela.xMax, m_janela.yMax);
    // The colour map leaves a strip on the left for its legend. The shift is derived from the
    // view's own window each time, never stored, so repaints do not shift it further; clicks
    // convert through the same shifted mapping that was painted.
    if (m_displayMode == Modo::EscalaCores)
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

tarvex::Status CMeshView::exportarEmf(const QString& path)
{
    ajustarNaTela();
    tarvex::results::EmfExport opcoes;
    opcoes.hidden = &m_doc.linhasOcultas();
    opcoes.window = { mapping().xMin(), mapping().yMin(), mapping().xMax(), mapping().yMax() };
    opcoes.displayMode = static_cast<int>(m_displayMode);
    opcoes.equipotentialCount = m_equipotentialCount;
    return tarvex::results::writeResultsEmf(path.toStdString(), m_doc.model(), opcoes);
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
    if (m_displayMode == Modo::EscalaCores) {
        // A run in progress owns the node values: the map is computed after it ends.
        if (!m_mapa && !m_executando
            && tarvex::results::checkMapQuantity(model, m_colourMapQuantity))
            m_mapa = std::make_unique<tarvex::results::ColourMap>(
                tarvex::results::computeColourMap(model, m_colourMapQuantity));
        if (m_mapa) {
            desenharMapa(canvas);
        } else {
            // The results the map needs are gone (a reload): show the regions meanwhile.
            tarvex::paint::paintResults(
                canvas, model, static_cast<int>(Modo::Regioes), &m_doc.linhasOcultas());
        }
    } else if (!desenharCaminhos(canvas)) {
        tarvex::paint::paintResults(
            canvas, model, static_cast<int>(m_displayMode), &m_doc.linhasOcultas());
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
    const std::array<double, 8> chave = { m.xMin(), m.yMin(), m.xMax(), m.yMax(), m.width(),
        m.height(), dpr, double(canvas.fundo().rgb()) };
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
    for (const std::int32_t n : { e.t1, e.t2, e.t3 }) {
        if (n < 1 || n > model.nodeCount()) {
            m_elementoFalho.clear();
            return;
        }
        const tarvex::solver::MeshNode& no = model.nodes[static_cast<std::size_t>(n)];
        m_elementoFalho.push_back({ no.x, no.y });
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
        canvas.desenhaMarcador(
            CorFalha, 0, 2, { (a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0 });
    }
    constexpr tarvex::paint::ColorIndex CorPerdas = 19;
    constexpr tarvex::paint::ColorIndex CorCordas = 11;
    const SolverModel& model = m_doc.model();
    for (int n : m_regioesPerdas)
        if (n >= 1 && static_cast<std::size_t>(n) <= model.regionPolygons.size())
            canvas.preenchePoligono(
                CorPerdas, model.regionPolygons[static_cast<std::size_t>(n) - 1]);
    const DesenhoSecao& d = m_desenhoSecao;
    if (d.tipo == DesenhoSecao::Tipo::Reta) {
        canvas.desenhaSegmento(d.cor, d.largura, d.estilo, sectionStart(), sectionEnd());
    } else if (d.tipo == DesenhoSecao::Tipo::Polar) {
        canvas.desenhaArco(CorSecao, 1, { sectionStart(), sectionEnd(), m_arcCentre });
        for (std::size_t k = 1; k < d.cordas.size(); ++k)
            canvas.desenhaSegmento(CorCordas, 2, 0, d.cordas[k - 1], d.cordas[k]);
        for (const Ponto& p : d.achados)
            canvas.desenhaMarcador(CorCordas, 0, 1, p);
    }
    for (const Ponto& p : m_entrada.marcas())
        canvas.desenhaPonto(CorMarca, 1, p);
}

// ---- Point values and flux between two points ----------------------------------------------

bool CMeshView::resultadoVisivel() const
{
    switch (m_mouseMode) {
    case Mouse::Inducao:
    case Mouse::Fluxo2Pontos:
    case Mouse::FluxoTeclado:
    case Mouse::ForcaXY:
    case Mouse::ForcaRT:
    case Mouse::PerdasRegiao:
    case Mouse::PerdasTotal:
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

void CMeshView::setMouseMode(Mouse modo)
{
    m_modoZoom = false;
    m_mouseMode = modo;
    m_entrada.reiniciar();
    m_definindoEscoamento = false;
    m_desenhoSecao = {};
    m_regioesPerdas.clear();
    atualizarDica();
    emit resultadoAlterado();
    update();
}

namespace {
bool modoDoisCliques(Mouse modo);
}

void CMeshView::atualizarDica()
{
    if (m_modoZoom) {
        setDicaModo(QStringLiteral("Arraste um retângulo para ampliar (Esc cancela)"));
        return;
    }
    switch (m_mouseMode) {
    case Mouse::ValorPonto:
        setDicaModo(QStringLiteral("Clique num ponto para ver seus valores (Esc sai)"));
        break;
    case Mouse::Fluxo2Pontos:
        setDicaModo(m_entrada.cliques() == 0
                ? QStringLiteral("Clique no primeiro ponto do fluxo (Esc sai)")
                : QStringLiteral("Clique no segundo ponto do fluxo"));
        break;
    case Mouse::ApagaLinhas:
        setDicaModo(QStringLiteral("Clique sobre a linha auxiliar a apagar (Esc sai)"));
        break;
    case Mouse::CaminhoCritico:
        setDicaModo(m_entrada.cliques() == 0
                ? QStringLiteral("Clique perto do primeiro eletrodo (Esc sai)")
                : QStringLiteral("Clique perto do segundo eletrodo"));
        break;
    case Mouse::DefineEscoamento:
        setDicaModo(QStringLiteral("Clique nos pontos do caminho sobre o contorno (Esc sai)"));
        break;
    case Mouse::PerdasRegiao:
    case Mouse::IntegraisRegiao:
        setDicaModo(QStringLiteral("Clique sobre uma região (Esc sai)"));
        break;
    default:
        if (modoDoisCliques(m_mouseMode))
            setDicaModo(m_entrada.cliques() == 0
                    ? QStringLiteral("Clique no primeiro ponto da seção (Esc sai)")
                    : QStringLiteral("Clique no segundo ponto da seção"));
        else
            setDicaModo(QString());
        break;
    }
}

void CMeshView::sairDoModo()
{
    if (m_modoZoom) {
        m_modoZoom = false;
        atualizarDica();
        return;
    }
    setMouseMode(Mouse::Nenhum);
}

bool CMeshView::exigirResultados(std::string_view semDados)
{
    SolverModel& model = m_doc.model();
    if (model.calculationKind != tarvex::solver::CalculationKind::NotCalculated)
        return true;
    const QString pergunta = texto(tarvex::msg::SemResultado) + QLatin1Char('\n')
        + texto(tarvex::msg::RealizaCalculoLinear);
    if (m_prompter.ask(pergunta) == Prompter::YesNo::Yes) {
        estaticoLinear();
        // The calculation dialog may have been closed without a run, or the run failed.
        if (model.calculationKind != tarvex::solver::CalculationKind::NotCalculated)
            return true;
    }
    m_prompter.warn(texto(semDados));
    return false;
}

void CMeshView::valorPonto()
{
    if (exigirResultados(tarvex::msg::SemDadosValores))
        setMouseMode(Mouse::ValorPonto);
}

void CMeshView::fluxoMouse()
{
    if (exigirResultados(tarvex::msg::SemDadosCurvas))
        setMouseMode(Mouse::Fluxo2Pontos);
}

void CMeshView::fluxoTeclado()
{
    setMouseMode(Mouse::FluxoTeclado);
    CDlgFluxoTeclado dialogo(
        sectionStart(), sectionEnd(),
        [this](const Ponto& a, const Ponto& b) { return calcularFluxo(a, b); }, m_prompter, this);
    executa(dialogo);
}

std::optional<double> CMeshView::calcularFluxo(const Ponto& a, const Ponto& b)
{
    m_entrada.setInicio(a);
    m_entrada.setFim(b);
    const tarvex::evaluation::FluxResult fluxo
        = tarvex::evaluation::fluxBetweenPoints(m_doc.model(), a.x, a.y, b.x, b.y);
    // A point off the mesh has no potential: a flux of 0 would be a wrong answer, not a result.
    if (!fluxo.found) {
        m_prompter.warn(texto(tarvex::msg::PontoForaDominio));
        return std::nullopt;
    }
    setResultText(QString::fromStdString(tarvex::evaluation::fluxText(fluxo.value)));
    return fluxo.value;
}

namespace {

bool modoPolar(Mouse modo)
{
    return modo == Mouse::InducaoPolar || modo == Mouse::CampoPolar || modo == Mouse::PressaoPolar
        || modo == Mouse::ForcaRT;
}

bool modoDoisCliques(Mouse modo)
{
    switch (modo) {
    case Mouse::Inducao:
    case Mouse::Campo:
    case Mouse::Pressao:
    case Mouse::Fluxo2Pontos:
    case Mouse::InducaoPolar:
    case Mouse::CampoPolar:
    case Mouse::PressaoPolar:
    case Mouse::ForcaXY:
    case Mouse::ForcaRT:
    case Mouse::DensCorrente:
    case Mouse::DensPerdas:
        return true;
    default:
        return false;
    }
}

bool modoInduzido(Mouse modo)
{
    return modo == Mouse::DensCorrente || modo == Mouse::DensPerdas || modo == Mouse::PerdasRegiao
        || modo == Mouse::PerdasTotal;
}

} // namespace

void CMeshView::clique(const Ponto& p)
{
    if (cliqueCaminho(p))
        return;
    // The creepage path's points are any number of clicks, not a two-click entry.
    if (m_mouseMode != Mouse::DefineEscoamento)
        m_entrada.normalizar();
    switch (m_mouseMode) {
    case Mouse::ValorPonto: {
        CDlgValorPontoXY dialogo(m_doc.model(), m_prompter, m_valorPontoPolar, this);
        dialogo.setPonto(p.x, p.y);
        // A point without values has been reported; there is nothing to show.
        if (!dialogo.calcula())
            return;
        executa(dialogo);
        m_valorPontoPolar = dialogo.polar();
        return;
    }
    case Mouse::ApagaLinhas:
        if (const auto linha
            = tarvex::results::linhaMaisProxima(m_doc.model(), p, m_doc.linhasOcultas())) {
            m_doc.linhasOcultas().push_back(*linha);
            m_doc.updateAllViews();
        }
        return;
    case Mouse::IntegraisRegiao:
        mostrarIntegraisRegiao(p);
        return;
    case Mouse::PerdasRegiao: {
        const tarvex::results::Losses perdas
            = tarvex::results::regionLosses(m_doc.model(), p.x, p.y);
        if (!perdas.status) {
            m_prompter.warn(texto(perdas.status.message));
            return;
        }
        setResultText(QString::fromStdString(tarvex::results::regionLossesText(perdas.watts)));
        return;
    }
    default:
        break;
    }
    if (!modoDoisCliques(m_mouseMode))
        return;
    const bool completa = m_entrada.clique(p);
    atualizarDica();
    if (!completa) {
        m_desenhoSecao = {};
        update();
        return;
    }
    if (m_mouseMode == Mouse::Fluxo2Pontos) {
        m_desenhoSecao = {};
        m_desenhoSecao.tipo = DesenhoSecao::Tipo::Reta;
        update();
        calcularFluxo(sectionStart(), sectionEnd());
        return;
    }
    m_desenhoSecao = {};
    if (modoPolar(m_mouseMode)) {
        // Cancel keeps the two points and the mode; the next two clicks start again.
        CDlgPontoCentro dialogo(m_arcCentre, m_prompter, this);
        if (executa(dialogo) != QDialog::Accepted) {
            update();
            return;
        }
        m_arcCentre = dialogo.centro();
        m_desenhoSecao.tipo = DesenhoSecao::Tipo::Polar;
    } else {
        m_desenhoSecao.tipo = DesenhoSecao::Tipo::Reta;
        if (m_mouseMode == Mouse::ForcaXY) {
            m_desenhoSecao.cor = 15;
            m_desenhoSecao.largura = 2;
            m_desenhoSecao.estilo = 2;
        }
    }
    update();
    calcularSecao(m_mouseMode);
}

bool CMeshView::exigirResultadosInduzidos()
{
    SolverModel& model = m_doc.model();
    if (model.magnetic == 0) {
        m_prompter.warn(texto(tarvex::msg::SoAnaliseMagnetica));
        return false;
    }
    if (model.calculationKind != tarvex::solver::CalculationKind::NotCalculated)
        return true;
    const QString pergunta = texto(tarvex::msg::SemResultado) + QLatin1Char('\n')
        + texto(tarvex::msg::RealizaCalculoLinear);
    if (m_prompter.ask(pergunta) == Prompter::YesNo::Yes) {
        linearCorInduzidas();
        if (model.calculationKind != tarvex::solver::CalculationKind::NotCalculated)
            return true;
    }
    m_prompter.warn(texto(tarvex::msg::SemDadosCurvas));
    return false;
}

bool CMeshView::exigirParaSecao(Mouse modo)
{
    return modoInduzido(modo) ? exigirResultadosInduzidos()
                              : exigirResultados(tarvex::msg::SemDadosCurvas);
}

void CMeshView::secaoMouse(Mouse modo)
{
    if (exigirParaSecao(modo))
        setMouseMode(modo);
}

void CMeshView::secaoTeclado(Mouse modo)
{
    CDlgCurvaDensFluxo dialogo(sectionStart(), sectionEnd(), m_prompter, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    if (tarvex::geometry::coincide(dialogo.inicio(), dialogo.fim())) {
        m_prompter.warn(texto(tarvex::msg::CurvaPontosIguais));
        return;
    }
    // The node values of a model never calculated are numbering data: no curve of them.
    if (!exigirParaSecao(modo))
        return;
    if (modo == Mouse::ForcaXY)
        setMouseMode(Mouse::ForcaXY);
    m_entrada.definir(dialogo.inicio(), dialogo.fim());
    m_desenhoSecao = {};
    m_desenhoSecao.tipo = DesenhoSecao::Tipo::Reta;
    m_desenhoSecao.cor = 15;
    m_desenhoSecao.largura = 2;
    m_desenhoSecao.estilo = 2;
    update();
    calcularSecao(modo);
}

void CMeshView::secaoPolarTeclado(Mouse modo)
{
    CDlgPontosCentro dialogo(sectionStart(), sectionEnd(), m_arcCentre, m_prompter, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    if (!exigirParaSecao(modo))
        return;
    if (modo == Mouse::ForcaRT)
        setMouseMode(Mouse::ForcaRT);
    m_entrada.definir(dialogo.inicio(), dialogo.fim());
    m_arcCentre = dialogo.centro();
    m_desenhoSecao = {};
    m_desenhoSecao.tipo = DesenhoSecao::Tipo::Polar;
    update();
    calcularSecao(modo);
}

void CMeshView::abrirGrafico(const tarvex::graphs::GraphData& grafico)
{
    if (m_abridorGraficos)
        m_abridorGraficos(grafico);
}

bool CMeshView::calcularSecao(Mouse modo)
{
    namespace ev = tarvex::evaluation;
    const SolverModel& model = m_doc.model();
    const Ponto a = sectionStart();
    const Ponto b = sectionEnd();
    if (modo == Mouse::ForcaXY || modo == Mouse::ForcaRT) {
        const tarvex::results::SectionForce forca = modo == Mouse::ForcaXY
            ? tarvex::results::forceOnSection(model, a, b)
            : tarvex::results::forceOnPolarSection(model, a, b, m_arcCentre);
        if (!forca.status) {
            // A polar section that yields no curve has nothing to say: nothing opens.
            if (forca.status.message != tarvex::msg::SecaoPolarSemCurva)
                m_prompter.warn(texto(forca.status.message));
            return false;
        }
        setResultText(QString::fromStdString(tarvex::results::forceText(forca)));
        return true;
    }
    ev::SectionCurves curvas;
    ev::SectionGraph tipo = ev::SectionGraph::FluxDensity;
    switch (modo) {
    case Mouse::Inducao:
    case Mouse::Campo:
    case Mouse::Pressao: {
        const int q = modo == Mouse::Inducao ? ev::SectionFluxDensity
            : modo == Mouse::Campo           ? ev::SectionField
                                             : ev::SectionPressure;
        curvas = ev::sampleSection(model, a, b, q);
        tipo = modo == Mouse::Inducao ? ev::SectionGraph::FluxDensity
            : modo == Mouse::Campo    ? ev::SectionGraph::Field
                                      : ev::SectionGraph::Pressure;
        break;
    }
    case Mouse::DensCorrente:
    case Mouse::DensPerdas:
        curvas = ev::sampleSectionInduced(model, a, b,
            modo == Mouse::DensCorrente ? ev::SectionCurrentDensity : ev::SectionLossDensity);
        tipo = modo == Mouse::DensCorrente ? ev::SectionGraph::CurrentDensity
                                           : ev::SectionGraph::LossDensity;
        break;
    case Mouse::InducaoPolar:
    case Mouse::CampoPolar:
    case Mouse::PressaoPolar: {
        const int q = modo == Mouse::InducaoPolar ? ev::SectionFluxDensity
            : modo == Mouse::CampoPolar           ? ev::SectionField
                                                  : ev::SectionPressure;
        tipo = modo == Mouse::InducaoPolar ? ev::SectionGraph::FluxDensity
            : modo == Mouse::CampoPolar    ? ev::SectionGraph::FieldPolar
                                           : ev::SectionGraph::Pressure;
        const bool ok = ev::samplePolarSectionRetrying(model, a, b, m_arcCentre, q, curvas);
        m_desenhoSecao.cordas = curvas.chords;
        m_desenhoSecao.achados = curvas.marks;
        update();
        for (std::string_view aviso : curvas.warnings)
            m_prompter.warn(texto(aviso));
        if (!ok) {
            if (!curvas.ok())
                m_prompter.warn(texto(curvas.status.message));
            return false;
        }
        break;
    }
    default:
        return false;
    }
    if (!curvas.ok()) {
        m_prompter.warn(texto(curvas.status.message));
        return false;
    }
    abrirGrafico(ev::sectionGraph(curvas, tipo, model.magnetic != 0));
    return true;
}

void CMeshView::perdasRegiao()
{
    if (exigirResultadosInduzidos())
        setMouseMode(Mouse::PerdasRegiao);
}

void CMeshView::perdasTotal()
{
    if (!exigirResultadosInduzidos())
        return;
    const SolverModel& model = m_doc.model();
    const tarvex::results::Losses perdas = tarvex::results::totalLosses(model);
    setMouseMode(Mouse::PerdasTotal);
    int numero = 0;
    for (const tarvex::problem::Regiao& r : model.regions.inListOrder()) {
        ++numero;
        if (numero > 1 && r.condutividade > 1e-30)
            m_regioesPerdas.push_back(numero);
    }
    setResultText(QString::fromStdString(tarvex::results::totalLossesText(perdas.watts)));
    update();
}

bool CMeshView::analiseMagneticaAtiva() const
{
    return m_doc.model().magnetic != 0;
}

void CMeshView::definirAnalise(bool magnetica)
{
    SolverModel& model = m_doc.model();
    const std::uint8_t valor = magnetica ? 1 : 0;
    if (model.magnetic == valor)
        return;
    model.magnetic = valor;
    m_doc.setModified(true);
    invalidarMapa();
    m_doc.updateAllViews();
}

void CMeshView::apagaLinhasManual()
{
    setDisplayMode(Modo::Contornos);
    setMouseMode(Mouse::ApagaLinhas);
}

void CMeshView::apagaLinhasAutomatico()
{
    tarvex::results::LinhasAuxiliares& ocultas = m_doc.linhasOcultas();
    for (const tarvex::problem::SegmentoContorno& linha :
        tarvex::results::linhasAuxiliaresAutomaticas(m_doc.model()))
        if (!tarvex::results::contemLinha(ocultas, linha))
            ocultas.push_back(linha);
    m_doc.updateAllViews();
}

void CMeshView::recolocaLinhas()
{
    m_doc.linhasOcultas().clear();
    m_doc.updateAllViews();
}

// ---- Region integrals ----------------------------------------------------------------------

void CMeshView::integraisRegiao()
{
    if (exigirResultados(tarvex::msg::SemDadosCurvas))
        setMouseMode(Mouse::IntegraisRegiao);
}

bool CMeshView::mostrarIntegraisRegiao(const Ponto& p)
{
    tarvex::results::Integrals valores;
    if (const tarvex::Status s = tarvex::results::integrateRegion(m_doc.model(), p.x, p.y, valores);
        !s) {
        m_prompter.warn(texto(s.message));
        return false;
    }
    m_ultimaCorrente = valores.currentModulus();
    CDlgIntegrais dialogo(
        QStringLiteral("Integrais da Região"), tarvex::results::integralFields(valores), this);
    executa(dialogo);
    return true;
}

void CMeshView::integraisTotal()
{
    if (!exigirResultados(tarvex::msg::SemDadosCurvas))
        return;
    tarvex::results::Integrals valores;
    if (const tarvex::Status s = tarvex::results::integrateTotal(m_doc.model(), valores); !s) {
        m_prompter.warn(texto(s.message));
        return;
    }
    CDlgIntegrais dialogo(
        QStringLiteral("Integrais do Modelo"), tarvex::results::integralFields(valores), this);
    executa(dialogo);
}

void CMeshView::indutanciaCapacitancia()
{
    if (!exigirResultados(tarvex::msg::SemDadosCurvas))
        return;
    CDlgIndutancia dialogo(m_doc.model(), m_ultimaCorrente, m_prompter, this);
    executa(dialogo);
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
    m_displayMode = Modo::EscalaCores;
    update();
    return true;
}

void CMeshView::mapaInducao()
{
    mostrarMapa(tarvex::results::MapaInducao);
}
void CMeshView::mapaCampoH()
{
    mostrarMapa(tarvex::results::MapaCampoH);
}
void CMeshView::mapaInducaoEletrica()
{
    mostrarMapa(tarvex::results::MapaInducaoEletrica);
}
void CMeshView::mapaCampoE()
{
    mostrarMapa(tarvex::results::MapaCampoE);
}
void CMeshView::mapaDensCorrente()
{
    mostrarMapa(tarvex::results::MapaDensCorrente);
}
void CMeshView::mapaPerdas()
{
    mostrarMapa(tarvex::results::MapaDensPerdas);
}

void CMeshView::escalaCores()
{
    if (m_doc.model().calculationKind == tarvex::solver::CalculationKind::NotCalculated) {
        m_prompter.warn(texto(tarvex::msg::EscalaCoresSemResultado));
        return;
    }
    CDlgEscCores dialogo(this);
    connect(&dialogo, &CDlgEscCores::mapaPedido, this, &CMeshView::mostrarMapa);
    executa(dialogo);
}

// ---- Mouse ---------------------------------------------------------------------------------

void CMeshView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const Ponto p = paraMundo(pos);
    emit posicaoAlterada(textoPosicao(p.x, p.y));
    moverElastico(pos);
}

void CMeshView::mousePressEvent(QMouseEvent* event)
{
    if (m_modoZoom && event->button() == Qt::LeftButton) {
        iniciarElastico(event->position().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && m_mouseMode != Mouse::Nenhum) {
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
