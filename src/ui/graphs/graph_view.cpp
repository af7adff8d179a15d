#include "graphs/graph_view.h"

#include "common/core_texts.h"
#include "common/messages.h"
#include "common/prompter.h"
#include "graphs/axis_scaling.h"
#include "graphs/dlg_ajuste_grafico.h"
#include "graphs/dlg_ana_harmonica.h"
#include "graphs/dlg_ativa_curvas.h"
#include "graphs/graph_doc.h"
#include "graphs/harmonics.h"
#include "graphs/plot_layout.h"
#include "paint/canvas.h"
#include "paint/paint_graph.h"

#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>

using tarvex::graphs::CurveActivation;
using tarvex::graphs::GraphAxes;

CGraphView::CGraphView(CGraphDoc& doc, Prompter& prompter, QWidget* parent)
    : CBaseView(parent)
    , m_doc(doc)
    , m_prompter(prompter)
    , m_curveCount(doc.data().curves.size())
{
    setMouseTracking(true);
    connect(&m_doc, &CGraphDoc::changed, this, qOverload<>(&QWidget::update));
}

GraphAxes CGraphView::ajusteAutomatico()
{
    m_doc.setAxes(tarvex::graphs::autoScaleAxes(m_doc.data(), m_ativas, width(), height()));
    return m_doc.axes();
}

void CGraphView::aplicarEixos(const GraphAxes& eixos)
{
    m_doc.setAxes(eixos);
    m_autoAxes = false;
    update();
}

void CGraphView::aplicarAtivas(const CurveActivation& ativas)
{
    m_ativas = ativas;
    update();
}

QString CGraphView::textoPosicao(double px, double py) const
{
    const tarvex::graphs::PlotMapping mapping { m_doc.axes(),
        tarvex::graphs::plotArea(width(), height()) };
    const std::string texto
        = tarvex::graphs::cursorText(mapping.fromPixelX(px), mapping.fromPixelY(py), m_doc.axes());
    return core_texts::texto(texto);
}

void CGraphView::desenhar(tarvex::paint::Canvas& canvas)
{
    QPainter& painter = canvas.painter();
    const bool imprimindo = mapping().imprimindo;
    const double dpi
        = painter.device() ? painter.device()->logicalDpiX() : tarvex::paint::PlotScreenDpi;
    const QSizeF alvo(mapping().width(), mapping().height());
    const QSizeF tamanho = tarvex::paint::plotUnits(alvo, dpi, imprimindo);
    if (m_autoAxes)
        m_doc.setAxes(tarvex::graphs::autoScaleAxes(
            m_doc.data(), m_ativas, int(tamanho.width()), int(tamanho.height())));
    painter.save();
    if (imprimindo && tamanho.width() > 0.0)
        painter.scale(alvo.width() / tamanho.width(), alvo.height() / tamanho.height());
    // Paper is white: the screen's background stays on the screen.
    tarvex::paint::paintGraph(painter, m_doc.data(), m_doc.axes(), m_ativas, tamanho, imprimindo,
        imprimindo ? QColor(Qt::white) : corFundo());
    painter.restore();
}

void CGraphView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    emit posicaoAlterada(textoPosicao(pos.x(), pos.y()));
}

void CGraphView::ajustarEixos()
{
    CDlgAjusteGrafico dialogo(
        m_prompter, m_doc.axes(), [this] { return ajusteAutomatico(); }, this);
    if (dialogo.exec() == QDialog::Accepted)
        aplicarEixos(dialogo.eixos());
    else
        update(); // an automatic scaling done in the dialog stays in the document
}

void CGraphView::ativarDesativar()
{
    if (m_curveCount <= 1) {
        m_prompter.warn(core_texts::texto(tarvex::msg::SoUmaCurva));
        return;
    }
    CDlgAtivaCurvas dialogo(m_doc.data(), m_ativas, this);
    if (dialogo.exec() == QDialog::Accepted)
        aplicarAtivas(dialogo.ativas());
}

void CGraphView::analiseHarmonica(int modo)
{
    tarvex::graphs::HarmonicMode mode {};
    if (!tarvex::graphs::harmonicModeFromNumber(modo, mode))
        return;
    CDlgAnaHarmonica dialogo(m_doc.data(), mode, this);
    dialogo.exec();
    update();
}
