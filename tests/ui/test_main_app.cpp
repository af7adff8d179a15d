#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/child_frame.h"
#include "common/messages.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "drawing/des_view.h"
#include "drawing/trafo_view.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace {

const QString UnknownType = QString::fromUtf8(tarvex::msg::UnknownFileType.data(),
    static_cast<qsizetype>(tarvex::msg::UnknownFileType.size()));

QStringList menuTitles(const QMenuBar* bar)
{
    QStringList titles;
    for (const QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestMainApp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void templatesAreRegisteredInTableOrder();
    void startsMaximisedWithNoDocumentAndTheStartUpMenus();
    void filesAreDispatchedByTheExactDocumentName();
    void dxfOpensAsADrawingAndListsWhatItLeftOut();
    void unreadableDrawingWarnsAndOpensNothing();
    void openDialogPassesPathAndExtensionAndCancelDoesNothing();
    void openingAnOpenPathActivatesItsFrame();
    void menuBarFollowsTheActiveFrame();
    void recentFilesAreKeptNewestFirstAndCapped();
    void recentEntryThatNoLongerOpensLeavesTheList();
    void droppedFilesOpenByExtension();
    void eachArrangementCommandOpensASplitFrameWithoutAPictureFile();
    void arrangementSizes_data();
    void arrangementSizes();
    void exitWithACancelledQuestionKeepsTheProgram();

private:
    QString writeDrawing(const QString& name, int points = 1);
    QList<CChildFrame*> frames() const { return m_app->mainFrame()->filhos(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestMainApp::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestMainApp::init()
{
    QSettings(QStringLiteral("Tarvex Lab"), QStringLiteral("tarvex")).clear();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestMainApp::cleanup()
{
    m_app.reset();
    flushDeletes();
}

QString TestMainApp::writeDrawing(const QString& name, int points)
{
    tarvex::geometry::DrawingData drawing;
    for (int i = 0; i < points; ++i)
        drawing.pontos.pushFront({ double(i), double(2 * i) });
    const QString path = m_dir.filePath(name);
    const tarvex::Status status = tarvex::geometry::saveDrawing(path.toStdString(), drawing);
    return status.ok ? path : QString();
}

void TestMainApp::templatesAreRegisteredInTableOrder()
{
    QList<int> ids;
    QStringList names;
    QStringList extensions;
    for (const DocumentTemplate& t : m_app->modelos()) {
        ids << t.resourceId;
        names << t.documentName();
        extensions << t.filterExtension();
    }
    QCOMPARE(ids, (QList<int> { 129, 130, 135, 134, 131, 133 }));
    QCOMPARE(names, (QStringList { "des", "pre", "dxf", "dat", "msh", "grp" }));
    QCOMPARE(extensions, (QStringList { ".des", ".pre", ".dxf", ".dat", ".msh", ".grp" }));
    QCOMPARE(m_app->modelos().at(3).field(6), QStringLiteral("dat.Document"));
}

void TestMainApp::startsMaximisedWithNoDocumentAndTheStartUpMenus()
{
    CMainFrame* frame = m_app->mainFrame();
    QVERIFY(frame->windowState() & Qt::WindowMaximized);
    QCOMPARE(frame->windowTitle(),
        QStringLiteral("Tarvex - Sistema de Cálculo de Campos Elétricos e Magnéticos por "
                       "Elementos Finitos - versão 1.8 - 2005"));
    QVERIFY(frames().isEmpty());
    QCOMPARE(menuTitles(frame->menuBar()),
        (QStringList { "&Arquivos", "Arranjos Tipicos", "&Exibir", "A&juda" }));
}

void TestMainApp::filesAreDispatchedByTheExactDocumentName()
{
    const QString des = writeDrawing(QStringLiteral("plano.des"), 3);
    QVERIFY(!des.isEmpty());

    // Upper case, an empty extension (a cancelled dialog) and unknown names match nothing.
    QVERIFY(!m_app->abrirPorExtensao(des, QStringLiteral("DES")));
    QVERIFY(!m_app->abrirPorExtensao(des, QString()));
    QVERIFY(!m_app->abrirPorExtensao(des, QStringLiteral("txt")));
    QVERIFY(frames().isEmpty());
    QVERIFY(m_prompter->warnings.isEmpty());

    auto* frame = qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(des, QStringLiteral("des")));
    QVERIFY(frame);
    QCOMPARE(frame->doc().documentType(), QStringLiteral("des"));
    QCOMPARE(frame->doc().data().pontos.size(), std::size_t { 3 });
    QCOMPARE(frame->windowTitle(), QStringLiteral("plano.des"));

    const QString pre = m_dir.filePath(QStringLiteral("ref.pre"));
    QFile::remove(pre);
    QVERIFY(QFile::copy(
        QString::fromLocal8Bit(qgetenv("TARVEX_TEST_DATA")) + QStringLiteral("/reference.pre"),
        pre));
    auto* preFrame = qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(pre, QStringLiteral("pre")));
    QVERIFY(preFrame);
    QCOMPARE(preFrame->doc().documentType(), QStringLiteral("pre"));
    QVERIFY(preFrame->doc().data().segmentos.size() > 0);
    QCOMPARE(frames().size(), 2);
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMainApp::dxfOpensAsADrawingAndListsWhatItLeftOut()
{
    const QString path = m_dir.filePath(QStringLiteral("peca.dxf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n10\n10\n0\n20\n0\n11\n5\n21\n5\n"
               "0\nSPLINE\n0\nENDSEC\n0\nEOF\n");
    file.close();
    m_prompter->warnings.clear();
    auto* frame = qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dxf")));
    QVERIFY(frame);
    QCOMPARE(frame->doc().documentType(), QStringLiteral("dxf"));
    QCOMPARE(frame->doc().data().segmentos.size(), std::size_t { 1 });
    QVERIFY(!frame->doc().data().contagensAlteradas());
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(m_prompter->informations.size(), 1);
    QVERIFY2(m_prompter->informations.first().contains(QStringLiteral("SPLINE : 1")),
        qPrintable(m_prompter->informations.first()));
    QCOMPARE(m_app->arquivosRecentes().size(), 1);
}

void TestMainApp::unreadableDrawingWarnsAndOpensNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("versao.des"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("versao 01.00.01").leftJustified(60, '\0'));
    file.close();
    QVERIFY(!m_app->abrirPorExtensao(path, QStringLiteral("des")));
    QVERIFY(!m_app->abrirPorExtensao(
        m_dir.filePath(QStringLiteral("falta.des")), QStringLiteral("des")));
    QCOMPARE(m_prompter->warnings.size(), 2);
    QVERIFY(m_prompter->warnings.at(0).startsWith(
        QStringLiteral(" Não é possível ler arquivo: erro de versão !")));
    QVERIFY(m_prompter->warnings.at(0).contains(QStringLiteral("versao.des")));
    QVERIFY(frames().isEmpty());
    QVERIFY(m_app->arquivosRecentes().isEmpty());
}

void TestMainApp::openDialogPassesPathAndExtensionAndCancelDoesNothing()
{
    const QString des = writeDrawing(QStringLiteral("dialogo.des"));
    m_chooser->answers = { des, QString() };
    m_app->abrir();
    m_app->abrir();
    QCOMPARE(frames().size(), 1);
    QCOMPARE(m_chooser->requests.size(), std::size_t { 2 });
    const ScriptedFileChooser::Request& request = m_chooser->requests.front();
    QCOMPARE(request.defaultSuffix, QStringLiteral("msh"));
    QVERIFY(request.filter.startsWith(
        QStringLiteral("Todos arquivos tarvex (*.des *.dat *.msh *.dxf *.pre *.grp);;")));
    QVERIFY(request.filter.contains(QStringLiteral("tarvex (*.grp)")));
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMainApp::openingAnOpenPathActivatesItsFrame()
{
    const QString des = writeDrawing(QStringLiteral("unico.des"));
    CChildFrame* first = m_app->abrirPorExtensao(des, QStringLiteral("des"));
    QVERIFY(first);
    m_app->novoDesenho();
    QVERIFY(m_app->mainFrame()->filhoAtivo() != first);

    // Another spelling of the same file.
    const QString again = m_dir.path() + QStringLiteral("/./unico.des");
    QCOMPARE(m_app->abrirPorExtensao(again, QStringLiteral("des")), first);
    QCOMPARE(frames().size(), 2);
    QCOMPARE(m_app->mainFrame()->filhoAtivo(), first);
}

void TestMainApp::menuBarFollowsTheActiveFrame()
{
    CDesFrame* a = m_app->novoDesenho();
    QMenuBar* bar = m_app->mainFrame()->menuBar();
    const QStringList drawingMenus { "&Arquivos", "&Exibir", "Opções", "&Editar", "&Inserir",
        "&Selecionar", "E&xcluir", "Re&produzir", "&Deslocar", "Arranjos Tipicos", "&Janela",
        "A&juda" };
    QCOMPARE(menuTitles(bar), drawingMenus);
    QCOMPARE(bar->actions().first(), a->menus().first()->menuAction());

    CDesFrame* b = m_app->novoDesenho();
    QCOMPARE(bar->actions().first(), b->menus().first()->menuAction());
    QVERIFY(m_app->mainFrame()->windowTitle().endsWith(b->windowTitle() + QLatin1Char(']')));

    a->fechar();
    b->fechar();
    flushDeletes();
    QVERIFY(frames().isEmpty());
    QCOMPARE(
        menuTitles(bar), (QStringList { "&Arquivos", "Arranjos Tipicos", "&Exibir", "A&juda" }));
    QCOMPARE(m_app->mainFrame()->windowTitle(), CMainFrame::tituloPrograma());
}

void TestMainApp::recentFilesAreKeptNewestFirstAndCapped()
{
    QStringList written;
    for (int i = 0; i < 12; ++i)
        written << writeDrawing(QStringLiteral("r%1.des").arg(i));
    for (const QString& path : written)
        QVERIFY(m_app->abrirPorExtensao(path, QStringLiteral("des")));
    // Reopening an open file still moves it to the top, once.
    QVERIFY(m_app->abrirPorExtensao(written.at(5), QStringLiteral("des")));
    m_app->adicionarRecente(written.at(5));

    QStringList recent = m_app->arquivosRecentes();
    QCOMPARE(recent.size(), CMainApp::RecentFileCount);
    QCOMPARE(recent.count(written.at(5)), 1);
    QCOMPARE(recent.at(1), written.at(11));
    QVERIFY(!recent.contains(written.at(0)));

    // The list lives in the settings, so the next session sees it.
    ScriptedPrompter otherPrompter;
    ScriptedFileChooser otherChooser;
    CMainApp next(otherPrompter, otherChooser);
    QCOMPARE(next.arquivosRecentes(), recent);
}

void TestMainApp::recentEntryThatNoLongerOpensLeavesTheList()
{
    const QString gone = writeDrawing(QStringLiteral("sumiu.des"));
    const QString kept = writeDrawing(QStringLiteral("fica.des"));
    m_app->adicionarRecente(kept);
    m_app->adicionarRecente(gone);
    QVERIFY(QFile::remove(gone));

    QMenu* files = m_app->mainFrame()->menusIniciais().first();
    emit files->aboutToShow();
    QAction* first = nullptr;
    for (QAction* action : files->actions()) {
        if (action->text().startsWith(QStringLiteral("&1 ")))
            first = action;
    }
    QVERIFY(first);
    QVERIFY(first->text().endsWith(QStringLiteral("sumiu.des")));
    first->trigger();
    QCOMPARE(m_prompter->warnings.size(), 1);
    QCOMPARE(m_app->arquivosRecentes(), QStringList { kept });
    QVERIFY(frames().isEmpty());
}

void TestMainApp::droppedFilesOpenByExtension()
{
    const QString des = writeDrawing(QStringLiteral("arrastado.des"));
    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(des), QUrl::fromLocalFile(m_dir.filePath("x.txt")) });
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_app->mainFrame(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_app->mainFrame(), &drop);
    QCOMPARE(frames().size(), 1);
    QCOMPARE(frames().first()->documentPath(), des);
}

void TestMainApp::eachArrangementCommandOpensASplitFrameWithoutAPictureFile()
{
    // The picture is painted from the arrangement's geometry: no file is read, none is missed.
    CDesFrame* first = m_app->abrirArranjo(1);
    QVERIFY(first && first->divisor() && first->trafoView());
    QCOMPARE(first->trafoView()->tipoArranjo(), 1);

    CDesFrame* second = m_app->abrirArranjo(1);
    QVERIFY(second && second != first && second->divisor());
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(frames().size(), 2);

    const QSize client = second->size();
    QCOMPARE(
        second->tamanhosIniciais(), CDesFrame::tamanhosArranjo(1, client.width(), client.height()));
    QCOMPARE(second->divisor()->widget(0), second->view());
    QCOMPARE(second->divisorDireito()->widget(0), second->trafoView());

    // Only the frame made by the command is split.
    CDesFrame* plain = m_app->novoDesenho();
    QVERIFY(plain && !plain->divisor());
    QCOMPARE(plain->centralWidget(), plain->view());
}

void TestMainApp::arrangementSizes_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("rightWidth");
    QTest::addColumn<int>("rightHeight");
    QTest::newRow("Tipo 1") << 0 << 1000 << 500 << 400;
    QTest::newRow("Tipo 2") << 1 << 833 << 416 << 500;
    QTest::newRow("Tipo 3") << 2 << 833 << 416 << 500;
    QTest::newRow("Tipo 4") << 3 << 833 << 416 << 615;
}

void TestMainApp::arrangementSizes()
{
    QFETCH(int, tipo);
    QFETCH(int, left);
    QFETCH(int, rightWidth);
    QFETCH(int, rightHeight);
    const CDesFrame::TamanhosArranjo sizes = CDesFrame::tamanhosArranjo(tipo, 1000, 800);
    QCOMPARE(sizes.larguraDesenho, left);
    QCOMPARE(sizes.larguraDireita, rightWidth);
    QCOMPARE(sizes.alturaDireita, rightHeight);
}

void TestMainApp::exitWithACancelledQuestionKeepsTheProgram()
{
    m_app->mainFrame()->show();
    CDesFrame* changed = m_app->novoDesenho();
    m_app->novoDesenho();
    changed->doc().data().pontos.pushFront({ 1, 1 });

    m_prompter->saveAnswers = { Prompter::Answer::Cancel };
    m_app->sair();
    flushDeletes();
    QVERIFY(m_app->mainFrame()->isVisible());
    QCOMPARE(frames(), QList<CChildFrame*> { changed });

    m_prompter->saveAnswers = { Prompter::Answer::Discard };
    m_app->sair();
    flushDeletes();
    QVERIFY(!m_app->mainFrame()->isVisible());
    QCOMPARE(m_prompter->saveQuestions.size(), 2);
}

QTEST_MAIN(TestMainApp)
#include "test_main_app.moc"
