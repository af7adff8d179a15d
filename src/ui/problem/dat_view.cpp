#include "problem/dat_view.h"

#include "drawing/des_view.h"
#include "drawing/dlg_escala.h"
#include "paint/canvas.h"
#include "paint/paint_problem.h"
#include "problem/dat_doc.h"

#include <QMouseEvent>
#include <QRubberBand>

#include <algorithm>

using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;

CDatView::CDatView(CDatDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent),
      m_doc(doc),
      m_prompter(prompter),
      m_janela(tarvex::paint::janelaInicialProblema(doc.data())),
      m_elastico(new QRubberBand(QRubberBand::Rectangle, this))
{
    setMouseTracking(true);
    connect(&m_doc, &CDatDoc::changed, this, qOverload<>(&QWidget::update));
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
        return {m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax};
    ajustarNaTela();
    const tarvex::paint::ViewMapping& m = mapping();
    return {m.xMin(), m.xMax(), m.yMin(), m.yMax()};
}

void CDatView::desenhar(tarvex::paint::Canvas& canvas)
{
    ajustarJanelaPropria();
    if (m_semLimpar && !mapping().imprimindo) {
        m_semLimpar = false;
        tarvex::paint::drawProblemStructure(canvas, m_doc.data());
        return;
    }
    tarvex::paint::paintProblem(canvas, m_doc.data());
}

void CDatView::zoomNormal()
{
    m_janela = tarvex::paint::janelaNormalProblema(m_doc.data(), m_janela);
    update();
}

void CDatView::iniciarZoom() { m_modoZoom = true; }

void CDatView::redesenhar()
{
    m_semLimpar = true;
    update();
}

void CDatView::aplicarEscala(const ValoresEscala& valores)
{
    m_janela = {valores.xMin, valores.yMin, valores.xMax, valores.yMax};
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
        {m_janela.xMin, m_janela.xMax, m_janela.yMin, m_janela.yMax, m_doc.data().fatorEscala});
    if (dialogo.exec() == QDialog::Accepted)
        aplicarEscala(dialogo.valores());
}

void CDatView::mousePressEvent(QMouseEvent* event)
{
    if (m_modoZoom && event->button() == Qt::LeftButton) {
        m_arrastando = true;
        m_origemElastico = event->position().toPoint();
        m_elastico->setGeometry(QRect(m_origemElastico, QSize()));
        m_elastico->show();
        return;
    }
    CBaseView::mousePressEvent(event);
}

void CDatView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    ajustarNaTela();
    const Ponto p = mapping().paraMundo(pos.x(), pos.y());
    emit posicaoAlterada(CDesView::textoPosicao(p.x, p.y));
    if (m_arrastando)
        m_elastico->setGeometry(QRect(m_origemElastico, pos).normalized());
}

void CDatView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_arrastando || event->button() != Qt::LeftButton) {
        CBaseView::mouseReleaseEvent(event);
        return;
    }
    m_arrastando = false;
    m_elastico->hide();

    const QPoint fim = event->position().toPoint();
    // A click without a drag, or a drag along one axis, has no area to show.
    if (fim.x() == m_origemElastico.x() || fim.y() == m_origemElastico.y())
        return;

    ajustarNaTela();
    const Ponto a = mapping().paraMundo(m_origemElastico.x(), m_origemElastico.y());
    const Ponto b = mapping().paraMundo(fim.x(), fim.y());
    if (a.x == b.x || a.y == b.y)
        return;
    m_janela = {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
    update();
}
