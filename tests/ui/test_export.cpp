#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "drawing/des_view.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_io.h"
#include "problem/problem_data.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using tarvex::geometry::DrawingData;
using tarvex::geometry::Ponto;
using tarvex::problem::AnalysisType;
using tarvex::problem::MarcaDesenho;
using tarvex::problem::ProblemData;

namespace {

const QColor Red(255, 0, 0);

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString coreText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A 10 × 5 rectangle with its corner at the origin.
DrawingData rectangle()
{
    DrawingData drawing;
    const Ponto a { 0, 0 }, b { 10, 0 }, c { 10, 5 }, d { 0, 5 };
    drawing.segmentos.pushFront({ a, b });
    drawing.segmentos.pushFront({ b, c });
    drawing.segmentos.pushFront({ c, d });
    drawing.segmentos.pushFront({ d, a });
    return drawing;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rectangleIsWrittenAndOpensAsAProblem();
    void exportOverAnOpenProblemShowsTheNewRegions();
    void cancelWritesNothing();
    void drawingWithNothingClosedWarnsAndWritesNothing();
    void unwritableTargetWarnsAndOpensNothing();
    void removedElementsAreMarkedInTheView();
    void unresolvedCrossingIsToldWithItsPlaceAndMarked();

private:
    CDesFrame* openDrawing(const QString& name, DrawingData drawing);
    QList<CDatFrame*> problemFrames() const;

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestExport::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestExport::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestExport::cleanup()
{
    m_app.reset();
    flushDeletes();
}

CDesFrame* TestExport::openDrawing(const QString& name, DrawingData drawing)
{
    const QString path = m_dir.filePath(name);
    if (!tarvex::geometry::saveDrawing(path.toStdString(), drawing).ok)
        return nullptr;
    return qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("des")));
}

QList<CDatFrame*> TestExport::problemFrames() const
{
    QList<CDatFrame*> frames;
    for (CChildFrame* frame : m_app->mainFrame()->filhos())
        if (auto* dat = qobject_cast<CDatFrame*>(frame))
            frames << dat;
    return frames;
}

void TestExport::rectangleIsWrittenAndOpensAsAProblem()
{
    DrawingData drawing = rectangle();
    drawing.fatorEscala = 25.4;
    CDesFrame* frame = openDrawing(QStringLiteral("ret.des"), drawing);
    QVERIFY(frame);
    // The view looks elsewhere: the file still gets the window of a zoom to the extents.
    frame->view()->setJanela({ 100, 100, 200, 200 });

    // A name chosen with ".des" is written as ".dat".
    m_chooser->answers = { m_dir.filePath(QStringLiteral("saida.des")) };
    QVERIFY(frame->exportarDat());
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    QVERIFY(m_chooser->requests[0].save);
    QCOMPARE(m_chooser->requests[0].proposedPath, m_dir.filePath(QStringLiteral("ret.dat")));
    QCOMPARE(m_chooser->requests[0].filter, QStringLiteral("Arquivos (*.dat)"));
    QCOMPARE(m_chooser->requests[0].defaultSuffix, QStringLiteral("dat"));
    const QString written = m_dir.filePath(QStringLiteral("saida.dat"));
    QVERIFY(QFileInfo::exists(written));
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("saida.des"))));

    // The interior first, the outer contour last in the drawing's regions.
    QCOMPARE(frame->doc().regioes().size(), std::size_t { 2 });
    // The view was zoomed to the extents: 10 × 5 widened by 3 %.
    QCOMPARE(frame->view()->janela().xMin, -0.3);
    QCOMPARE(frame->view()->janela().yMax, 5.15);

    ProblemData read;
    QVERIFY(tarvex::problem::openDat(written.toStdString(), read).ok);
    QCOMPARE(read.regioes.size(), std::size_t { 2 });
    QCOMPARE(read.fatorEscala, 25.4);
    QCOMPARE(read.janela[0], -0.3);
    QCOMPARE(read.janela[1], 10.3);
    QCOMPARE(read.janela[2], -0.15);
    QCOMPARE(read.janela[3], 5.15);
    QCOMPARE(read.tipoAnalise, AnalysisType::Magnetic);

    const QList<CDatFrame*> opened = problemFrames();
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened[0]->doc().path(), written);
    QCOMPARE(opened[0]->doc().data().regioes.size(), std::size_t { 2 });
    QCOMPARE(m_app->mainFrame()->filhoAtivo(), opened[0]);
}

