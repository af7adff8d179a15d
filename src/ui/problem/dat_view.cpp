#include "problem/dat_view.h"

#include "common/dlg_escala.h"
#include "common/prompter.h"
#include "paint/canvas.h"
#include "paint/paint_mesh.h"
#include "paint/paint_problem.h"
#include "problem/dat_campos.h"
#include "problem/dat_doc.h"
#include "problem/dat_paint.h"
#include "problem/dlg_ajustes_tolerancias.h"
#include "problem/dlg_edit_reg.h"
#include "problem/dlg_geracao_malha.h"
#include "problem/dlg_info_malha.h"
#include "problem/dlg_potencial.h"
#include "problem/dlg_troca_simetria.h"
#include "problem/editing.h"
#include "problem/mesh_observer_view.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/mesher/mesh_operations.h"
#include "problem/problem_data.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;
using tarvex::problem::ProblemData;
using tarvex::problem::SegmentoContorno;
namespace ed = tarvex::problem;

CDatView::CDatView(CDatDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent)
    , m_doc(doc)
    , m_prompter(prompter)
    , m_executor([](QDialog& d) { return d.exec(); })
    , m_janela(tarvex::paint::janelaInicialProblema(doc.data()))
{
    criarElastico();
    setMouseTracking(true);
    connect(&m_doc, &CDatDoc::changed, this, qOverload<>(&QWidget::update));
    // A highlighted triangle belongs to the mesh it was found in.
    connect(&m_doc, &CDatDoc::changed, this, [this] {
        m_menorTriangulo.reset();
        m_marcaExportacao.reset();
    });
    iniciaControleMalha();
}

CDatView::~CDatView() = default;

int CDatView::executa(QDialog& dialogo)
{
    return m_executor(dialogo);
}

void CDatView::avisa(std::string_view texto)
{
    m_prompter.warn(dat_campos::texto(texto));
}

void CDatView::alterado()
{
    m_doc.setModified(true);
    m_doc.updateAllViews();
}

void CDatView::setModo(Modo modo)
{
    m_modo = modo;
    m_modoZoom = false;
    m_selecaoIniciada = false;
    m_cliquePendente = 0;
    // A selection belongs to the command that made it: left over, the next left click in mode 1
    // would silently edit regions picked for something else.
    m_selecaoRegioes.clear();
    m_selecaoSegmentos.clear();
    m_menorTriangulo.reset();
    m_marcaExportacao.reset();
    atualizarDica();
    update();
}

void CDatView::atualizarDica()
{
    if (m_modoZoom) {
        setDicaModo(QStringLiteral("Arraste um retângulo para ampliar (Esc cancela)"));
        return;
    }
    switch (m_modo) {
    case Modo::Editar:
        setDicaModo(QStringLiteral("Clique sobre uma região (direito: seleciona várias)"));
        break;
    case Modo::PotencialPonto:
        setDicaModo(QStringLiteral("Clique no ponto do contorno que recebe o potencial"));
        break;
    case Modo::PotencialSegmento:
        setDicaModo(QStringLiteral("Clique sobre o segmento do potencial (direito: seleciona "
                                   "vários)"));
        break;
    case Modo::SegContornoExt:
        setDicaModo(m_cliquePendente == 0
                ? QStringLiteral("Clique no primeiro segmento do trecho do contorno "
                                 "externo")
                : QStringLiteral("Clique no último segmento do trecho do contorno "
                                 "externo"));
        break;
    case Modo::Simetria:
        setDicaModo(QStringLiteral("Clique sobre um segmento de simetria do contorno"));
        break;
    case Modo::AntiSimetria:
        setDicaModo(QStringLiteral("Clique sobre um segmento de anti-simetria do contorno"));
        break;
    case Modo::DefineEspecial:
        setDicaModo(QStringLiteral("Clique sobre a região que passa a ser especial"));
        break;
    case Modo::RemoveEspecial:
        setDicaModo(QStringLiteral("Clique sobre a região especial a remover"));
        break;
    case Modo::DefineArea:
        setDicaModo(QStringLiteral("Arraste um retângulo para definir a área especial"));
        break;
    default:
        setDicaModo(QString());
        break;
    }
}

void CDatView::sairDoModo()
{
    if (m_modoZoom) {
        m_modoZoom = false;
        atualizarDica();
        return;
    }
    switch (m_modo) {
    case Modo::Editar:
    case Modo::PotencialPonto:
    case Modo::PotencialSegmento:
    case Modo::SegContornoExt:
    case Modo::Simetria:
    case Modo::AntiSimetria:
    case Modo::DefineEspecial:
    case Modo::RemoveEspecial:
    case Modo::DefineArea:
        setModo(Modo::Estrutura);
        break;
    default:
        CBaseView::sairDoModo();
        break;
    }
}

