// The results view's path analyses: the critical discharge path (menu "De&scarga") and the
// creepage path (menu "Escoamen&to"). The computations are the core's; this file takes the
// clicks and dialogs, keeps the results in the document and draws them.

#include "results/mesh_view.h"

#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "paint/canvas.h"
#include "paint/paint_results.h"
#include "results/creepage_path.h"
#include "results/critical_path.h"
#include "results/dlg_caminhos.h"
#include "results/dlg_curva_dens_fluxo.h"
#include "results/mesh_doc.h"

#include <QLineEdit>

using core_texts::texto;
using tarvex::geometry::Ponto;

namespace {

namespace cor {
constexpr tarvex::paint::ColorIndex Caminho = 31;
constexpr tarvex::paint::ColorIndex Escoamento = 14;
constexpr tarvex::paint::ColorIndex Eletrodo = 13;
constexpr tarvex::paint::ColorIndex Minimo = 14;
constexpr tarvex::paint::ColorIndex Circulo = 4;
constexpr tarvex::paint::ColorIndex Candidato = 15;
constexpr tarvex::paint::ColorIndex Indicado = 4;
constexpr tarvex::paint::ColorIndex IndicadoCalculado = 14;
} // namespace cor

void desenharMinimo(tarvex::paint::Canvas& canvas, const Ponto& p)
{
    canvas.desenhaPonto(cor::Minimo, 5, p);
    canvas.desenhaMarcador(cor::Circulo, 0, 1, p);
}

} // namespace

// ---- Critical path -------------------------------------------------------------------------

void CMeshView::caminhoCriticoMouse()
{
    if (exigirResultados(tarvex::msg::SemDadosCurvas))
        setMouseMode(Mouse::CaminhoCritico);
}

void CMeshView::caminhoCriticoTeclado()
{
    if (!exigirResultados(tarvex::msg::SemDadosCurvas))
        return;
    // A field without a number ends the command, once the dialog has closed.
    CDlgCurvaDensFluxo dialogo(
        sectionStart(), sectionEnd(), m_prompter, this, CDlgPontos::Conferencia::PeloComando);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    std::vector<Ponto> pontos;
    if (!dialogo.lerCampos(pontos)) {
        m_prompter.warn(texto(tarvex::msg::ValorInvalido));
        return;
    }
    const Ponto a = pontos[0], b = pontos[1];
    if (a == b) {
        m_prompter.warn(texto(tarvex::msg::CaminhoPontosIguais));
        return;
    }
    setMouseMode(Mouse::CaminhoCritico);
    m_entrada.definir(a, b);
    calcularCaminhoCritico(a, b);
}

bool CMeshView::calcularCaminhoCritico(const Ponto& a, const Ponto& b)
{
    // A new computation discards the old path, whatever becomes of it.
    m_doc.caminhoCritico.reset();
    const tarvex::results::AllowableFieldCurve* curva
        = m_doc.curvaOleo ? &*m_doc.curvaOleo : nullptr;
    tarvex::results::CriticalPathResult r
        = tarvex::results::computeCriticalPath(m_doc.model(), a, b, curva);
    if (!r) {
        update();
        m_prompter.warn(texto(r.status.message));
        return false;
    }
    const QString relatorio = QString::fromStdString(r.report);
    m_doc.caminhoCritico = std::move(r);
    setDisplayMode(Modo::CaminhoCritico);
    update();
    m_prompter.inform(relatorio);
    return true;
}

void CMeshView::desenhoCaminhoCritico()
{
    if (!m_doc.caminhoCritico) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoCritico));
        return;
    }
    setDisplayMode(Modo::CaminhoCritico);
}

void CMeshView::campoCaminhoCritico()
{
    if (!m_doc.caminhoCritico) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoCritico));
        return;
    }
    abrirGrafico(m_doc.caminhoCritico->pathGraph);
}

void CMeshView::fatorSegurancaCritico()
{
    if (!m_doc.caminhoCritico) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoCritico));
        return;
    }
    abrirGrafico(tarvex::results::safetyFactorGraph(m_doc.caminhoCritico->pathGraph));
}

// ---- Creepage path -------------------------------------------------------------------------

void CMeshView::defineCaminho()
{
    if (!exigirResultados(tarvex::msg::SemDadosCurvas))
        return;
    setMouseMode(Mouse::DefineEscoamento);
    m_candidatosEscoamento = tarvex::results::creepageCandidates(m_doc.model());
    update();
}

void CMeshView::calculaCaminho()
{
    if (!exigirResultados(tarvex::msg::SemDadosCurvas))
        return;
    setMouseMode(Mouse::CalculaEscoamento);
    m_candidatosEscoamento.clear();
    calcularCaminhoEscoamento();
}

bool CMeshView::calcularCaminhoEscoamento()
{
    m_doc.caminhoEscoamento.reset();
    const tarvex::results::AllowableFieldCurve* curva
        = m_doc.curvaEscoamento ? &*m_doc.curvaEscoamento : nullptr;
    tarvex::results::CreepagePathResult r
        = tarvex::results::computeCreepagePath(m_doc.model(), m_doc.creepagePoints, curva);
    if (!r) {
        update();
        m_prompter.warn(texto(r.status.message));
        return false;
    }
    const QString relatorio = QString::fromStdString(r.report);
    m_doc.caminhoEscoamento = std::move(r);
    setDisplayMode(Modo::CaminhoEscoamento);
    update();
    m_prompter.inform(relatorio);
    return true;
}

