#include "geometry/drawing.h"
#include "paint/view_mapping.h"
#include "paint/view_palette.h"

#include <QtTest>

#include <cmath>

using tarvex::geometry::Arco;
using tarvex::geometry::Caixa;
using tarvex::geometry::DrawingData;
using tarvex::geometry::Ponto;
using tarvex::geometry::Segmento;
using tarvex::paint::ViewMapping;
using tarvex::paint::ViewPalette;

Q_DECLARE_METATYPE(Caixa)

namespace {

ViewMapping fitted(double w, double h, const Caixa& request)
{
    ViewMapping m;
    m.setTargetSize(w, h);
    m.ajustarJanela(request.xMin, request.yMin, request.xMax, request.yMax);
    return m;
}

double scaleX(const ViewMapping& m)
{
    return m.width() / (m.xMax() - m.xMin());
}
double scaleY(const ViewMapping& m)
{
    return m.height() / (m.yMax() - m.yMin());
}

} // namespace

class TestViewMapping : public QObject {
    Q_OBJECT
private slots:
    void fitWidensTheNarrowAxisAroundTheRequestedCentre_data();
    void fitWidensTheNarrowAxisAroundTheRequestedCentre();
    void fitWithNoTargetOrNoExtentKeepsTheRequestAndConversionsStayFinite();
    void pixelOriginIsTopLeftOfTheWindow();
    void pixelAndWorldRoundTrip();
    void paraPixelRoundsToNearestAndClampsFarPoints();
    void normalAddsThreePercentMarginsAndFitsWideDrawing();
    void normalCoversArcsByTheirExtent();
    void normalOnEmptyDrawingKeepsPreviousWindow();
    void normalOnSingleSpotCentresAWindowWithExtent();
    void paletteIndexOutsideTableUsesLastEntry();
};

void TestViewMapping::fitWidensTheNarrowAxisAroundTheRequestedCentre_data()
{
    QTest::addColumn<double>("w");
    QTest::addColumn<double>("h");
    QTest::addColumn<Caixa>("request");
    QTest::addColumn<Caixa>("expected");
    // Relatively taller request: y kept, x widened about its centre.
    QTest::newRow("taller") << 400.0 << 200.0 << Caixa { 0, 0, 10, 10 } << Caixa { -5, 0, 15, 10 };
    // Relatively wider request: x kept, y widened about its centre.
    QTest::newRow("wider") << 200.0 << 400.0 << Caixa { 0, 0, 10, 10 } << Caixa { 0, -5, 10, 15 };
    QTest::newRow("same ratio kept")
        << 300.0 << 150.0 << Caixa { 1, 2, 5, 4 } << Caixa { 1, 2, 5, 4 };
    // A request with no height is the widest possible: its height comes from the width.
    QTest::newRow("no height") << 100.0 << 50.0 << Caixa { 0, 7, 10, 7 }
                               << Caixa { 0, 4.5, 10, 9.5 };
    QTest::newRow("no width") << 100.0 << 50.0 << Caixa { 3, 0, 3, 10 } << Caixa { -7, 0, 13, 10 };
}

void TestViewMapping::fitWidensTheNarrowAxisAroundTheRequestedCentre()
{
    QFETCH(double, w);
    QFETCH(double, h);
    QFETCH(Caixa, request);
    QFETCH(Caixa, expected);
    const ViewMapping m = fitted(w, h, request);
    QCOMPARE(m.xMin(), expected.xMin);
    QCOMPARE(m.xMax(), expected.xMax);
    QCOMPARE(m.yMin(), expected.yMin);
    QCOMPARE(m.yMax(), expected.yMax);
    QVERIFY(std::abs(scaleX(m) - scaleY(m)) < 1e-9 * scaleX(m));
    QCOMPARE(m.xMaxPedido(), request.xMax);
    QCOMPARE(m.yMaxPedido(), request.yMax);
}

void TestViewMapping::fitWithNoTargetOrNoExtentKeepsTheRequestAndConversionsStayFinite()
{
    for (const auto& [w, h, request] : { std::tuple { 0.0, 300.0, Caixa { 0, 0, 10, 20 } },
             std::tuple { 300.0, 0.0, Caixa { 0, 0, 10, 20 } },
             std::tuple { 300.0, 200.0, Caixa { 4, 4, 4, 4 } } }) {
        const ViewMapping m = fitted(w, h, request);
        QCOMPARE(m.xMin(), request.xMin);
        QCOMPARE(m.xMax(), request.xMax);
        QCOMPARE(m.yMin(), request.yMin);
        QCOMPARE(m.yMax(), request.yMax);
        const Ponto p = m.paraMundo(10, 10);
        QVERIFY(std::isfinite(p.x) && std::isfinite(p.y));
        m.paraPixel(1.0, 2.0); // must not divide by zero or overflow
    }
}

