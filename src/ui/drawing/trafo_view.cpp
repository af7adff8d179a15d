#include "drawing/trafo_view.h"

#include <QPainter>

CTrafoView::CTrafoView(QImage figura, QWidget* parent)
    : QWidget(parent), m_figura(std::move(figura))
{
    setMinimumSize(1, 1);
}

void CTrafoView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (m_figura.isNull()) {
        // The picture could not be loaded; the drawing is usable without it.
        painter.fillRect(rect(), palette().window());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("Figura indisponível"));
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_figura);
}
