#include "drawing/des_view.h"

#include "common/core_texts.h"
#include "common/dlg_escala.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "drawing/des_doc.h"
#include "drawing/dlg_valores_desenho.h"
#include "paint/canvas.h"
#include "paint/view_mapping.h"

#include <QCheckBox>
#include <QDialog>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <optional>

using core_texts::texto;
using tarvex::geometry::Alteracoes;
using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;
namespace geo = tarvex::geometry;
using ModoMouse = CDesView::ModoMouse;

namespace {

/// The name of the undo step a click of a building mode makes.
QString nomeConstrucao(ModoMouse modoMouse)
{
    switch (modoMouse) {
    case ModoMouse::RetaCartesiana:
        return QStringLiteral("Inserir segmento");
    case ModoMouse::Retangulo:
        return QStringLiteral("Inserir retângulo");
    case ModoMouse::Circunferencia:
    case ModoMouse::Circunferencia3Pontos:
        return QStringLiteral("Inserir circunferência");
    default:
        return QStringLiteral("Inserir arco");
    }
}

/// A repetition count typed as a number: below 1 does nothing, and a huge one reaches the core,
/// which refuses it.
int contagem(double v)
{
    if (!(v >= 1.0))
        return 0;
    return static_cast<int>(std::floor(std::min(v, 2e9)));
}

} // namespace

CDesView::CDesView(CDesDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent)
    , m_doc(doc)
    , m_prompter(prompter)
    , m_janela(tarvex::paint::JanelaInicial)
    , m_executor([](QDialog& d) { return d.exec(); })
{
    criarElastico();
    setMouseTracking(true);
    connect(&m_doc, &CDesDoc::changed, this, [this] {
        m_indice.reset();
        m_destaque.reset();
        update();
    });
    // An undo may remove what the selection names; a stale copy must not be acted on.
    connect(
        &m_doc, &CDesDoc::desfeito, this, [this] { geo::podaSelecao(m_doc.data(), m_selecao); });
}

void CDesView::setModoMouse(ModoMouse modoMouse)
{
    m_modoMouse = modoMouse;
    m_destaque.reset();
    setDicaModo(dicaDoModo(modoMouse));
    emit modoAlterado(modoMouse);
    update();
}

void CDesView::setJanela(const Caixa& janela)
{
    m_janela = janela;
    update();
}

void CDesView::primeiraAtualizacao()
{
    if (m_inicializado)
        return;
    m_inicializado = true;
    m_janela = tarvex::paint::janelaNormal(m_doc.data(), m_janela);
}

void CDesView::ajustarJanelaPropria()
{
    mapping().ajustarJanela(m_janela.xMin, m_janela.yMin, m_janela.xMax, m_janela.yMax);
}

void CDesView::ajustarNaTela()
{
    primeiraAtualizacao();
    alvoNaTela();
    ajustarJanelaPropria();
}

void CDesView::setMarcas(std::vector<tarvex::problem::MarcaDesenho> marcas)
{
    m_marcas = std::move(marcas);
    update();
}

void CDesView::desenhar(tarvex::paint::Canvas& canvas)
{
    primeiraAtualizacao();
    ajustarJanelaPropria();
    if (m_semLimpar && !mapping().imprimindo) {
        m_semLimpar = false;
        tarvex::paint::drawDrawingLists(canvas, m_doc.data(), m_selecao);
    } else {
        tarvex::paint::paintDrawing(canvas, m_doc.data(), m_selecao);
    }
    // The marks are a hint on the screen, not part of the drawing: they are not printed.
    if (mapping().imprimindo)
        return;
    for (const tarvex::problem::MarcaDesenho& marca : m_marcas)
        canvas.desenhaElemento(marca.cor, marca.largura, 0, marca.elemento);
    if (m_destaque)
        canvas.desenhaMarcador(CorDestaque, 0, 2, *m_destaque);
}

void CDesView::showEvent(QShowEvent* event)
{
    primeiraAtualizacao();
    CBaseView::showEvent(event);
}

void CDesView::zoomNormal()
{
    m_inicializado = true;
    m_janela = tarvex::paint::janelaNormal(m_doc.data(), m_janela);
    update();
}

void CDesView::iniciarZoom()
{
    setModoMouse(ModoZoom);
}

