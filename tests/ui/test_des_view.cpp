#include "common/dlg_escala.h"
#include "drawing/des_doc.h"
#include "drawing/des_view.h"
#include "helpers/scripted_prompter.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRubberBand>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;
using tarvex::geometry::Segmento;

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Green(0, 255, 0);

/// A drawing view of a 400 × 400 client area over a document holding one segment.
struct Fixture {
    CDesDoc doc;
    ScriptedPrompter prompter;
    CDesView view { doc, prompter };

    explicit Fixture(Segmento segment = { { 0, 0 }, { 100, 100 } })
    {
        doc.data().segmentos.pushFront(segment);
        view.resize(400, 400);
    }

    bool show()
    {
        view.show();
        return QTest::qWaitForWindowExposed(&view);
    }
};

void compareWindow(const Caixa& actual, const Caixa& expected)
{
    QCOMPARE(actual.xMin, expected.xMin);
    QCOMPARE(actual.yMin, expected.yMin);
    QCOMPARE(actual.xMax, expected.xMax);
    QCOMPARE(actual.yMax, expected.yMax);
}

/// Runs `interact` on the "Escala" dialog once the view's modal loop has started.
void onEscalaDialog(CDesView& view, std::function<void(CDlgEscala&)> interact)
{
    QTimer::singleShot(0, &view, [&view, interact] {
        auto* dialog = view.findChild<CDlgEscala*>();
        QVERIFY(dialog != nullptr);
        interact(*dialog);
    });
}

void clickOk(CDlgEscala& dialog)
{
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

} // namespace

class TestDesView : public QObject {
    Q_OBJECT
private slots:
    void firstShowZoomsToExtentsAndNormalReturnsThere();
    void normalOnEmptyDrawingKeepsTheWindow();
    void zoomRubberBandBecomesTheOrderedWindow();
    void zoomIgnoresADragWithoutArea_data();
    void zoomIgnoresADragWithoutArea();
    void dragOutsideZoomModeDoesNotZoom();
    void mouseMoveReportsTheWorldPosition();
    void escalaOkStoresWindowAndScaleFactor();
    void escalaCancelChangesNothing();
    void escalaRefusesBadValuesAndStaysOpen_data();
    void escalaRefusesBadValuesAndStaysOpen();
    void redesenharDrawsOverThePictureWithoutClearing();
    void printingFitsTheSameWindowToThePageAndRestoresTheScreen();
};

void TestDesView::firstShowZoomsToExtentsAndNormalReturnsThere()
{
    Fixture f({ { 0, 0 }, { 100, 10 } });
    QVERIFY(f.show());
    compareWindow(f.view.janela(), { -3, -0.3, 103, 10.3 });
    QTRY_COMPARE(f.view.mapping().xMin(), -3.0);
    QCOMPARE(f.view.mapping().yMax() - f.view.mapping().yMin(), 106.0);

    f.view.setJanela({ 10, 10, 20, 20 });
    f.view.zoomNormal();
    compareWindow(f.view.janela(), { -3, -0.3, 103, 10.3 });
}

void TestDesView::normalOnEmptyDrawingKeepsTheWindow()
{
    Fixture f;
    f.doc.data().segmentos.clear();
    f.view.setJanela({ 1, 2, 3, 4 });
    f.view.zoomNormal();
    compareWindow(f.view.janela(), { 1, 2, 3, 4 });
}