void TestViewMapping::pixelOriginIsTopLeftOfTheWindow()
{
    const ViewMapping m = fitted(400, 200, { 0, 0, 10, 10 });
    const Ponto topLeft = m.paraMundo(0, 0);
    QCOMPARE(topLeft.x, m.xMin());
    QCOMPARE(topLeft.y, m.yMax());
    const Ponto bottomRight = m.paraMundo(400, 200);
    QCOMPARE(bottomRight.x, m.xMax());
    QCOMPARE(bottomRight.y, m.yMin());
}

void TestViewMapping::pixelAndWorldRoundTrip()
{
    const ViewMapping m = fitted(640, 480, { -12.5, 3, 87.25, 41 });
    for (int px : { 0, 1, 17, 320, 639 })
        for (int py : { 0, 5, 240, 479 }) {
            const Ponto p = m.paraMundo(px, py);
            QCOMPARE(m.paraPixel(p), QPoint(px, py));
        }
    const Ponto centre { (m.xMin() + m.xMax()) / 2, (m.yMin() + m.yMax()) / 2 };
    QCOMPARE(m.paraPixel(centre), QPoint(320, 240));
}

void TestViewMapping::paraPixelRoundsToNearestAndClampsFarPoints()
{
    const ViewMapping m = fitted(100, 100, { 0, 0, 100, 100 });
    QCOMPARE(m.paraPixel(10.4, 89.6), QPoint(10, 10));
    QCOMPARE(m.paraPixel(10.6, 89.4), QPoint(11, 11));
    const QPoint far = m.paraPixel(1e300, -1e300);
    QVERIFY(far.x() > 1000000 && far.y() > 1000000);
}

void TestViewMapping::normalAddsThreePercentMarginsAndFitsWideDrawing()
{
    DrawingData drawing;
    drawing.segmentos.pushFront(Segmento { { 0, 0 }, { 100, 10 } });
    const Caixa janela = tarvex::paint::janelaNormal(drawing, { 0, 0, 1, 1 });
    QCOMPARE(janela.xMin, -3.0);
    QCOMPARE(janela.xMax, 103.0);
    QCOMPARE(janela.yMin, -0.3);
    QCOMPARE(janela.yMax, 10.3);

    const ViewMapping m = fitted(400, 400, janela);
    QCOMPARE(m.xMin(), -3.0);
    QCOMPARE(m.xMax(), 103.0);
    QCOMPARE((m.yMin() + m.yMax()) / 2, 5.0);
    QCOMPARE(m.yMax() - m.yMin(), 106.0);
    QCOMPARE(m.paraPixel(50.0, 5.0), QPoint(200, 200));
}

void TestViewMapping::normalCoversArcsByTheirExtent()
{
    // The upper half of the unit circle about (10, 10): its top reaches y = 11.
    DrawingData drawing;
    drawing.arcos.pushFront(Arco { { 11, 10 }, { 9, 10 }, { 10, 10 } });
    const Caixa janela = tarvex::paint::janelaNormal(drawing, { 0, 0, 1, 1 });
    QCOMPARE(janela.xMin, 9 - 0.06);
    QCOMPARE(janela.xMax, 11 + 0.06);
    QCOMPARE(janela.yMin, 10 - 0.03);
    QCOMPARE(janela.yMax, 11 + 0.03);
}

void TestViewMapping::normalOnEmptyDrawingKeepsPreviousWindow()
{
    const Caixa anterior { -4, 2, 8, 9 };
    const Caixa janela = tarvex::paint::janelaNormal(DrawingData {}, anterior);
    QCOMPARE(janela.xMin, anterior.xMin);
    QCOMPARE(janela.yMin, anterior.yMin);
    QCOMPARE(janela.xMax, anterior.xMax);
    QCOMPARE(janela.yMax, anterior.yMax);
}

void TestViewMapping::normalOnSingleSpotCentresAWindowWithExtent()
{
    DrawingData drawing;
    drawing.pontos.pushFront(Ponto { 50, 60 });
    const Caixa janela = tarvex::paint::janelaNormal(drawing, { 0, 0, 10, 4 });
    QCOMPARE(janela.xMin, 45.0);
    QCOMPARE(janela.xMax, 55.0);
    QCOMPARE(janela.yMin, 58.0);
    QCOMPARE(janela.yMax, 62.0);
}

void TestViewMapping::paletteIndexOutsideTableUsesLastEntry()
{
    QCOMPARE(ViewPalette::entry(0), QColor(0, 0, 200));
    QCOMPARE(ViewPalette::entry(4), QColor(255, 0, 0));
    QCOMPARE(ViewPalette::entry(15), QColor(255, 255, 255));
    QCOMPARE(ViewPalette::entry(28), QColor(255, 128, 0));
    QCOMPARE(ViewPalette::entry(32), QColor(0, 0, 0));
    QCOMPARE(ViewPalette::entry(33), QColor(0, 0, 0));
    QCOMPARE(ViewPalette::entry(-1), QColor(0, 0, 0));
    QCOMPARE(tarvex::paint::penStyle(3), Qt::DashDotLine);
    QCOMPARE(tarvex::paint::penStyle(9), Qt::SolidLine);
}

QTEST_GUILESS_MAIN(TestViewMapping)
#include "test_view_mapping.moc"