void CDatView::setMarcaExportacao(std::optional<Ponto> marca)
{
    m_marcaExportacao = marca;
    update();
}

void CDatView::setJanela(const Caixa& janela)
{
    m_janela = janela;
    update();
}

void CDatView::voltarAJanelaDoProblema()
{
    setJanela(tarvex::paint::janelaInicialProblema(m_doc.data()));
}

void CDatView::ajustarJanelaPropria()
{
    mapping().ajustarJanela(m_janela.xMin, m_janela.yMin, m_janela.xMax, m_janela.yMax);
}

void CDatView::ajustarNaTela()
{
    alvoNaTela();
    ajustarJanelaPropria();
}

std::array<double, 4> CDatView::janelaMostrada()
{
    if (width() <= 0 || height() <= 0)
        return { m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax };
    ajustarNaTela();
    const tarvex::paint::ViewMapping& m = mapping();
    return { m.xMin(), m.xMax(), m.yMin(), m.yMax() };
}

Ponto CDatView::paraMundo(const QPoint& pixel)
{
    ajustarNaTela();
    return mapping().paraMundo(pixel.x(), pixel.y());
}

QPoint CDatView::paraPixel(const Ponto& p)
{
    ajustarNaTela();
    return mapping().paraPixel(p.x, p.y);
}

// ---- Painting ------------------------------------------------------------------------------

void CDatView::desenhar(tarvex::paint::Canvas& canvas)
{
    ajustarJanelaPropria();
    const ProblemData& data = m_doc.data();
    if (m_desenhoGeracao && !mapping().imprimindo) {
        // A run is going: the document has no mesh yet, the layer holds the growing one.
        tarvex::paint::paintProblem(canvas, data);
        desenhaEspeciais(canvas, data);
        canvas.painter().drawImage(0, 0, m_desenhoGeracao->camada());
        return;
    }
    if (m_semLimpar && !mapping().imprimindo) {
        m_semLimpar = false;
        tarvex::paint::drawProblemStructure(canvas, data);
        return;
    }
    tarvex::paint::paintProblem(canvas, data);
    desenhaEspeciais(canvas, data);

    switch (m_modo) {
    case Modo::Malha:
    case Modo::MalhaGerada:
        if (!desenhaMalha(canvas, data)) {
            canvas.desenhaTexto(
                dat_campos::texto(tarvex::msg::NaoHaMalha), mapping().paraMundo(10, 10));
            break;
        }
        if (m_modo == Modo::MalhaGerada)
            tarvex::paint::paintMeshBoundary(canvas, data);
        if (m_menorTriangulo)
            tarvex::paint::paintTriangle(
                canvas, *m_menorTriangulo, tarvex::paint::corMalha::MenorTriangulo, 3);
        break;
    case Modo::PotencialPonto:
    case Modo::PotencialSegmento:
    case Modo::SegContornoExt:
    case Modo::CondContorno:
    case Modo::Simetria:
    case Modo::AntiSimetria:
    case Modo::ContornoExterno:
    case Modo::Nenhuma:
        desenhaCondicoesContorno(canvas, data);
        break;
    default:
        break;
    }

    if (m_regiaoDestacada > 0)
        if (const auto* r = data.regiaoNaPosicao(m_regiaoDestacada))
            destacaRegiao(canvas, *r);
    for (const int posicao : m_selecaoRegioes)
        if (const auto* r = data.regiaoNaPosicao(posicao))
            destacaRegiao(canvas, *r);
    for (const SegmentoContorno& s : m_selecaoSegmentos)
        destacaSegmento(canvas, s);
    if (m_modo == Modo::SegContornoExt && m_cliquePendente == 1
        && m_primeiroExterno < data.contornoExterno.size())
        destacaSegmento(canvas, data.contornoExterno[m_primeiroExterno]);
    if (m_marcaExportacao)
        canvas.desenhaMarcador(4, 0, 2, *m_marcaExportacao);
}

// ---- Zoom and window -----------------------------------------------------------------------

void CDatView::zoomNormal()
{
    m_janela = tarvex::paint::janelaNormalProblema(m_doc.data(), m_janela);
    update();
}

void CDatView::iniciarZoom()
{
    m_modoZoom = true;
    atualizarDica();
}