void TestDesView::zoomRubberBandBecomesTheOrderedWindow()
{
    Fixture f; // window −3..103 in both axes over 400 pixels: 0.265 units per pixel
    QVERIFY(f.show());
    QCOMPARE(f.view.modoMouse(), CDesView::ModoInicial);
    f.view.iniciarZoom();
    QCOMPARE(f.view.modoMouse(), CDesView::ModoZoom);

    const Ponto a = f.view.mapping().paraMundo(300, 100);
    const Ponto b = f.view.mapping().paraMundo(100, 300);
    // Dragged from bottom right to top left: the window still comes out ordered.
    QTest::mousePress(&f.view, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(&f.view, QPoint(200, 200));
    QTest::mouseRelease(&f.view, Qt::LeftButton, {}, QPoint(100, 100));
    const Caixa janela = f.view.janela();
    QCOMPARE(janela.xMin, b.x);
    QCOMPARE(janela.xMax, a.x);
    QCOMPARE(janela.yMin, b.y);
    QCOMPARE(janela.yMax, a.y);
    QCOMPARE(f.view.mapping().xMin(), b.x);
    QCOMPARE(f.view.mapping().yMax(), a.y);
    QVERIFY(!f.view.findChild<QRubberBand*>()->isVisible());
}

void TestDesView::zoomIgnoresADragWithoutArea_data()
{
    QTest::addColumn<QPoint>("release");
    QTest::newRow("click") << QPoint(150, 150);
    QTest::newRow("same column") << QPoint(150, 300);
    QTest::newRow("same row") << QPoint(20, 150);
}

void TestDesView::zoomIgnoresADragWithoutArea()
{
    QFETCH(QPoint, release);
    Fixture f;
    QVERIFY(f.show());
    const Caixa before = f.view.janela();
    f.view.iniciarZoom();
    QTest::mousePress(&f.view, Qt::LeftButton, {}, QPoint(150, 150));
    QTest::mouseRelease(&f.view, Qt::LeftButton, {}, release);
    compareWindow(f.view.janela(), before);
    QVERIFY(f.view.mapping().xMax() > f.view.mapping().xMin());
}

void TestDesView::dragOutsideZoomModeDoesNotZoom()
{
    Fixture f;
    QVERIFY(f.show());
    const Caixa before = f.view.janela();
    QTest::mousePress(&f.view, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&f.view, Qt::LeftButton, {}, QPoint(200, 200));
    compareWindow(f.view.janela(), before);
}

void TestDesView::mouseMoveReportsTheWorldPosition()
{
    QCOMPARE(CDesView::textoPosicao(1.5, -0.25), QStringLiteral("posição : (  1.500, -0.250)"));
    QCOMPARE(
        CDesView::textoPosicao(12345.6789, 0), QStringLiteral("posição : (12345.679,  0.000)"));

    Fixture f; // window −3..103 in both axes
    QVERIFY(f.show());
    QSignalSpy spy(&f.view, &CDesView::posicaoAlterada);
    QTest::mouseMove(&f.view, QPoint(200, 200));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("posição : ( 50.000, 50.000)"));
    // Column 0 is the window's left edge (QTest reads (0, 0) as "centre").
    QTest::mouseMove(&f.view, QPoint(0, 399));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("posição : ( -3.000, -2.735)"));
}

void TestDesView::escalaOkStoresWindowAndScaleFactor()
{
    Fixture f;
    QVERIFY(f.show());
    f.view.setJanela({ -1, -2, 5, 6 });
    QString shown;
    onEscalaDialog(f.view, [&shown](CDlgEscala& dialog) {
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Escala"));
        shown = QStringList { dialog.campoXMin()->text(), dialog.campoXMax()->text(),
            dialog.campoYMin()->text(), dialog.campoYMax()->text(), dialog.campoFator()->text() }
                    .join(' ');
        dialog.campoXMin()->setText(QStringLiteral("10"));
        dialog.campoXMax()->setText(QStringLiteral("30,5"));
        dialog.campoYMin()->setText(QStringLiteral("-4"));
        dialog.campoYMax()->setText(QStringLiteral(" 16 "));
        dialog.campoFator()->setText(QStringLiteral("1e6"));
        clickOk(dialog);
    });
    f.view.ajusteManual();

    QCOMPARE(shown, QStringLiteral("-1 5 -2 6 1000"));
    compareWindow(f.view.janela(), { 10, -4, 30.5, 16 });
    QCOMPARE(f.doc.data().fatorEscala, 1e6);
    QVERIFY(f.prompter.warnings.isEmpty());
    // Fitted to the square view on the next paint: 20.5 wide, so y widens about its centre.
    QTRY_COMPARE(f.view.mapping().xMin(), 10.0);
    QCOMPARE(f.view.mapping().yMin(), -4.25);
}

