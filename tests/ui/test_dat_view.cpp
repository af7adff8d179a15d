#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/dlg_escala.h"
#include "common/messages.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "paint/canvas.h"
#include "paint/paint_problem.h"
#include "paint/view_mapping.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_io.h"
#include "problem/dat_view.h"
#include "problem/problem_data.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using tarvex::geometry::Ponto;
using tarvex::paint::Canvas;
using tarvex::paint::ViewMapping;
using tarvex::problem::AnalysisType;
using tarvex::problem::ProblemData;
using tarvex::problem::Regiao;
using tarvex::problem::SegmentoContorno;
using Answer = Prompter::Answer;

namespace {

const QColor Black(0, 0, 0);
const QColor White(255, 255, 255);
const QColor Source(255, 0, 0);
const QColor Magnet(129, 0, 0);
const QColor Material(64, 191, 156);

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// A closed square outline, walked counterclockwise.
void addSquare(Regiao& region, double x0, double y0, double x1, double y1)
{
    const Ponto a { x0, y0 }, b { x1, y0 }, c { x1, y1 }, d { x0, y1 };
    region.segmentos.pushFront(SegmentoContorno::reta(a, b));
    region.segmentos.pushFront(SegmentoContorno::reta(b, c));
    region.segmentos.pushFront(SegmentoContorno::reta(c, d));
    region.segmentos.pushFront(SegmentoContorno::reta(d, a));
}

Regiao square(double x0, double y0, double x1, double y1)
{
    Regiao region;
    addSquare(region, x0, y0, x1, y1);
    return region;
}

/// A problem on the world square 0..100: the outer contour first, then `inner` in list order.
ProblemData problemWith(std::vector<Regiao> inner, AnalysisType analise = AnalysisType::Magnetic)
{
    ProblemData data;
    data.tipoAnalise = analise;
    for (auto r = inner.rbegin(); r != inner.rend(); ++r)
        data.regioes.pushFront(*r);
    data.regioes.pushFront(square(0, 0, 100, 100));
    data.janela = { 0, 100, 0, 100 };
    data.derivarListas();
    return data;
}

/// The structure painted on a 100 × 100 picture of the world 0..100: world (x, y) is pixel
/// (x, 100 − y).
QImage paint(const ProblemData& data)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::green);
    ViewMapping mapping;
    mapping.setTargetSize(100, 100);
    mapping.ajustarJanela(0, 0, 100, 100);
    QPainter painter(&image);
    Canvas canvas(painter, mapping);
    tarvex::paint::paintProblem(canvas, data);
    return image;
}

QColor at(const QImage& image, double x, double y)
{
    return image.pixelColor(static_cast<int>(x), static_cast<int>(100 - y));
}

std::array<double, 4> storedWindow(const QString& path)
{
    ProblemData read;
    if (!tarvex::problem::openDat(path.toStdString(), read).ok)
        return {};
    return read.janela;
}

} // namespace

class TestDatView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void regionFillShowsItsKindForTheAnalysis_data();
    void regionFillShowsItsKindForTheAnalysis();
    void innerRegionsStayVisibleWhateverTheListOrder();
    void aRingInsideARegionIsAHole();
    void arcWithSentidoZeroIsDrawnTheOtherWayRound();
    void renderStartsAtTheStoredWindowOrTheExtentWhenItIsBroken();

    void datOpensInItsOwnFrameWithTheProblemMenus();
    void unreadableDatWarnsAndOpensNothing();
    void viewStartsAtTheStoredWindowAndShowsThePosition();
    void saveWritesTheShownWindowAndReopenReadsItBack();
    void escalaChangesScaleFactorAndCloseAsks();
    void abrirDatAsksForDatFiles();

private:
    QString writeProblem(const QString& name, const ProblemData& data);
    CDatFrame* open(const QString& path);

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestDatView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestDatView::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestDatView::cleanup()
{
    m_app.reset();
    flushDeletes();
}

