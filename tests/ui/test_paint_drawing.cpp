#include "geometry/drawing.h"
#include "paint/canvas.h"
#include "paint/paint_drawing.h"
#include "paint/view_mapping.h"

#include <QPainter>
#include <QtTest>

using tarvex::geometry::Arco;
using tarvex::geometry::DrawingData;
using tarvex::geometry::Ponto;
using tarvex::geometry::Segmento;
using tarvex::paint::Canvas;
using tarvex::paint::DrawingSelection;
using tarvex::paint::ViewMapping;

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Red(255, 0, 0);
const QColor Green(0, 255, 0);

/// A 100 × 100 picture of the world square 0..100, so world (x, y) is pixel (x, 100 − y).
struct Picture {
    QImage image { 100, 100, QImage::Format_RGB32 };
    ViewMapping mapping;

    explicit Picture(QColor fill = Green)
    {
        image.fill(fill);
        mapping.setTargetSize(image.width(), image.height());
        mapping.ajustarJanela(0, 0, 100, 100);
    }

    void paint(const DrawingData& drawing, const DrawingSelection& selection = {})
    {
        QPainter painter(&image);
        Canvas canvas(painter, mapping);
        tarvex::paint::paintDrawing(canvas, drawing, selection);
    }

    QColor at(int x, int y) const { return image.pixelColor(x, y); }

    /// Counts the pixels of `color` within `radius` of (x, y).
    int countNear(int x, int y, const QColor& color, int radius = 1) const
    {
        int count = 0;
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (image.valid(x + dx, y + dy) && image.pixelColor(x + dx, y + dy) == color)
                    ++count;
        return count;
    }
};

} // namespace

class TestPaintDrawing : public QObject {
    Q_OBJECT
private slots:
    void clearsToBlackAndDrawsEntitiesInWhite();
    void selectedEntitiesDrawInRedOverTheirEntity();
    void arcRunsCounterclockwiseFromStartToEnd();
    void laterListsPaintOverEarlierSelections();
    void drawingTheListsAloneKeepsThePicture();
    void colourOutsidePaletteDrawsInLastEntry();
    void primitivesRestoreThePainterPen();
    void printerPathScalesPixelSizesWithResolution();
    void resultLinesPrintBlackOnlyWhenAsked();
    void renderDrawingShowsTheWholeDrawingAtTheRequestedSize();
};

void TestPaintDrawing::clearsToBlackAndDrawsEntitiesInWhite()
{
    DrawingData drawing;
    drawing.segmentos.pushFront(Segmento { { 10, 50 }, { 90, 50 } });
    drawing.pontos.pushFront(Ponto { 20, 20 });
    Picture picture;
    picture.paint(drawing);

    QCOMPARE(picture.at(50, 20), Black);
    QCOMPARE(picture.at(0, 0), Black);
    QVERIFY(picture.countNear(50, 50, White) > 0);
    QCOMPARE(picture.countNear(50, 50, Red), 0);
    // The dot is filled: its centre is white, and it stays within 2 pixels or so.
    QCOMPARE(picture.at(20, 80), White);
    QCOMPARE(picture.at(20, 85), Black);
}

void TestPaintDrawing::selectedEntitiesDrawInRedOverTheirEntity()
{
    DrawingData drawing;
    const Segmento segment { { 10, 50 }, { 90, 50 } };
    const Ponto point { 20, 20 };
    drawing.segmentos.pushFront(segment);
    drawing.pontos.pushFront(point);
    DrawingSelection selection;
    selection.segmentos.push_back(segment);
    selection.pontos.push_back(point);
    Picture picture;
    picture.paint(drawing, selection);

    QVERIFY(picture.countNear(50, 50, Red) > 0);
    QCOMPARE(picture.countNear(50, 50, White), 0);
    // The selected point keeps its white dot inside a red ring about 4 pixels out.
    QCOMPARE(picture.at(20, 80), White);
    QVERIFY(picture.countNear(16, 80, Red) > 0);
    QVERIFY(picture.countNear(20, 76, Red) > 0);
    QCOMPARE(picture.at(20, 70), Black);
}

void TestPaintDrawing::arcRunsCounterclockwiseFromStartToEnd()
{
    // From (80, 50) counterclockwise to (20, 50) about (50, 50): the upper half only.
    DrawingData upper;
    upper.arcos.pushFront(Arco { { 80, 50 }, { 20, 50 }, { 50, 50 } });
    Picture picture;
    picture.paint(upper);
    QVERIFY(picture.countNear(50, 20, White) > 0); // top of the circle (world y = 80)
    QCOMPARE(picture.countNear(50, 80, White), 0); // bottom stays empty

    // The same ends the other way round give the lower half.
    DrawingData lower;
    lower.arcos.pushFront(Arco { { 20, 50 }, { 80, 50 }, { 50, 50 } });
    Picture other;
    other.paint(lower);
    QVERIFY(other.countNear(50, 80, White) > 0);
    QCOMPARE(other.countNear(50, 20, White), 0);
}