void TestDesView::escalaCancelChangesNothing()
{
    Fixture f;
    QVERIFY(f.show());
    f.view.setJanela({ -1, -2, 5, 6 });
    onEscalaDialog(f.view, [](CDlgEscala& dialog) {
        dialog.campoXMin()->setText(QStringLiteral("0"));
        dialog.campoFator()->setText(QStringLiteral("7"));
        dialog.reject();
    });
    f.view.ajusteManual();
    compareWindow(f.view.janela(), { -1, -2, 5, 6 });
    QCOMPARE(f.doc.data().fatorEscala, 1000.0);
}

void TestDesView::escalaRefusesBadValuesAndStaysOpen_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    const QString notNumber = QStringLiteral(" Digite um número válido em todos os campos !");
    QTest::newRow("word") << "xMinimo"
                          << "abc" << notNumber;
    QTest::newRow("empty") << "yMaximo"
                           << "" << notNumber;
    QTest::newRow("infinite") << "xMaximo"
                              << "inf" << notNumber;
    QTest::newRow("x reversed") << "xMinimo"
                                << "5"
                                << " X mínimo deve ser menor que X máximo !";
    QTest::newRow("y equal") << "yMinimo"
                             << "6"
                             << " Y mínimo deve ser menor que Y máximo !";
    QTest::newRow("zero scale") << "fatorEscala"
                                << "0"
                                << " Fator Escala deve ser maior que zero !";
    QTest::newRow("negative scale") << "fatorEscala"
                                    << "-2"
                                    << " Fator Escala deve ser maior que zero !";
}

void TestDesView::escalaRefusesBadValuesAndStaysOpen()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    Fixture f;
    QVERIFY(f.show());
    f.view.setJanela({ -1, -2, 5, 6 });
    bool stayedOpen = false;
    onEscalaDialog(f.view, [&](CDlgEscala& dialog) {
        dialog.findChild<QLineEdit*>(field)->setText(text);
        clickOk(dialog);
        stayedOpen = dialog.isVisible();
        dialog.reject();
    });
    f.view.ajusteManual();
    QVERIFY(stayedOpen);
    QCOMPARE(f.prompter.warnings, QStringList { warning });
    compareWindow(f.view.janela(), { -1, -2, 5, 6 });
    QCOMPARE(f.doc.data().fatorEscala, 1000.0);
}

void TestDesView::redesenharDrawsOverThePictureWithoutClearing()
{
    Fixture f({ { 0, 50 }, { 100, 50 } }); // a horizontal line through the middle, never shown
    QImage image(400, 400, QImage::Format_RGB32);
    auto render = [&] {
        image.fill(Green);
        f.view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    };

    f.view.redesenhar();
    render();
    QCOMPARE(image.pixelColor(200, 50), Green);
    bool line = false;
    for (int y = 195; y <= 205; ++y)
        line = line || image.pixelColor(200, y) == White;
    QVERIFY(line);

    render(); // an ordinary paint clears again
    QCOMPARE(image.pixelColor(200, 50), Black);
}

void TestDesView::printingFitsTheSameWindowToThePageAndRestoresTheScreen()
{
    Fixture f({ { 0, 0 }, { 100, 0 } });
    QVERIFY(f.show());
    QTRY_COMPARE(f.view.mapping().width(), 400.0);
    const Caixa screen { f.view.mapping().xMin(), f.view.mapping().yMin(), f.view.mapping().xMax(),
        f.view.mapping().yMax() };

    // A page twice as wide as high, at ten times screen resolution.
    QImage page(800, 400, QImage::Format_RGB32);
    page.setDotsPerMeterX(37795);
    page.setDotsPerMeterY(37795);
    page.fill(Green);
    f.view.imprimirEm(page, page.rect());

    // The window (−3..103 wide, nothing high) fills the page's width; the line is 10 px thick.
    // The page is white paper, and the drawing's white lines print black.
    QCOMPARE(page.pixelColor(2, 200), White);
    QCOMPARE(page.pixelColor(400, 200), Black);
    QCOMPARE(page.pixelColor(400, 196), Black);
    QCOMPARE(page.pixelColor(400, 180), White);

    QVERIFY(!f.view.mapping().imprimindo);
    QCOMPARE(f.view.mapping().width(), 400.0);
    compareWindow({ f.view.mapping().xMin(), f.view.mapping().yMin(), f.view.mapping().xMax(),
                      f.view.mapping().yMax() },
        screen);
}

QTEST_MAIN(TestDesView)
#include "test_des_view.moc"