QString TestDatView::writeProblem(const QString& name, const ProblemData& data)
{
    const QString path = m_dir.filePath(name);
    return tarvex::problem::saveDat(path.toStdString(), data).ok ? path : QString();
}

CDatFrame* TestDatView::open(const QString& path)
{
    return qobject_cast<CDatFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dat")));
}

void TestDatView::regionFillShowsItsKindForTheAnalysis_data()
{
    QTest::addColumn<bool>("electric");
    QTest::addColumn<double>("densCorrente");
    QTest::addColumn<double>("densCargas");
    QTest::addColumn<double>("brY");
    QTest::addColumn<double>("permRelativa");
    QTest::addColumn<double>("permissividade");
    QTest::addColumn<bool>("linear");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("magnetic: current source")
        << false << 2.0 << 0.0 << 0.0 << 1.0 << 1.0 << true << Source;
    QTest::newRow("magnetic: charge is no source")
        << false << 0.0 << 3.0 << 0.0 << 1.0 << 1.0 << true << Black;
    QTest::newRow("magnetic: source beats magnet and iron")
        << false << -1.0 << 0.0 << 0.5 << 900.0 << 1.0 << true << Source;
    QTest::newRow("magnetic: magnet")
        << false << 0.0 << 0.0 << -0.5 << 900.0 << 1.0 << true << Magnet;
    QTest::newRow("magnetic: iron")
        << false << 0.0 << 0.0 << 0.0 << 900.0 << 1.0 << true << Material;
    QTest::newRow("magnetic: permittivity ignored")
        << false << 0.0 << 0.0 << 0.0 << 1.0 << 5.0 << true << Black;
    QTest::newRow("magnetic: below one is no material")
        << false << 0.0 << 0.0 << 0.0 << 0.5 << 1.0 << true << Black;
    QTest::newRow("magnetic: non-linear")
        << false << 0.0 << 0.0 << 0.0 << 1.0 << 1.0 << false << Material;
    QTest::newRow("electric: charge source")
        << true << 0.0 << 3.0 << 0.0 << 1.0 << 1.0 << true << Source;
    QTest::newRow("electric: current is no source")
        << true << 2.0 << 0.0 << 0.0 << 1.0 << 1.0 << true << Black;
    QTest::newRow("electric: no magnets")
        << true << 0.0 << 0.0 << 0.5 << 1.0 << 1.0 << true << Black;
    QTest::newRow("electric: permeability ignored")
        << true << 0.0 << 0.0 << 0.0 << 900.0 << 1.0 << true << Black;
    QTest::newRow("electric: dielectric")
        << true << 0.0 << 0.0 << 0.0 << 1.0 << 4.0 << true << Material;
    QTest::newRow("electric: non-linear")
        << true << 0.0 << 0.0 << 0.0 << 1.0 << 1.0 << false << Material;
}

void TestDatView::regionFillShowsItsKindForTheAnalysis()
{
    QFETCH(bool, electric);
    QFETCH(double, densCorrente);
    QFETCH(double, densCargas);
    QFETCH(double, brY);
    QFETCH(double, permRelativa);
    QFETCH(double, permissividade);
    QFETCH(bool, linear);
    QFETCH(QColor, expected);

    Regiao region = square(20, 20, 80, 80);
    region.densCorrente = densCorrente;
    region.densCargas = densCargas;
    region.brY = brY;
    region.permRelativa = permRelativa;
    region.permissividadeRelativa = permissividade;
    region.linear = linear ? 1 : 0;
    const QImage image = paint(
        problemWith({ region }, electric ? AnalysisType::Electric : AnalysisType::Magnetic));

    QCOMPARE(at(image, 50, 50), expected);
    // Outside the region (inside the outer contour, which is never filled) stays background,
    // and the contours are drawn over the fill.
    QCOMPARE(at(image, 10, 50), Black);
    QCOMPARE(at(image, 20, 50), White);
}

