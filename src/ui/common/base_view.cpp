#include "common/base_view.h"

#include "paint/canvas.h"
#include "paint/picture_export.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRubberBand>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using tarvex::paint::Canvas;

QString CBaseView::textoPosicao(double x, double y)
{
    // QString::asprintf always writes a decimal point, whatever the user's locale.
    return QString::asprintf("posição : (%#7.3f,%#7.3f)", x, y);
}

CBaseView::CBaseView(QWidget* parent)
    : QWidget(parent)
{
    // Every paint covers the whole area itself, and "&Redesenhar" relies on the previous picture
    // staying under the new one.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Esc must reach the view that was clicked, and the wheel the view under the cursor.
    setFocusPolicy(Qt::WheelFocus);
}

void CBaseView::setDicaModo(const QString& dica)
{
    if (dica == m_dicaModo)
        return;
    m_dicaModo = dica;
    emit dicaModoAlterada(dica);
}

void CBaseView::sairDoModo()
{
    setDicaModo(QString());
}

std::optional<tarvex::geometry::Caixa> CBaseView::janelaPedida() const
{
    return std::nullopt;
}

void CBaseView::definirJanelaPedida(const tarvex::geometry::Caixa&) { }

void CBaseView::zoomNoPixel(const QPoint& pixel, double fator)
{
    // Fitting first: a view that has not been shown yet makes its first window there.
    ajustarNaTela();
    const std::optional<tarvex::geometry::Caixa> janela = janelaPedida();
    if (!janela || !(fator > 0.0) || !std::isfinite(fator))
        return;
    const tarvex::geometry::Ponto p = m_mapping.paraMundo(pixel.x(), pixel.y());
    // Scaling the request about p scales the fitted window about p as well, so p stays put.
    const tarvex::geometry::Caixa nova { p.x + (janela->xMin - p.x) * fator,
        p.y + (janela->yMin - p.y) * fator, p.x + (janela->xMax - p.x) * fator,
        p.y + (janela->yMax - p.y) * fator };
    // Past the reach of doubles the window would lose its extent; stay where it is instead.
    if (!(nova.xMax > nova.xMin) || !(nova.yMax > nova.yMin) || !std::isfinite(nova.xMin)
        || !std::isfinite(nova.xMax) || !std::isfinite(nova.yMin) || !std::isfinite(nova.yMax))
        return;
    definirJanelaPedida(nova);
}

void CBaseView::deslocarPixels(const QPoint& pixels)
{
    ajustarNaTela();
    const std::optional<tarvex::geometry::Caixa> janela = janelaPedida();
    if (!janela)
        return;
    const double porPixel = m_mapping.pixelsPorUnidade();
    if (!(porPixel > 0.0))
        return;
    // Dragging right shows what lies to the left; pixel rows grow downwards.
    const double dx = -pixels.x() / porPixel;
    const double dy = pixels.y() / porPixel;
    definirJanelaPedida(
        { janela->xMin + dx, janela->yMin + dy, janela->xMax + dx, janela->yMax + dy });
}