QString CDesView::dicaDoModo(ModoMouse modo)
{
    switch (modo) {
    case ModoMouse::SelecionaPonto:
        return QStringLiteral("Clique perto do ponto a selecionar (Esc termina)");
    case ModoMouse::InvertePonto:
        return QStringLiteral("Clique perto do ponto a inverter na seleção (Esc termina)");
    case ModoMouse::SelecionaRegiao:
        return QStringLiteral("Arraste um retângulo para selecionar (Esc termina)");
    case ModoMouse::InverteRegiao:
        return QStringLiteral("Arraste um retângulo para inverter a seleção (Esc termina)");
    case ModoMouse::RetaCartesiana:
        return QStringLiteral("Clique nos dois pontos da reta (Esc termina)");
    case ModoMouse::Retangulo:
        return QStringLiteral("Clique em dois cantos opostos do retângulo (Esc termina)");
    case ModoMouse::Circunferencia:
        return QStringLiteral("Clique nos pontos da circunferência (Esc termina)");
    case ModoMouse::Circunferencia3Pontos:
        return QStringLiteral("Clique em três pontos da circunferência (Esc termina)");
    case ModoMouse::Arco:
        return QStringLiteral("Clique nos pontos do arco (Esc termina)");
    case ModoMouse::ExcluiPontos:
        return QStringLiteral("Clique perto do ponto a excluir (Esc termina)");
    case ModoMouse::SelecionaSegmento:
        return QStringLiteral("Clique perto do segmento ou arco a selecionar (Esc termina)");
    case ModoMouse::SelecionaRegiaoPolar:
        return QStringLiteral("Arraste para selecionar numa faixa polar (Esc termina)");
    case ModoZoom:
        return QStringLiteral("Arraste um retângulo para ampliar (Esc termina)");
    default:
        return {};
    }
}

void CDesView::sairDoModo()
{
    setModoMouse(ModoInicial);
}

void CDesView::definirJanelaPedida(const tarvex::geometry::Caixa& janela)
{
    m_inicializado = true;
    m_janela = janela;
    update();
}

void CDesView::redesenhar()
{
    m_semLimpar = true;
    update();
}

void CDesView::aplicarEscala(const ValoresEscala& valores)
{
    m_inicializado = true;
    m_janela = { valores.xMin, valores.yMin, valores.xMax, valores.yMax };
    m_doc.data().fatorEscala = valores.fatorEscala;
    update();
}

void CDesView::ajusteManual()
{
    primeiraAtualizacao();
    CDlgEscala dialogo(m_prompter, this);
    dialogo.setValores(
        { m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax, m_doc.data().fatorEscala });
    if (dialogo.exec() == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

void CDesView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        CBaseView::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    switch (m_modoMouse) {
    case ModoZoom:
    case ModoMouse::SelecionaRegiao:
    case ModoMouse::InverteRegiao:
    case ModoMouse::SelecionaRegiaoPolar:
        iniciarElastico(pos);
        return;
    default:
        break;
    }
    ajustarNaTela();
    clique(mapping().paraMundo(pos.x(), pos.y()));
}

void CDesView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    ajustarNaTela();
    const Ponto p = mapping().paraMundo(pos.x(), pos.y());
    emit posicaoAlterada(textoPosicao(p.x, p.y));
    moverElastico(pos);
    atualizarDestaque(pos);
}

void CDesView::leaveEvent(QEvent* event)
{
    if (m_destaque) {
        m_destaque.reset();
        update();
    }
    CBaseView::leaveEvent(event);
}

void CDesView::mouseReleaseEvent(QMouseEvent* event)
{
    QPoint origem;
    if (!terminarElastico(event, origem)) {
        CBaseView::mouseReleaseEvent(event);
        return;
    }
    const QPoint fim = event->position().toPoint();
    if (m_modoMouse != ModoZoom) {
        ajustarNaTela();
        arrastoSelecao(
            mapping().paraMundo(origem.x(), origem.y()), mapping().paraMundo(fim.x(), fim.y()));
        return;
    }
    const std::optional<Caixa> arrastada = janelaDoArrasto(origem, fim);
    if (!arrastada)
        return;
    m_janela = *arrastada;
    ajustarJanelaPropria();
    update();
}

// --- Picking ---------------------------------------------------------------------------------