void TestExport::exportOverAnOpenProblemShowsTheNewRegions()
{
    CDesFrame* frame = openDrawing(QStringLiteral("duas.des"), rectangle());
    QVERIFY(frame);
    const QString target = m_dir.filePath(QStringLiteral("duas.dat"));
    m_chooser->answers = { target, target };
    QVERIFY(frame->exportarDat());
    QCOMPARE(problemFrames().size(), 1);
    CDatFrame* problem = problemFrames().first();
    QCOMPARE(problem->doc().data().regioes.size(), std::size_t { 2 });

    // A cut line across the rectangle makes two interior regions.
    frame->doc().data().segmentos.pushFront({ { 5, -1 }, { 5, 6 } });
    m_app->mainFrame()->ativar(frame);
    QVERIFY(frame->exportarDat());
    QCOMPARE(problemFrames(), QList<CDatFrame*> { problem });
    QCOMPARE(problem->doc().data().regioes.size(), std::size_t { 3 });
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestExport::cancelWritesNothing()
{
    CDesFrame* frame = openDrawing(QStringLiteral("cancela.des"), rectangle());
    QVERIFY(frame);
    QVERIFY(!frame->exportarDat());
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("cancela.dat"))));
    QVERIFY(problemFrames().isEmpty());
    QVERIFY(m_prompter->warnings.isEmpty());
    // The traced regions stay with the drawing until the next export.
    QCOMPARE(frame->doc().regioes().size(), std::size_t { 2 });
}

void TestExport::drawingWithNothingClosedWarnsAndWritesNothing()
{
    DrawingData loose;
    loose.segmentos.pushFront({ { 0, 0 }, { 10, 0 } });
    loose.pontos.pushFront({ 5, 5 });
    CDesFrame* frame = openDrawing(QStringLiteral("solto.des"), loose);
    QVERIFY(frame);
    // Regions of an earlier export do not survive a failed one.
    frame->doc().regioes().pushFront({});
    m_chooser->answers = { m_dir.filePath(QStringLiteral("solto.dat")) };

    QVERIFY(!frame->exportarDat());
    QCOMPARE(m_prompter->warnings, QStringList { coreText(tarvex::msg::SemContornos) });
    QVERIFY(m_chooser->requests.empty());
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("solto.dat"))));
    QVERIFY(frame->doc().regioes().empty());
    QVERIFY(problemFrames().isEmpty());
}

void TestExport::unwritableTargetWarnsAndOpensNothing()
{
    CDesFrame* frame = openDrawing(QStringLiteral("falha.des"), rectangle());
    QVERIFY(frame);
    const QString target = m_dir.filePath(QStringLiteral("nao/existe.dat"));
    m_chooser->answers = { target };
    QVERIFY(!frame->exportarDat());
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings[0].startsWith(coreText(tarvex::msg::CannotWriteFile)));
    QVERIFY(!QFileInfo::exists(target));
    QVERIFY(problemFrames().isEmpty());
}

void TestExport::removedElementsAreMarkedInTheView()
{
    DrawingData drawing = rectangle();
    // A stub far shorter than the minimum distance, standing off the right side.
    drawing.segmentos.pushFront({ { 10, 2.5 }, { 10.5, 2.5 } });
    CDesFrame* frame = openDrawing(QStringLiteral("marcas.des"), drawing);
    QVERIFY(frame);
    frame->doc().data().distanciaMinima = 1.0;
    CDesView* view = frame->view();
    QVERIFY(QTest::qWaitForWindowExposed(view));

    QVERIFY(!frame->exportarDat()); // cancelled at the file dialog
    std::size_t removed = 0, contours = 0;
    for (const MarcaDesenho& marca : view->marcas()) {
        if (marca.cor == 4 && marca.largura == 1)
            ++removed;
        if (marca.cor == 15)
            ++contours;
    }
    QCOMPARE(removed, std::size_t { 1 });
    QCOMPARE(contours, std::size_t { 8 }); // two regions of four sides each

    // The stub shows red over the white drawing until the next export.
    const QImage picture = view->grab().toImage();
    const QPoint stub = view->mapping().paraPixel(10.3, 2.5);
    QCOMPARE(picture.pixelColor(stub), Red);

    auto& segments = frame->doc().data().segmentos;
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (segments.at(i).P2.x == 10.5)
            segments.eraseAt(i);
    QCOMPARE(segments.size(), std::size_t { 4 });
    QVERIFY(!frame->exportarDat());
    QVERIFY(std::none_of(view->marcas().begin(), view->marcas().end(),
        [](const MarcaDesenho& m) { return m.cor == 4; }));
}

void TestExport::unresolvedCrossingIsToldWithItsPlaceAndMarked()
{
    // A circle of radius 5 touching the bottom of the rectangle at (5, 0).
    DrawingData drawing = rectangle();
    drawing.arcos.pushFront({ { 10, 5 }, { 0, 5 }, { 5, 5 } });
    drawing.arcos.pushFront({ { 0, 5 }, { 10, 5 }, { 5, 5 } });
    CDesFrame* frame = openDrawing(QStringLiteral("tangente.des"), drawing);
    QVERIFY(frame);
    QVERIFY(!frame->exportarDat());
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY2(m_prompter->warnings[0].startsWith(coreText(tarvex::msg::CruzamentoNaoResolvido))
            && m_prompter->warnings[0].contains(QStringLiteral("(5, ")),
        qPrintable(m_prompter->warnings[0]));
    QVERIFY(m_chooser->requests.empty());
    const auto& marcas = frame->view()->marcas();
    const auto wide = std::count_if(marcas.begin(), marcas.end(),
        [](const MarcaDesenho& m) { return m.cor == 4 && m.largura == 2; });
    QCOMPARE(wide, 2); // a cross over the place
}

QTEST_MAIN(TestExport)
#include "test_export.moc"
