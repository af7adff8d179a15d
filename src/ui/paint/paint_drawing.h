#pragma once

#include "geometry/drawing_edit.h"
#include "geometry/records.h"

#include <QImage>
#include <QSize>

#include <vector>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

namespace tarvex::geometry {
class DrawingData;
}

namespace tarvex::paint {

class Canvas;

/// The entities selected in a drawing view: copies, found again by coordinates.
using DrawingSelection = geometry::SelecaoDesenho;

/// Draws the lists over whatever is already painted, in this order: points, selected points,
/// segments, selected segments, arcs, selected arcs (so a selection shows over the entities
/// drawn before it).
void drawDrawingLists(
    Canvas& canvas, const geometry::DrawingData& drawing, const DrawingSelection& selecao);

/// Clears the background and draws the lists. The canvas's mapping must already be fitted.
void paintDrawing(
    Canvas& canvas, const geometry::DrawingData& drawing, const DrawingSelection& selecao);

/// The picture a drawing view of `size` shows after "&Normal": the drawing zoomed to its
/// extents, on a black background, nothing selected.
QImage renderDrawing(const geometry::DrawingData& drawing, QSize size);
/// The same picture painted onto `painter`, whose device is a target of `size` pixels.
void renderDrawing(QPainter& painter, const geometry::DrawingData& drawing, QSize size);

} // namespace tarvex::paint