const geo::IndiceDesenho& CDesView::indice()
{
    if (!m_indice)
        m_indice.emplace(m_doc.data());
    return *m_indice;
}

std::optional<Ponto> CDesView::pontoMaisPerto(const Ponto& p)
{
    const std::optional<std::size_t> posicao = indice().pontoMaisPerto(p);
    if (!posicao)
        return std::nullopt;
    return m_doc.data().pontos.at(*posicao);
}

bool CDesView::modoDeEscolha() const
{
    switch (m_modoMouse) {
    case ModoMouse::SelecionaPonto:
    case ModoMouse::InvertePonto:
    case ModoMouse::RetaCartesiana:
    case ModoMouse::Retangulo:
    case ModoMouse::Circunferencia:
    case ModoMouse::Circunferencia3Pontos:
    case ModoMouse::Arco:
    case ModoMouse::ExcluiPontos:
        return true;
    default:
        return false;
    }
}

void CDesView::atualizarDestaque(const QPoint& pos)
{
    std::optional<Ponto> novo;
    if (modoDeEscolha())
        novo = pontoMaisPerto(mapping().paraMundo(pos.x(), pos.y()));
    if (novo != m_destaque) {
        m_destaque = novo;
        update();
    }
}

// --- Commands --------------------------------------------------------------------------------

bool CDesView::aceito(const tarvex::Status& status)
{
    if (status)
        return true;
    m_prompter.warn(textoDoStatus(status));
    return false;
}

void CDesView::mostrar(const geo::ResultadoEdicao& resultado)
{
    if (!aceito(resultado.status))
        return;
    if (!resultado.textoEstado.empty())
        emit mensagem(QString::fromStdString(resultado.textoEstado));
}

void CDesView::registrar(Alteracoes& alteracoes, const QString& nome)
{
    m_doc.registrarEdicao(std::move(alteracoes), nome);
    alteracoes = Alteracoes();
    update();
}

int CDesView::executa(QDialog& dialogo)
{
    return m_executor(dialogo);
}

void CDesView::clique(const Ponto& p)
{
    geo::DrawingData& d = m_doc.data();
    Alteracoes alt;
    switch (m_modoMouse) {
    case ModoMouse::SelecionaPonto:
        if (const auto escolhido = pontoMaisPerto(p))
            mostrar(geo::selecionaPonto(m_selecao, *escolhido));
        break;
    case ModoMouse::InvertePonto:
        mostrar(geo::invertePonto(m_selecao, pontoMaisPerto(p).value_or(p)));
        break;
    case ModoMouse::InserePonto:
        geo::inserePonto(d, p, alt);
        registrar(alt, QStringLiteral("Inserir ponto"));
        break;
    case ModoMouse::RetaCartesiana:
    case ModoMouse::Retangulo:
    case ModoMouse::Circunferencia:
    case ModoMouse::Circunferencia3Pontos:
    case ModoMouse::Arco:
        if (const auto escolhido = pontoMaisPerto(p)) {
            mostrar(geo::cliqueConstrucao(
                d, m_selecao, static_cast<int>(m_modoMouse), *escolhido, alt));
            registrar(alt, nomeConstrucao(m_modoMouse));
        }
        break;
    case ModoMouse::ExcluiPontos:
        if (const auto posicao = indice().pontoMaisPerto(p)) {
            aceito(geo::excluiPonto(d, m_selecao, *posicao, alt));
            registrar(alt, QStringLiteral("Excluir ponto"));
        }
        break;
    case ModoMouse::SelecionaSegmento:
        if (const auto escolhida = indice().entidadeMaisPerto(p))
            mostrar(geo::selecionaEntidade(d, m_selecao, *escolhida));
        break;
    default:
        break;
    }
    update();
}

void CDesView::arrastoSelecao(const Ponto& a, const Ponto& b)
{
    switch (m_modoMouse) {
    case ModoMouse::SelecionaRegiao:
        geo::selecionaRegiao(m_doc.data(), m_selecao, a, b);
        break;
    case ModoMouse::InverteRegiao:
        geo::inverteRegiao(m_selecao, a, b);
        break;
    case ModoMouse::SelecionaRegiaoPolar:
        geo::selecionaRegiaoPolar(m_doc.data(), m_selecao, a, b);
        break;
    default:
        break;
    }
    update();
}