void TestDatView::innerRegionsStayVisibleWhateverTheListOrder()
{
    // The iron region's outline contains the coil and the air pocket (no cut lines).
    Regiao iron = square(10, 10, 90, 90);
    iron.permRelativa = 1000;
    Regiao coil = square(20, 40, 40, 60);
    coil.densCorrente = 1;
    const Regiao air = square(60, 40, 80, 60);

    for (const std::vector<Regiao>& regions :
        { std::vector<Regiao> { iron, coil, air }, std::vector<Regiao> { coil, air, iron } }) {
        const QImage image = paint(problemWith(regions));
        QCOMPARE(at(image, 50, 80), Material);
        QCOMPARE(at(image, 30, 50), Source);
        QCOMPARE(at(image, 70, 50), Black);
    }
}

void TestDatView::aRingInsideARegionIsAHole()
{
    Regiao ring = square(10, 10, 90, 90);
    addSquare(ring, 40, 40, 60, 60);
    ring.permRelativa = 50;
    const QImage image = paint(problemWith({ ring }));
    QCOMPARE(at(image, 25, 50), Material);
    QCOMPARE(at(image, 50, 50), Black);
}

void TestDatView::arcWithSentidoZeroIsDrawnTheOtherWayRound()
{
    // A quarter circle of radius 40 about (50, 50), from (90, 50) to (50, 90).
    SegmentoContorno arc = SegmentoContorno::arco({ 90, 50 }, { 50, 90 }, { 50, 50 });
    const double d = 40.0 / std::sqrt(2.0);
    const auto lit = [&](std::uint8_t sentido, double x, double y) {
        arc.sentido = sentido;
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        ViewMapping mapping;
        mapping.setTargetSize(100, 100);
        mapping.ajustarJanela(0, 0, 100, 100);
        QPainter painter(&image);
        Canvas canvas(painter, mapping);
        canvas.desenhaElemento(15, 1, 0, arc);
        painter.end();
        int count = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                count += image.pixelColor(int(x) + dx, int(100 - y) + dy) == White ? 1 : 0;
        return count > 0;
    };
    QVERIFY(lit(1, 50 + d, 50 + d));
    QVERIFY(!lit(1, 50 - d, 50 - d));
    // Exchanged end points: counterclockwise from (50, 90) round to (90, 50).
    QVERIFY(!lit(0, 50 + d, 50 + d));
    QVERIFY(lit(0, 50 - d, 50 - d));
}

void TestDatView::renderStartsAtTheStoredWindowOrTheExtentWhenItIsBroken()
{
    Regiao coil = square(20, 20, 80, 80);
    coil.densCorrente = 1;
    ProblemData data = problemWith({ coil });
    data.janela = { 20, 80, 20, 80 }; // only the coil: it fills the picture
    QImage image = tarvex::paint::renderProblem(data, QSize(60, 60));
    QCOMPARE(image.pixelColor(30, 30), Source);
    QCOMPARE(image.pixelColor(0, 30), White);

    // A window with no extent would divide by zero: the extent of the regions is shown instead.
    data.janela = { 0, 0, 0, 0 };
    image = tarvex::paint::renderProblem(data, QSize(106, 106));
    QCOMPARE(image.pixelColor(53, 53), Source);
    QCOMPARE(image.pixelColor(3, 53), White); // outer contour at x 0, after a 3 % margin
    QCOMPARE(image.pixelColor(1, 53), Black);
}

