#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::geometry {
struct DimensoesArranjo;
}

namespace tarvex::paint {

/**
 * The sketch of a typical arrangement: its cross-section as the generator makes it from
 * `dimensoes`, with each dimension letter on its dimension line or radius leader, fitted into
 * `area` with the aspect kept (dark lines on a light background). Nothing is drawn when the
 * dimensions are refused.
 */
void paintArrangementPicture(
    QPainter& painter, const QRectF& area, const geometry::DimensoesArranjo& dimensoes);

/// The same sketch as an image of `size`.
QImage renderArrangementPicture(const geometry::DimensoesArranjo& dimensoes, QSize size);

} // namespace tarvex::paint