void CDesView::comandoModo(ModoMouse novoModo)
{
    if (!aceito(geo::verificaModo(m_doc.data(), m_selecao, static_cast<int>(novoModo))))
        return;
    setModoMouse(novoModo);
    Alteracoes alt;
    if (novoModo == ModoMouse::ExcluiPontos && !m_selecao.pontos.empty()) {
        geo::excluiPontosSelecionados(m_doc.data(), m_selecao, alt);
        registrar(alt, QStringLiteral("Excluir pontos"));
    }
    const std::string_view pergunta = geo::perguntaInicial(static_cast<int>(novoModo), m_selecao);
    if (pergunta.empty())
        return;
    const bool sim = m_prompter.ask(texto(pergunta)) == Prompter::YesNo::Yes;
    mostrar(geo::respostaInicial(m_doc.data(), m_selecao, static_cast<int>(novoModo), sim, alt));
    registrar(alt, nomeConstrucao(novoModo));
}

void CDesView::ofereceUltimoPonto(CDlgValoresDesenho& dialogo, std::string_view pergunta)
{
    if (m_selecao.pontos.empty())
        return;
    if (m_prompter.ask(texto(pergunta)) != Prompter::YesNo::Yes)
        return;
    dialogo.setNumero(0, m_selecao.pontos.front().x);
    dialogo.setNumero(1, m_selecao.pontos.front().y);
}