void TestDatView::datOpensInItsOwnFrameWithTheProblemMenus()
{
    const QString path
        = writeProblem(QStringLiteral("menus.dat"), problemWith({ square(20, 20, 80, 80) }));
    QVERIFY(!path.isEmpty());
    CDatFrame* frame = open(path);
    QVERIFY(frame);
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(m_app->mainFrame()->filhos(), QList<CChildFrame*> { frame });
    QCOMPARE(frame->doc().data().regioes.size(), std::size_t { 2 });
    QCOMPARE(frame->windowTitle(), QStringLiteral("menus.dat"));
    QCOMPARE(m_app->arquivosRecentes().value(0), QFileInfo(path).absoluteFilePath());

    QStringList titles;
    for (const QMenu* menu : frame->menus())
        titles << menu->title();
    QCOMPARE(titles,
        (QStringList {
            "&Arquivos", "&Exibir", "&Regiões", "&Condições de Contorno", "&Malha", "A&juda" }));
    const auto texts = [](const QMenu* menu) {
        QStringList list;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator())
                list << action->text();
        return list;
    };
    QCOMPARE(texts(frame->menus().at(0)),
        (QStringList { "&Novo *.des", "&Abrir...", "Abrir *.dat", "&Fechar", "&Gravar",
            "Gravar &Como...", "Exportar imagem...", "&Imprimir...", "&Visualizar Impressão...",
            "A&justar Impressora...", "&Fim" }));
    QCOMPARE(texts(frame->menus().at(1)),
        (QStringList { "&Zoom", "&Normal", "&Ajuste Manual", "&Redesenhar", "Atualizar Todas",
            "B&arra de Menus", "Malha", "Estrutura", "Cond. Contorno" }));

    // Opening the same file again activates the frame instead of reading it twice.
    QCOMPARE(open(path), frame);
    QCOMPARE(m_app->mainFrame()->filhos().size(), 1);
}

void TestDatView::unreadableDatWarnsAndOpensNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("ruim.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("versao 09.00.00").leftJustified(100, '\0'));
    file.close();

    QVERIFY(!open(path));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings.first().startsWith(
        QString::fromUtf8(tarvex::msg::DesVersionError.data())));
    QVERIFY(m_app->mainFrame()->filhos().isEmpty());
    QVERIFY(!m_app->arquivosRecentes().contains(QFileInfo(path).absoluteFilePath()));
}

void TestDatView::viewStartsAtTheStoredWindowAndShowsThePosition()
{
    ProblemData data = problemWith({ square(20, 20, 80, 80) });
    data.janela = { -10, 30, 5, 25 };
    CDatFrame* frame = open(writeProblem(QStringLiteral("janela.dat"), data));
    QVERIFY(frame);
    CDatView* view = frame->view();
    QCOMPARE(view->janela().xMin, -10.0);
    QCOMPARE(view->janela().xMax, 30.0);
    QCOMPARE(view->janela().yMin, 5.0);
    QCOMPARE(view->janela().yMax, 25.0);

    QVERIFY(QTest::qWaitForWindowExposed(view));
    QTest::mouseMove(view, QPoint(0, view->height() - 1));
    const Ponto corner = view->mapping().paraMundo(0, view->height() - 1);
    QCOMPARE(frame->painelPosicao()->text(),
        QString::asprintf("posição : (%#7.3f,%#7.3f)", corner.x, corner.y));
    QCOMPARE(corner.x, view->mapping().xMin());

    // "&Normal" shows the regions' extent with 3 % margins.
    view->zoomNormal();
    QCOMPARE(view->janela().xMin, -3.0);
    QCOMPARE(view->janela().xMax, 103.0);
    QCOMPARE(view->janela().yMin, -3.0);
    QCOMPARE(view->janela().yMax, 103.0);
}