void CDatView::redesenhar()
{
    m_semLimpar = true;
    update();
}

void CDatView::aplicarEscala(const ValoresEscala& valores)
{
    m_janela = { valores.xMin, valores.yMin, valores.xMax, valores.yMax };
    if (m_doc.data().fatorEscala != valores.fatorEscala) {
        m_doc.data().fatorEscala = valores.fatorEscala;
        m_doc.setModified(true);
    }
    update();
}

void CDatView::ajusteManual()
{
    CDlgEscala dialogo(m_prompter, this);
    dialogo.setValores(
        { m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax, m_doc.data().fatorEscala });
    if (executa(dialogo) == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

// ---- Commands ------------------------------------------------------------------------------

void CDatView::editar()
{
    setModo(Modo::Editar);
}
void CDatView::potencialPonto()
{
    setModo(Modo::PotencialPonto);
}
void CDatView::potencialSegmento()
{
    setModo(Modo::PotencialSegmento);
}
void CDatView::segContornoExt()
{
    setModo(Modo::SegContornoExt);
}
void CDatView::estrutura()
{
    setModo(Modo::Estrutura);
}
void CDatView::condContorno()
{
    setModo(Modo::CondContorno);
}
void CDatView::defineRegEspecial()
{
    setModo(Modo::DefineEspecial);
}
void CDatView::removeRegEspecial()
{
    setModo(Modo::RemoveEspecial);
}
void CDatView::defineArea()
{
    setModo(Modo::DefineArea);
}

void CDatView::malha()
{
    if (m_doc.data().numTriangulos == 0 && m_doc.data().triangulos.empty()) {
        avisa(tarvex::msg::NaoHaMalha);
        return;
    }
    setModo(Modo::Malha);
}

bool CDatView::perguntaTroca(ed::SymmetryKind tipo)
{
    if (!ed::perguntaTrocaSimetria(m_doc.data(), tipo))
        return true;
    CDlgTrocaSimetria dialogo(dat_campos::texto(ed::textoTrocaSimetria(tipo)), this);
    switch (executa(dialogo)) {
    case QDialog::Accepted:
        ed::trocaSimetria(m_doc.data(), tipo);
        alterado();
        return true;
    case CDlgTrocaSimetria::Deleta:
        ed::deletaSimetria(m_doc.data());
        alterado();
        return true;
    default:
        // Cancel keeps everything, the mode included.
        return false;
    }
}

void CDatView::simetria()
{
    if (perguntaTroca(ed::SymmetryKind::Symmetry))
        setModo(Modo::Simetria);
}

void CDatView::antiSimetria()
{
    if (perguntaTroca(ed::SymmetryKind::AntiSymmetry))
        setModo(Modo::AntiSimetria);
}

void CDatView::removeSimetria()
{
    ed::removeSimetria(m_doc.data());
    alterado();
}

void CDatView::campoMagnetico()
{
    if (m_doc.data().tipoAnalise != ed::AnalysisType::Magnetic) {
        ed::defineAnalise(m_doc.data(), ed::AnalysisType::Magnetic);
        m_doc.setModified(true);
    }
    m_doc.updateAllViews();
}

void CDatView::campoEletrico()
{
    if (m_doc.data().tipoAnalise != ed::AnalysisType::Electric) {
        ed::defineAnalise(m_doc.data(), ed::AnalysisType::Electric);
        m_doc.setModified(true);
    }
    m_doc.updateAllViews();
}

void CDatView::nenhuma()
{
    ed::removePotenciais(m_doc.data());
    setModo(Modo::Nenhuma);
    alterado();
}

void CDatView::contornoExterno()
{
    CDlgPotencial dialogo(CDlgPotencial::Variante::Simples, 0.0, m_prompter, this);
    if (executa(dialogo) != QDialog::Accepted) {
        update();
        return;
    }
    ed::potencialContornoExterno(m_doc.data(), dialogo.valor());
    setModo(Modo::ContornoExterno);
    alterado();
}

void CDatView::tolerancias()
{
    ProblemData& data = m_doc.data();
    CDlgAjustesTolerancias dialogo(data.toleranciaArcos, data.anguloArco, m_prompter, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    if (const tarvex::Status s
        = ed::defineTolerancias(data, dialogo.toleranciaArcos(), dialogo.anguloArco());
        !s)
        avisa(s.message);
}

void CDatView::forcaPolarTeclado()
{
    avisa(tarvex::msg::ItemNaoDisponivel);
}

// ---- Mesh ----------------------------------------------------------------------------------

void CDatView::iniciaControleMalha()
{
    const ProblemData& data = m_doc.data();
    // The reference length is the shortest contour element; elements of no length are passed
    // over, as a zero edge could never be meshed.
    double menor = std::numeric_limits<double>::infinity();
    for (const SegmentoContorno& s : data.poolSegmentos) {
        const double comprimento = ed::comprimentoElemento(s);
        if (comprimento > ProblemData::ArestaMinima && comprimento < menor)
            menor = comprimento;
    }
    m_controle = {};
    m_controle.comprimentoReferencia = std::isfinite(menor) ? menor : 0.0;
    if (!data.triangulos.empty() && m_controle.comprimentoReferencia > 0.0) {
        m_controle.fatorAresta = data.arestaMalha / m_controle.comprimentoReferencia;
        m_controle.fatorEspecial = data.arestaEspecial / m_controle.comprimentoReferencia;
        m_controle.termoQualidade = data.fatorQualidade;
    }
}

tarvex::problem::OpcoesMalha CDatView::opcoesMalha() const
{
    tarvex::problem::OpcoesMalha opcoes;
    opcoes.verificaAngulo = m_controle.verificaAngulo;
    opcoes.recentragem = m_controle.recentragem;
    opcoes.comprimentoReferencia = m_controle.comprimentoReferencia;
    return opcoes;
}

void CDatView::aplicaControleMalha(const ValoresControleMalha& v)
{
    m_controle = v;
    ProblemData& data = m_doc.data();
    const double arestaMaxima
        = v.modoAresta == 1 ? v.fatorAresta * v.comprimentoReferencia : v.comprimentoReferencia;
    const double arestaEspecial = v.fatorEspecial * v.comprimentoReferencia;
    if (arestaMaxima != data.arestaMaxima || arestaEspecial != data.arestaEspecial
        || v.termoQualidade != data.fatorQualidade)
        m_doc.setModified(true);
    data.arestaMaxima = arestaMaxima;
    data.arestaEspecial = arestaEspecial;
    data.fatorQualidade = v.termoQualidade;
    // The cavity test's tolerance follows the edge, as when the problem is read.
    data.tolerancia = data.arestaMaxima / 1e6;
}

void CDatView::ajustesMalha()
{
    CDlgControleMalha dialogo(m_controle, m_prompter, this);
    const int resultado = executa(dialogo);
    if (resultado != QDialog::Accepted && resultado != CDlgControleMalha::GeraMalha)
        return;
    aplicaControleMalha(dialogo.valores());
    if (resultado == CDlgControleMalha::GeraMalha)
        gera();
}

void CDatView::gera()
{
    CDlgGeracaoMalha dialogo(*this, m_prompter, this);
    executa(dialogo);
}

tarvex::problem::MeshObserver* CDatView::iniciaGeracao()
{
    m_modoAnterior = m_modo;
    m_menorTriangulo.reset();
    ajustarNaTela();
    m_desenhoGeracao = std::make_unique<CDesenhoGeracao>(mapping(), size(), [this] {
        update();
        QCoreApplication::processEvents();
    });
    update();
    return m_desenhoGeracao.get();
}

void CDatView::terminaGeracao()
{
    m_desenhoGeracao.reset();
    update();
}

void CDatView::restauraModo()
{
    setModo(m_modoAnterior);
}

void CDatView::mostraMalhaGerada()
{
    setModo(Modo::MalhaGerada);
    m_doc.updateAllViews();
}

void CDatView::malhaAlterada()
{
    setModo(Modo::Malha);
    alterado();
}

void CDatView::informacoesMalhaAtual()
{
    ProblemData& data = m_doc.data();
    ed::InformacoesMalha info;
    if (const tarvex::Status s = ed::informacoesMalha(data, info); !s) {
        avisa(s.message);
        return;
    }
    if (info.menorTriangulo < data.triangulos.size())
        m_menorTriangulo = data.triangulos.at(info.menorTriangulo);
    update();
    CDlgInfoMalha dialogo(ed::textosInformacoes(info), this);
    executa(dialogo);
}

void CDatView::recentraMalhaAtual()
{
    ed::ResultadoRecentragem resultado;
    if (const tarvex::Status s = ed::recentraMalha(m_doc.data(), resultado); !s) {
        avisa(s.message);
        return;
    }
    malhaAlterada();
    m_prompter.inform(QString::fromStdString(resultado.texto));
}

void CDatView::refinaArea()
{
    if (const tarvex::Status s = ed::refinaArea(m_doc.data()); !s) {
        avisa(s.message);
        return;
    }
    malhaAlterada();
}

void CDatView::refinaTotal()
{
    // Each refinement quadruples the mesh and there is no going back: a large one is confirmed.
    const std::string pergunta = tarvex::problem::perguntaRefinoTotal(m_doc.data());
    if (!pergunta.empty()
        && m_prompter.ask(QString::fromStdString(pergunta)) != Prompter::YesNo::Yes)
        return;
    if (const tarvex::Status s = ed::refinaTotal(m_doc.data()); !s) {
        avisa(s.message);
        return;
    }
    malhaAlterada();
}

// ---- Clicks --------------------------------------------------------------------------------

void CDatView::clique(Qt::MouseButton botao, const Ponto& p)
{
    m_pontoClique = p;
    if (botao == Qt::RightButton) {
        if (m_modo == Modo::Editar)
            selecionaRegiao(p);
        else if (m_modo == Modo::PotencialSegmento)
            selecionaSegmento(p);
        return;
    }
    if (botao != Qt::LeftButton)
        return;
    switch (m_modo) {
    case Modo::Editar:
        editaRegiao(p);
        break;
    case Modo::PotencialPonto:
        potencialNoPonto(p);
        break;
    case Modo::PotencialSegmento:
        potencialNoSegmento(p);
        break;
    case Modo::SegContornoExt:
        trechoExterno(p);
        break;
    case Modo::Simetria:
        segmentoSimetria(p, ed::SymmetryKind::Symmetry);
        break;
    case Modo::AntiSimetria:
        segmentoSimetria(p, ed::SymmetryKind::AntiSymmetry);
        break;
    case Modo::DefineEspecial:
    case Modo::RemoveEspecial: {
        const tarvex::Status s = m_modo == Modo::DefineEspecial
            ? ed::defineRegiaoEspecial(m_doc.data(), p)
            : ed::removeEspecial(m_doc.data(), p);
        if (!s)
            avisa(s.message);
        else
            alterado();
        break;
    }
    default:
        break;
    }
}

void CDatView::editaRegiao(const Ponto& p)
{
    ProblemData& data = m_doc.data();
    int posicao = 0;
    if (const tarvex::Status s = ed::regiaoSobPonto(data, p, posicao); !s) {
        avisa(s.message);
        return;
    }
    const bool varias = !m_selecaoRegioes.empty();
    if (varias)
        m_selecaoRegioes.insert(m_selecaoRegioes.begin(), posicao);
    m_regiaoDestacada = posicao;
    update();

    const bool eletrico = data.tipoAnalise == ed::AnalysisType::Electric;
    for (;;) {
        const ed::Regiao& clicada = *data.regiaoNaPosicao(posicao);
        CDlgEditReg dialogo(eletrico, m_prompter, this);
        dialogo.setAplicacao(m_app);
        dialogo.setValores(varias ? ed::valoresDaSelecao(clicada, data.tipoAnalise)
                                  : ed::valoresDaRegiao(clicada, data.tipoAnalise));
        if (executa(dialogo) != QDialog::Accepted)
            break;
        const std::vector<int> alvo = varias ? m_selecaoRegioes : std::vector<int> { posicao };
        if (const tarvex::Status s = ed::editaRegioes(data, alvo, dialogo.valores()); !s) {
            // The edit starts again at the same click.
            avisa(s.message);
            continue;
        }
        alterado();
        break;
    }
    // The selection was used up by this edit; the next one starts afresh.
    m_regiaoDestacada = 0;
    m_selecaoRegioes.clear();
    m_selecaoIniciada = false;
    update();
}

void CDatView::selecionaRegiao(const Ponto& p)
{
    int posicao = 0;
    if (const tarvex::Status s = ed::regiaoSobPonto(m_doc.data(), p, posicao); !s) {
        avisa(s.message);
        return;
    }
    if (!m_selecaoIniciada) {
        m_selecaoRegioes.clear();
        m_selecaoIniciada = true;
    }
    m_selecaoRegioes.insert(m_selecaoRegioes.begin(), posicao);
    update();
}

void CDatView::selecionaSegmento(const Ponto& p)
{
    const ProblemData& data = m_doc.data();
    if (const auto i = ed::segmentoMaisProximo(data, p)) {
        ed::acrescentaSemRepetir(m_selecaoSegmentos, data.poolSegmentos[*i]);
        update();
    }
}

void CDatView::potencialNoSegmento(const Ponto& p)
{
    ProblemData& data = m_doc.data();
    const auto i = ed::segmentoMaisProximo(data, p);
    if (!i)
        return;
    const SegmentoContorno escolhido = data.poolSegmentos[*i];
    ed::acrescentaSemRepetir(m_selecaoSegmentos, escolhido);
    update();
    const auto existente = ed::potencialDoSegmento(data, escolhido);
    CDlgPotencial dialogo(
        existente ? CDlgPotencial::Variante::EliminaSegmento : CDlgPotencial::Variante::Simples,
        existente ? data.segmentosPotencial.at(*existente).potencial : 0.0, m_prompter, this);
    const int resultado = executa(dialogo);
    if (resultado == QDialog::Accepted) {
        ed::impoePotencialSegmentos(data, m_selecaoSegmentos, dialogo.valor());
        alterado();
    } else if (resultado == CDlgPotencial::Elimina) {
        ed::eliminaPotencialSegmentos(data, m_selecaoSegmentos);
        alterado();
    }
    m_selecaoSegmentos.clear();
    update();
}

void CDatView::potencialNoPonto(const Ponto& p)
{
    ProblemData& data = m_doc.data();
    const auto i = ed::pontoContornoMaisProximo(data, p);
    if (!i)
        return;
    const Ponto alvo = data.pontosContorno[*i];
    m_pontoClique = alvo;
    const auto existente = ed::potencialDoPonto(data, alvo);
    CDlgPotencial dialogo(
        existente ? CDlgPotencial::Variante::EliminaPonto : CDlgPotencial::Variante::Simples,
        existente ? data.potenciaisPonto.at(*existente).potencial : 0.0, m_prompter, this);
    const int resultado = executa(dialogo);
    if (resultado == QDialog::Accepted) {
        ed::impoePotencialPonto(data, alvo, dialogo.valor());
        alterado();
    } else if (resultado == CDlgPotencial::Elimina) {
        ed::eliminaPotencialPonto(data, alvo);
        alterado();
    }
}

void CDatView::trechoExterno(const Ponto& p)
{
    ProblemData& data = m_doc.data();
    const auto i = ed::segmentoExternoMaisProximo(data, p);
    if (!i)
        return;
    if (m_cliquePendente == 0) {
        m_primeiroExterno = *i;
        m_cliquePendente = 1;
        atualizarDica();
        update();
        return;
    }
    m_cliquePendente = 0;
    atualizarDica();
    CDlgPotencial dialogo(CDlgPotencial::Variante::Simples, 0.0, m_prompter, this);
    if (executa(dialogo) == QDialog::Accepted) {
        ed::potencialTrechoExterno(data, m_primeiroExterno, *i, dialogo.valor());
        alterado();
    }
    update();
}

void CDatView::segmentoSimetria(const Ponto& p, ed::SymmetryKind tipo)
{
    ProblemData& data = m_doc.data();
    if (const auto i = ed::segmentoMaisProximo(data, p)) {
        ed::acrescentaSimetria(data, data.poolSegmentos[*i], tipo);
        alterado();
    }
}

void CDatView::areaArrastada(const QPoint& a, const QPoint& b)
{
    const Ponto pa = paraMundo(a);
    const Ponto pb = paraMundo(b);
    // A click without a drag has no area: nothing to define.
    if (ed::defineArea(m_doc.data(), pa, pb))
        alterado();
}

// ---- Mouse ---------------------------------------------------------------------------------

void CDatView::mousePressEvent(QMouseEvent* event)
{
    const bool arrasto = m_modoZoom || m_modo == Modo::DefineArea;
    if (arrasto && event->button() == Qt::LeftButton) {
        iniciarElastico(event->position().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        clique(event->button(), paraMundo(event->position().toPoint()));
        return;
    }
    CBaseView::mousePressEvent(event);
}

void CDatView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const Ponto p = paraMundo(pos);
    emit posicaoAlterada(textoPosicao(p.x, p.y));
    moverElastico(pos);
}

void CDatView::mouseReleaseEvent(QMouseEvent* event)
{
    QPoint origem;
    if (!terminarElastico(event, origem)) {
        CBaseView::mouseReleaseEvent(event);
        return;
    }
    const QPoint fim = event->position().toPoint();
    if (!m_modoZoom) {
        areaArrastada(origem, fim);
        return;
    }
    const std::optional<Caixa> arrastada = janelaDoArrasto(origem, fim);
    if (!arrastada)
        return;
    m_janela = *arrastada;
    update();
}
