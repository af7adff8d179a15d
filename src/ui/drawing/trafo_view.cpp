#include "drawing/trafo_view.h"

#include "geometry/arrangements.h"
#include "paint/paint_arrangement.h"

#include <QPainter>

CTrafoView::CTrafoView(int tipoArranjo, QWidget* parent)
    : QWidget(parent)
    , m_tipoArranjo(tipoArranjo)
{
    setMinimumSize(1, 1);
}

void CTrafoView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    tarvex::paint::paintArrangementPicture(
        painter, QRectF(rect()), tarvex::geometry::dimensoesPadrao(m_tipoArranjo + 1));
}