void CDesView::pontoTeclado()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Insere PONTO :"), { QStringLiteral("X :"), QStringLiteral("Y :") }, {},
        m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            geo::inserePonto(m_doc.data(), { v.numeros[0], v.numeros[1] }, alt);
            registrar(alt, QStringLiteral("Inserir ponto"));
            return QString();
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::retaTeclado()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Insere Reta por 2 Pontos"),
        { QStringLiteral("X1 :"), QStringLiteral("Y1 :"), QStringLiteral("X2 :"),
            QStringLiteral("Y2 :") },
        { QStringLiteral("Conectar com o primeiro ponto selecionado.") }, m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s = geo::insereReta(m_doc.data(), m_selecao,
                { v.numeros[0], v.numeros[1] }, { v.numeros[2], v.numeros[3] }, v.opcoes[0], alt);
            registrar(alt, QStringLiteral("Inserir segmento"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::retaPolarTeclado()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Insere Reta polar."),
        { QStringLiteral("X :"), QStringLiteral("Y :"), QStringLiteral("Ângulo:"),
            QStringLiteral("Distância :") },
        { QStringLiteral("Em relação a reta selecionada."),
            QStringLiteral("Selecionar automaticamente novo segmento") },
        m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s
                = geo::insereRetaPolar(m_doc.data(), m_selecao, { v.numeros[0], v.numeros[1] },
                    v.numeros[2], v.numeros[3], v.opcoes[0], v.opcoes[1], alt);
            registrar(alt, QStringLiteral("Inserir segmento"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::retanguloTeclado()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Insere Retângulo :"),
        { QStringLiteral("Coordenadas da Diagonal do Retângulo:  X1 :"), QStringLiteral("Y1 :"),
            QStringLiteral("X2 :"), QStringLiteral("Y2 :") },
        {}, m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s = geo::insereRetangulo(m_doc.data(), m_selecao,
                { v.numeros[0], v.numeros[1] }, { v.numeros[2], v.numeros[3] }, alt);
            registrar(alt, QStringLiteral("Inserir retângulo"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::circunferenciaTeclado()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Desenha Circunferências"),
        { QStringLiteral("X :"), QStringLiteral("Y :"), QStringLiteral("Raio :") }, {}, m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s = geo::insereCircunferencia(
                m_doc.data(), { v.numeros[0], v.numeros[1] }, v.numeros[2], alt);
            registrar(alt, QStringLiteral("Inserir circunferência"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaCentro);
    executa(dialogo);
}

void CDesView::arcoAngulo()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Desenha Arco:"),
        { QStringLiteral("Centro :  X :"), QStringLiteral("Y :"), QStringLiteral("Ponto :  X :"),
            QStringLiteral("Y :"), QStringLiteral("Ângulo : (em °)") },
        {}, m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s = geo::insereArcoAngulo(m_doc.data(),
                { v.numeros[0], v.numeros[1] }, { v.numeros[2], v.numeros[3] }, v.numeros[4], alt);
            registrar(alt, QStringLiteral("Inserir arco"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Insere"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::arco2Pontos()
{
    CDlgValoresDesenho dialogo(
        QStringLiteral("Arco P1 P2 Pc"),
        { QStringLiteral("X1 :"), QStringLiteral("Y1 :"), QStringLiteral("X2 :"),
            QStringLiteral("Y2 :"), QStringLiteral("Xc :"), QStringLiteral("Yc :") },
        {}, m_prompter,
        [this](const CDlgValoresDesenho::Valores& v) {
            Alteracoes alt;
            const tarvex::Status s
                = geo::insereArco2Pontos(m_doc.data(), { v.numeros[0], v.numeros[1] },
                    { v.numeros[2], v.numeros[3] }, { v.numeros[4], v.numeros[5] }, alt);
            registrar(alt, QStringLiteral("Inserir arco"));
            return s ? QString() : textoDoStatus(s);
        },
        QStringLiteral("Calcula"), this);
    ofereceUltimoPonto(dialogo, tarvex::msg::PerguntaEditarPonto);
    executa(dialogo);
}

void CDesView::excluiSegmentos()
{
    Alteracoes alt;
    if (aceito(geo::excluiSegmentosSelecionados(m_doc.data(), m_selecao, alt)))
        registrar(alt, QStringLiteral("Excluir segmentos"));
    update();
}

void CDesView::reproducaoLinear()
{
    if (!aceito(geo::verificaReproducao(m_selecao)))
        return;
    CDlgValoresDesenho dialogo(QStringLiteral("Reprodução da Seleção"),
        { QStringLiteral("Incrementar X:"), QStringLiteral("Incrementar Y:"),
            QStringLiteral("Reproduções:") },
        {}, m_prompter, {}, {}, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    const std::vector<double>& v = dialogo.valores().numeros;
    Alteracoes alt;
    if (aceito(geo::reproduzLinear(m_doc.data(), m_selecao, v[0], v[1], contagem(v[2]), alt)))
        registrar(alt, QStringLiteral("Reprodução linear"));
}

void CDesView::reproducaoPolar()
{
    if (!aceito(geo::verificaReproducao(m_selecao)))
        return;
    CDlgValoresDesenho dialogo(QStringLiteral("Reprodução Polar"),
        { QStringLiteral("Raio:"), QStringLiteral("Ângulo:"), QStringLiteral("Reproduções:"),
            QStringLiteral("Ponto de Referência:  X :"), QStringLiteral("Y :") },
        {}, m_prompter, {}, {}, this);
    if (!m_selecao.pontos.empty()) {
        // "Último ponto selec.:"
        dialogo.setNumero(3, m_selecao.pontos.front().x);
        dialogo.setNumero(4, m_selecao.pontos.front().y);
    }
    if (executa(dialogo) != QDialog::Accepted)
        return;
    const std::vector<double>& v = dialogo.valores().numeros;
    Alteracoes alt;
    if (aceito(geo::reproduzPolar(
            m_doc.data(), m_selecao, v[0], v[1], contagem(v[2]), { v[3], v[4] }, alt)))
        registrar(alt, QStringLiteral("Reprodução polar"));
}

void CDesView::deslocaLinear()
{
    CDlgValoresDesenho dialogo(QStringLiteral("Desloca"),
        { QStringLiteral("X :"), QStringLiteral("Y :") }, {}, m_prompter, {}, {}, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    const std::vector<double>& v = dialogo.valores().numeros;
    Alteracoes alt;
    if (aceito(geo::deslocaLinear(m_doc.data(), m_selecao, v[0], v[1], alt)))
        registrar(alt, QStringLiteral("Deslocar"));
}

void CDesView::deslocaPolar()
{
    CDlgValoresDesenho dialogo(QStringLiteral("Desloca"),
        { QStringLiteral("R  :"), QStringLiteral("T :") }, {}, m_prompter, {}, {}, this);
    if (executa(dialogo) != QDialog::Accepted)
        return;
    const std::vector<double>& v = dialogo.valores().numeros;
    Alteracoes alt;
    if (aceito(geo::deslocaPolar(m_doc.data(), m_selecao, v[0], v[1], alt)))
        registrar(alt, QStringLiteral("Deslocar"));
}