void CMeshView::campoEscoamento()
{
    if (!m_doc.caminhoEscoamento) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoEscoamento));
        return;
    }
    abrirGrafico(m_doc.caminhoEscoamento->graph);
}

void CMeshView::fatorSegurancaEscoamento()
{
    if (!m_doc.caminhoEscoamento) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoEscoamento));
        return;
    }
    abrirGrafico(tarvex::results::safetyFactorGraph(m_doc.caminhoEscoamento->graph));
}

void CMeshView::desenhoCaminhoEscoamento()
{
    if (!m_doc.caminhoEscoamento) {
        m_prompter.warn(texto(tarvex::msg::SemCaminhoEscoamento));
        return;
    }
    setDisplayMode(Modo::CaminhoEscoamento);
}

void CMeshView::curvasAdmissiveis()
{
    CDlgCurvasAdmissiveis dialogo(m_doc.arquivoCurvaOleo, m_doc.arquivoCurvaEscoamento, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    // Both files are read before either is taken: a refused one changes nothing.
    const auto ler = [this](const QString& arquivo,
                         std::optional<tarvex::results::AllowableFieldCurve>& curva) {
        curva.reset();
        if (arquivo.trimmed().isEmpty())
            return true;
        curva.emplace();
        if (const tarvex::Status s
            = tarvex::results::openAllowableCurve(arquivo.trimmed().toStdString(), *curva);
            !s) {
            m_prompter.warn(texto(s.message) + QLatin1Char('\n') + arquivo.trimmed());
            return false;
        }
        return true;
    };
    std::optional<tarvex::results::AllowableFieldCurve> oleo, escoamento;
    if (!ler(dialogo.campoOleo()->text(), oleo)
        || !ler(dialogo.campoEscoamento()->text(), escoamento))
        return;
    m_doc.curvaOleo = std::move(oleo);
    m_doc.curvaEscoamento = std::move(escoamento);
    m_doc.arquivoCurvaOleo = dialogo.campoOleo()->text().trimmed();
    m_doc.arquivoCurvaEscoamento = dialogo.campoEscoamento()->text().trimmed();
}

// ---- Clicks and drawing --------------------------------------------------------------------

bool CMeshView::cliqueCaminho(const Ponto& p)
{
    switch (m_mouseMode) {
    case Mouse::CaminhoCritico: {
        const bool completa = m_entrada.clique(p);
        atualizarDica();
        update();
        if (completa)
            calcularCaminhoCritico(sectionStart(), sectionEnd());
        return true;
    }
    case Mouse::DefineEscoamento:
        // The first click of a definition starts a new list of points.
        if (!m_definindoEscoamento)
            m_doc.creepagePoints.clear();
        m_definindoEscoamento = true;
        m_doc.creepagePoints.push_back(tarvex::results::snapToCandidate(m_candidatosEscoamento, p));
        update();
        return true;
    case Mouse::CalculaEscoamento:
        return true;
    default:
        return false;
    }
}

bool CMeshView::desenharCaminhos(tarvex::paint::Canvas& canvas)
{
    if (m_displayMode != Modo::CaminhoCritico && m_displayMode != Modo::CaminhoEscoamento)
        return false;
    const tarvex::solver::SolverModel& model = m_doc.model();
    canvas.limparFundo();
    tarvex::paint::drawResultRegions(canvas, model, false);
    if (m_displayMode == Modo::CaminhoCritico && m_doc.caminhoCritico) {
        const tarvex::results::CriticalPathResult& r = *m_doc.caminhoCritico;
        for (const std::size_t e : { r.startElectrode, r.endElectrode })
            if (e < model.potentialSegments.size())
                canvas.desenhaElemento(cor::Eletrodo, 3, 0, model.potentialSegments.at(e));
        for (const tarvex::solver::ContourSegment& s : r.path)
            canvas.desenhaSegmento(cor::Caminho, 2, 0, { s.x1, s.y1 }, { s.x2, s.y2 });
        desenharMinimo(canvas, r.minSafetyPoint);
    }
    if (m_displayMode == Modo::CaminhoEscoamento && m_doc.caminhoEscoamento) {
        const tarvex::results::CreepagePathResult& r = *m_doc.caminhoEscoamento;
        for (const tarvex::solver::ContourSegment& s : r.path)
            canvas.desenhaSegmento(cor::Escoamento, 2, 0, { s.x1, s.y1 }, { s.x2, s.y2 });
        desenharMinimo(canvas, r.minSafetyPoint);
    }
    return true;
}

void CMeshView::desenharMarcasCaminhos(tarvex::paint::Canvas& canvas)
{
    if (m_mouseMode == Mouse::DefineEscoamento) {
        for (const Ponto& p : m_candidatosEscoamento)
            canvas.desenhaMarcador(cor::Candidato, 0, 1, p);
        for (const Ponto& p : m_doc.creepagePoints)
            canvas.desenhaPonto(cor::Indicado, 3, p);
    } else if (m_mouseMode == Mouse::CalculaEscoamento
        || m_displayMode == Modo::CaminhoEscoamento) {
        for (const Ponto& p : m_doc.creepagePoints)
            canvas.desenhaPonto(cor::IndicadoCalculado, 3, p);
    }
}
