#include "common/base_view.h"

#include "paint/canvas.h"
#include "paint/picture_export.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRubberBand>

#include <algorithm>

using tarvex::paint::Canvas;

CBaseView::CBaseView(QWidget* parent) : QWidget(parent)
{
    // Every paint covers the whole area itself, and "&Redesenhar" relies on the previous picture
    // staying under the new one.
    setAttribute(Qt::WA_OpaquePaintEvent);
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

void CBaseView::ajustarNaTela() { alvoNaTela(); }

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

std::optional<tarvex::geometry::Caixa> CBaseView::janelaDoArrasto(const QPoint& origem,
                                                                  const QPoint& fim)
{
    if (fim.x() == origem.x() || fim.y() == origem.y())
        return std::nullopt;
    ajustarNaTela();
    const tarvex::geometry::Ponto a = m_mapping.paraMundo(origem.x(), origem.y());
    const tarvex::geometry::Ponto b = m_mapping.paraMundo(fim.x(), fim.y());
    if (a.x == b.x || a.y == b.y)
        return std::nullopt;
    return tarvex::geometry::Caixa{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                   std::max(a.y, b.y)};
}

void CBaseView::desenhar(Canvas& canvas) { canvas.limparFundo(); }

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
            Canvas canvas(painter, m_mapping, m_corFundo);
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