bool CBaseView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Wheel: {
        auto* roda = static_cast<QWheelEvent*>(event);
        const int passos = roda->angleDelta().y();
        if (passos == 0 || !janelaPedida())
            break;
        zoomNoPixel(roda->position().toPoint(), std::pow(FatorRoda, passos / 120.0));
        event->accept();
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton || !janelaPedida())
            break;
        m_deslocando = true;
        m_ultimoDeslocamento = mouse->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_deslocando)
            break;
        const QPoint agora = mouse->position().toPoint();
        deslocarPixels(agora - m_ultimoDeslocamento);
        m_ultimoDeslocamento = agora;
        // The position pane still follows the cursor.
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton || !m_deslocando)
            break;
        m_deslocando = false;
        unsetCursor();
        event->accept();
        return true;
    }
    case QEvent::KeyPress: {
        auto* tecla = static_cast<QKeyEvent*>(event);
        if (tecla->key() != Qt::Key_Escape)
            break;
        if (m_arrastando) {
            m_arrastando = false;
            m_elastico->hide();
        }
        sairDoModo();
        event->accept();
        return true;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

void CBaseView::setCorFundo(const QColor& cor)
{
    m_corFundo = cor;
    update();
}

void CBaseView::alvoNaTela()
{
    m_mapping.imprimindo = false;
    m_mapping.setTargetSize(width(), height());
}

void CBaseView::ajustarNaTela()
{
    alvoNaTela();
}

void CBaseView::criarElastico()
{
    if (!m_elastico)
        m_elastico = new QRubberBand(QRubberBand::Rectangle, this);
}

void CBaseView::iniciarElastico(const QPoint& origem)
{
    criarElastico();
    m_arrastando = true;
    m_origemElastico = origem;
    m_elastico->setGeometry(QRect(m_origemElastico, QSize()));
    m_elastico->show();
}

void CBaseView::moverElastico(const QPoint& pos)
{
    if (m_arrastando)
        m_elastico->setGeometry(QRect(m_origemElastico, pos).normalized());
}

bool CBaseView::terminarElastico(const QMouseEvent* event, QPoint& origem)
{
    if (!m_arrastando || event->button() != Qt::LeftButton)
        return false;
    m_arrastando = false;
    m_elastico->hide();
    origem = m_origemElastico;
    return true;
}

std::optional<tarvex::geometry::Caixa> CBaseView::janelaDoArrasto(
    const QPoint& origem, const QPoint& fim)
{
    if (fim.x() == origem.x() || fim.y() == origem.y())
        return std::nullopt;
    ajustarNaTela();
    const tarvex::geometry::Ponto a = m_mapping.paraMundo(origem.x(), origem.y());
    const tarvex::geometry::Ponto b = m_mapping.paraMundo(fim.x(), fim.y());
    if (a.x == b.x || a.y == b.y)
        return std::nullopt;
    return tarvex::geometry::Caixa { std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
        std::max(a.y, b.y) };
}

void CBaseView::desenhar(Canvas& canvas)
{
    canvas.limparFundo();
}

void CBaseView::paintEvent(QPaintEvent*)
{
    alvoNaTela();
    QPainter painter(this);
    Canvas canvas(painter, m_mapping, m_corFundo);
    desenhar(canvas);
}

void CBaseView::imprimirEm(QPaintDevice& device, const QRect& pagina)
{
    const tarvex::paint::ViewMapping tela = m_mapping;
    m_mapping.imprimindo = true;
    m_mapping.setTargetSize(pagina.width(), pagina.height());
    {
        QPainter painter(&device);
        if (painter.isActive()) {
            painter.translate(pagina.topLeft());
            // Paper is white, whatever the screen's background.
            Canvas canvas(painter, m_mapping, QColor(Qt::white));
            desenhar(canvas);
        }
    }
    m_mapping = tela;
}

tarvex::Status CBaseView::exportarImagem(const QString& path)
{
    // A view not shown yet has no size; it is exported at the batch tool's default picture size.
    const QSize tamanho = size().isEmpty() ? QSize(800, 600) : size();
    return tarvex::paint::writePicture(
        path.toStdString(), tamanho, [this](QPainter& painter, QSize alvo) {
            const tarvex::paint::ViewMapping tela = m_mapping;
            m_mapping.imprimindo = false;
            m_mapping.setTargetSize(alvo.width(), alvo.height());
            Canvas canvas(painter, m_mapping, m_corFundo);
            desenhar(canvas);
            m_mapping = tela;
        });
}

void CBaseView::imprimirNaImpressora(QPrinter* printer)
{
    // The painter's origin is already the printable area's corner.
    const QRect area = printer->pageRect(QPrinter::DevicePixel).toRect();
    imprimirEm(*printer, QRect(QPoint(0, 0), area.size()));
}

void CBaseView::imprimir()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialogo(&printer, this);
    if (dialogo.exec() == QDialog::Accepted)
        imprimirNaImpressora(&printer);
}

void CBaseView::visualizarImpressao()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog previa(&printer, this);
    connect(&previa, &QPrintPreviewDialog::paintRequested, this,
        [this](QPrinter* p) { imprimirNaImpressora(p); });
    previa.exec();
}
