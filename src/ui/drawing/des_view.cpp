#include "drawing/des_view.h"

#include "drawing/des_doc.h"
#include "drawing/dlg_escala.h"
#include "paint/canvas.h"
#include "paint/view_mapping.h"

#include <QMouseEvent>

#include <optional>

using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;

CDesView::CDesView(CDesDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent),
      m_doc(doc),
      m_prompter(prompter),
      m_janela(tarvex::paint::JanelaInicial)
{
    criarElastico();
    setMouseTracking(true);
    connect(&m_doc, &CDesDoc::changed, this, qOverload<>(&QWidget::update));
}

void CDesView::setJanela(const Caixa& janela)
{
    m_janela = janela;
    update();
}

QString CDesView::textoPosicao(double x, double y)
{
    // QString::asprintf always writes a decimal point, whatever the user's locale.
    return QString::asprintf("posição : (%#7.3f,%#7.3f)", x, y);
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

void CDesView::iniciarZoom() { setModoMouse(ModoZoom); }

void CDesView::setModoMouse(int modo)
{
    m_modoMouse = modo;
    setDicaModo(dicaDoModo(modo));
}

QString CDesView::dicaDoModo(int modo)
{
    switch (modo) {
    case ModoZoom:
        return QStringLiteral("Arraste um retângulo para ampliar (Esc termina)");
    default:
        return {};
    }
}

void CDesView::sairDoModo() { setModoMouse(ModoInicial); }

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
    m_janela = {valores.xMin, valores.yMin, valores.xMax, valores.yMax};
    m_doc.data().fatorEscala = valores.fatorEscala;
    update();
}

void CDesView::ajusteManual()
{
    primeiraAtualizacao();
    CDlgEscala dialogo(m_prompter, this);
    dialogo.setValores({m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax,
                        m_doc.data().fatorEscala});
    if (dialogo.exec() == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

void CDesView::mousePressEvent(QMouseEvent* event)
{
    if (m_modoMouse == ModoZoom && event->button() == Qt::LeftButton) {
        iniciarElastico(event->position().toPoint());
        return;
    }
    CBaseView::mousePressEvent(event);
}

void CDesView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    ajustarNaTela();
    const Ponto p = mapping().paraMundo(pos.x(), pos.y());
    emit posicaoAlterada(textoPosicao(p.x, p.y));
    moverElastico(pos);
}

void CDesView::mouseReleaseEvent(QMouseEvent* event)
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
    ajustarJanelaPropria();
    update();
}