void TestPaintDrawing::laterListsPaintOverEarlierSelections()
{
    // A selected segment lies under the right half of a circle; arcs come after selected
    // segments, so where they cross the arc's white wins.
    DrawingData drawing;
    const Segmento selected { { 60, 50 }, { 98, 50 } };
    drawing.segmentos.pushFront(selected);
    drawing.arcos.pushFront(Arco { { 50, 20 }, { 50, 80 }, { 50, 50 } });
    DrawingSelection selection;
    selection.segmentos.push_back(selected);
    Picture picture;
    picture.paint(drawing, selection);

    const int row = picture.countNear(70, 50, Red, 0) ? 50 : 49;
    QCOMPARE(picture.at(70, row), Red);
    QCOMPARE(picture.at(90, row), Red);
    QCOMPARE(picture.at(80, row), White);
}

void TestPaintDrawing::drawingTheListsAloneKeepsThePicture()
{
    DrawingData drawing;
    drawing.segmentos.pushFront(Segmento { { 10, 50 }, { 90, 50 } });
    Picture picture(Green);
    {
        QPainter painter(&picture.image);
        Canvas canvas(painter, picture.mapping);
        tarvex::paint::drawDrawingLists(canvas, drawing, {});
    }
    QCOMPARE(picture.at(50, 20), Green);
    QVERIFY(picture.countNear(50, 50, White) > 0);
}

void TestPaintDrawing::colourOutsidePaletteDrawsInLastEntry()
{
    Picture picture(White);
    {
        QPainter painter(&picture.image);
        Canvas canvas(painter, picture.mapping);
        canvas.desenhaSegmento(99, 3, 0, { 10, 50 }, { 90, 50 });
    }
    QCOMPARE(picture.at(50, 50), Black);
}

void TestPaintDrawing::primitivesRestoreThePainterPen()
{
    Picture picture;
    QPainter painter(&picture.image);
    const QPen pen(QColor(1, 2, 3), 7, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    Canvas canvas(painter, picture.mapping);
    canvas.desenhaSegmento(4, 2, 1, { 0, 0 }, { 10, 10 });
    canvas.desenhaPonto(15, 1, { 5, 5 });
    canvas.desenhaMarcador(4, 0, 2, { 5, 5 });
    canvas.desenhaArco(15, 1, Arco { { 60, 50 }, { 40, 50 }, { 50, 50 } });
    canvas.desenhaTexto(QStringLiteral("abc"), { 5, 5 });
    QCOMPARE(painter.pen(), pen);
    QCOMPARE(painter.brush().style(), Qt::NoBrush);
}

void TestPaintDrawing::printerPathScalesPixelSizesWithResolution()
{
    // A device of 960 dpi is ten times a 96-dpi screen: the marker's ring moves from about 4 to
    // about 40 pixels from its centre.
    auto ringAt40 = [](bool imprimindo) {
        QImage image(200, 200, QImage::Format_RGB32);
        image.setDotsPerMeterX(37795);
        image.setDotsPerMeterY(37795);
        image.fill(Black);
        ViewMapping mapping;
        mapping.setTargetSize(200, 200);
        mapping.ajustarJanela(0, 0, 200, 200);
        mapping.imprimindo = imprimindo;
        {
            QPainter painter(&image);
            Canvas canvas(painter, mapping);
            canvas.desenhaMarcador(4, 0, 2, { 100, 100 });
        }
        return image.pixelColor(60, 105);
    };
    QCOMPARE(ringAt40(true), Red);
    QCOMPARE(ringAt40(false), Black);
}

void TestPaintDrawing::resultLinesPrintBlackOnlyWhenAsked()
{
    // Paper is white: the palette's white prints black in every view; the results view asks for
    // every line black in print.
    auto lineColour = [](bool imprimindo, bool pretas, int cor) {
        Picture picture(Green);
        picture.mapping.imprimindo = imprimindo;
        {
            QPainter painter(&picture.image);
            Canvas canvas(painter, picture.mapping);
            canvas.setLinhasPretasNaImpressao(pretas);
            canvas.desenhaSegmento(cor, 1, 0, { 0, 50 }, { 100, 50 });
        }
        return picture.at(50, 50);
    };
    QCOMPARE(lineColour(true, true, 4), Black);
    QCOMPARE(lineColour(false, true, 15), White);
    QCOMPARE(lineColour(true, false, 15), Black);
    QCOMPARE(lineColour(true, false, 4), Red);
}

void TestPaintDrawing::renderDrawingShowsTheWholeDrawingAtTheRequestedSize()
{
    // 200 × 100 with 3 % margins in 424 × 212 pixels: 2 pixels per unit, origin at (12, 206).
    DrawingData drawing;
    drawing.segmentos.pushFront(Segmento { { 0, 0 }, { 200, 0 } });
    drawing.segmentos.pushFront(Segmento { { 0, 100 }, { 200, 100 } });
    const QImage image = tarvex::paint::renderDrawing(drawing, QSize(424, 212));
    QCOMPARE(image.size(), QSize(424, 212));
    QCOMPARE(image.pixelColor(5, 100), Black);
    QCOMPARE(image.pixelColor(212, 100), Black);
    bool bottom = false;
    bool top = false;
    for (int dy = -1; dy <= 1; ++dy) {
        bottom = bottom || image.pixelColor(212, 206 + dy) == White;
        top = top || image.pixelColor(212, 6 + dy) == White;
    }
    QVERIFY(bottom);
    QVERIFY(top);

    const QImage empty = tarvex::paint::renderDrawing(DrawingData {}, QSize(50, 40));
    QCOMPARE(empty.size(), QSize(50, 40));
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            QCOMPARE(empty.pixelColor(x, y), Black);
}

QTEST_MAIN(TestPaintDrawing)
#include "test_paint_drawing.moc"