void TestDatView::saveWritesTheShownWindowAndReopenReadsItBack()
{
    const QString path
        = writeProblem(QStringLiteral("gravar.dat"), problemWith({ square(20, 20, 80, 80) }));
    CDatFrame* frame = open(path);
    QVERIFY(frame);
    QVERIFY(QTest::qWaitForWindowExposed(frame->view()));
    frame->view()->setJanela({ 10, 20, 50, 60 });
    const std::array<double, 4> shown = frame->view()->janelaMostrada();
    // The shown window is the request fitted to the view, so it holds the request.
    QVERIFY(shown[0] <= 10 && shown[1] >= 50 && shown[2] <= 20 && shown[3] >= 60);

    QVERIFY(frame->gravar());
    QCOMPARE(storedWindow(path), shown);
    QCOMPARE(frame->doc().data().janela, shown);

    QVERIFY(frame->parentWidget()->close());
    flushDeletes();
    CDatFrame* again = open(path);
    QVERIFY(again);
    QCOMPARE(again->view()->janela().xMin, shown[0]);
    QCOMPARE(again->view()->janela().xMax, shown[1]);
    QCOMPARE(again->view()->janela().yMin, shown[2]);
    QCOMPARE(again->view()->janela().yMax, shown[3]);

    // Save As writes the other file and the frame follows it; a failed save keeps both.
    const QString other = m_dir.filePath(QStringLiteral("outro.dat"));
    m_chooser->answers = { other, m_dir.filePath(QStringLiteral("falta/x.dat")) };
    QVERIFY(again->gravarComo());
    QCOMPARE(m_chooser->requests.back().filter, QStringLiteral("Arquivos (*.dat)"));
    QCOMPARE(m_chooser->requests.back().defaultSuffix, QStringLiteral("dat"));
    QCOMPARE(m_chooser->requests.back().proposedPath, path);
    QCOMPARE(again->doc().path(), other);
    QCOMPARE(again->windowTitle(), QStringLiteral("outro.dat"));
    QVERIFY(!again->gravarComo());
    QCOMPARE(m_prompter->warnings.size(), 1);
    QCOMPARE(again->doc().path(), other);
}

void TestDatView::escalaChangesScaleFactorAndCloseAsks()
{
    const QString path
        = writeProblem(QStringLiteral("escala.dat"), problemWith({ square(20, 20, 80, 80) }));
    CDatFrame* frame = open(path);
    QVERIFY(frame);
    QVERIFY(!frame->doc().isModified());
    QVERIFY(frame->parentWidget()->close()); // unmodified: no question
    flushDeletes();
    QVERIFY(m_prompter->saveQuestions.isEmpty());

    frame = open(path);
    CDatView* view = frame->view();
    QTimer::singleShot(0, view, [view] {
        auto* dialog = view->findChild<CDlgEscala*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->campoFator()->text(), QStringLiteral("1000"));
        dialog->campoXMin()->setText(QStringLiteral("1"));
        dialog->campoXMax()->setText(QStringLiteral("2"));
        dialog->campoYMin()->setText(QStringLiteral("3"));
        dialog->campoYMax()->setText(QStringLiteral("4"));
        dialog->campoFator()->setText(QStringLiteral("25.4"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    view->ajusteManual();
    QCOMPARE(frame->doc().data().fatorEscala, 25.4);
    QCOMPARE(view->janela().xMax, 2.0);
    QVERIFY(frame->doc().isModified());

    m_prompter->saveAnswers = { Answer::Cancel, Answer::Save };
    QVERIFY(!frame->parentWidget()->close());
    QCOMPARE(m_prompter->saveQuestions, QStringList { "escala.dat" });
    QVERIFY(frame->parentWidget()->close());
    flushDeletes();
    ProblemData read;
    QVERIFY(tarvex::problem::openDat(path.toStdString(), read).ok);
    QCOMPARE(read.fatorEscala, 25.4);
}

void TestDatView::abrirDatAsksForDatFiles()
{
    const QString first = writeProblem(QStringLiteral("a.dat"), problemWith({}));
    const QString second = writeProblem(QStringLiteral("b.dat"), problemWith({}));
    CDatFrame* frame = open(first);
    QVERIFY(frame);
    m_chooser->answers = { second, QString() };
    frame->abrirDat();
    QCOMPARE(m_chooser->requests.back().filter, QStringLiteral("Arquivos (*.dat)"));
    QCOMPARE(m_chooser->requests.back().defaultSuffix, QStringLiteral("dat"));
    QVERIFY(m_chooser->requests.back().mustExist);
    QCOMPARE(m_app->mainFrame()->filhos().size(), 2);
    frame->abrirDat(); // cancelled
    QCOMPARE(m_app->mainFrame()->filhos().size(), 2);
    QVERIFY(m_prompter->warnings.isEmpty());
}

QTEST_MAIN(TestDatView)
#include "test_dat_view.moc"
