#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/child_frame.h"
#include "common/messages.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"

#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Files reach the program from its command line, the open dialog, the recent-file list and save
// dialogs; an engineer's folders hold spaces and accented letters.
class TestOpenFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void onlyFilesAfterOpenAreTaken();
    void openOptionOpensEachFileAndNamesTheOnesItCannot();
    void accentedPathsOpenFromTheDialogAndTheRecentList();
    void accentedPathsSaveFromTheSaveDialog();

private:
    QString drawingAt(const QString& relative, int points);
    QList<CChildFrame*> frames() const { return m_app->mainFrame()->filhos(); }

    QTemporaryDir m_dir;
    QString m_folder;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestOpenFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
    m_folder = m_dir.filePath(QStringLiteral("Projetos/Transformação de força"));
    QVERIFY(QDir().mkpath(m_folder));
}

void TestOpenFiles::init()
{
    QSettings(QStringLiteral("Tarvex Lab"), QStringLiteral("tarvex")).clear();
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestOpenFiles::cleanup()
{
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestOpenFiles::drawingAt(const QString& name, int points)
{
    tarvex::geometry::DrawingData drawing;
    for (int i = 0; i < points; ++i)
        drawing.pontos.pushFront({ double(i), 1.0 });
    const QString path = m_folder + QLatin1Char('/') + name;
    const tarvex::Status status
        = tarvex::geometry::saveDrawing(QFile::encodeName(path).toStdString(), drawing);
    return status.ok ? path : QString();
}

void TestOpenFiles::onlyFilesAfterOpenAreTaken()
{
    QCOMPARE(CMainApp::arquivosParaAbrir({ "tarvex" }), QStringList());
    // A bare command line opens nothing, as the program always did.
    QCOMPARE(CMainApp::arquivosParaAbrir({ "tarvex", "a.des", "b.dat" }), QStringList());
    QCOMPARE(CMainApp::arquivosParaAbrir({ "tarvex", "--open", "núcleo em C.des", "b.dat" }),
        (QStringList { "núcleo em C.des", "b.dat" }));
    QCOMPARE(CMainApp::arquivosParaAbrir({ "tarvex", "--open" }), QStringList());
}

void TestOpenFiles::openOptionOpensEachFileAndNamesTheOnesItCannot()
{
    const QString des = drawingAt(QStringLiteral("núcleo em C.des"), 3);
    QVERIFY(!des.isEmpty());
    const QString txt = m_folder + QStringLiteral("/notas da revisão.txt");
    const QString missing = m_folder + QStringLiteral("/não existe.dat");
    m_app->abrirArquivos({ des, txt, missing, QStringLiteral("X.DES") });

    QCOMPARE(frames().size(), 1);
    auto* frame = qobject_cast<CDesFrame*>(frames().first());
    QVERIFY(frame);
    QCOMPARE(frame->doc().data().pontos.size(), std::size_t { 3 });
    QCOMPARE(frame->windowTitle(), QStringLiteral("núcleo em C.des"));

    // The unknown types and the file that cannot be read are each named in a message.
    QCOMPARE(m_prompter->warnings.size(), 3);
    const QString unknown = QString::fromUtf8(tarvex::msg::TipoArquivoDesconhecido.data(),
        qsizetype(tarvex::msg::TipoArquivoDesconhecido.size()));
    QVERIFY(m_prompter->warnings.at(0).startsWith(unknown));
    QVERIFY(m_prompter->warnings.at(0).endsWith(QStringLiteral("notas da revisão.txt")));
    QVERIFY(m_prompter->warnings.at(1).endsWith(QStringLiteral("não existe.dat")));
    QVERIFY(m_prompter->warnings.at(2).endsWith(QStringLiteral("X.DES")));
}

void TestOpenFiles::accentedPathsOpenFromTheDialogAndTheRecentList()
{
    const QString des = drawingAt(QStringLiteral("janela ção.des"), 2);
    QVERIFY(!des.isEmpty());
    m_chooser->answers.push_back(des);
    m_app->abrir();
    QCOMPARE(frames().size(), 1);
    QCOMPARE(m_app->arquivosRecentes(), QStringList { des });

    // Settings written and read again keep the accented path whole.
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
    QCOMPARE(m_app->arquivosRecentes(), QStringList { des });

    QMenu* files = m_app->mainFrame()->menusIniciais().first();
    emit files->aboutToShow();
    QAction* first = nullptr;
    for (QAction* action : files->actions()) {
        if (action->text().startsWith(QStringLiteral("&1 ")))
            first = action;
    }
    QVERIFY(first);
    QVERIFY(first->text().endsWith(QStringLiteral("Transformação de força/janela ção.des")));
    first->trigger();
    QCOMPARE(frames().size(), 1);
    QCOMPARE(frames().first()->documentPath(), des);
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestOpenFiles::accentedPathsSaveFromTheSaveDialog()
{
    const QString des = drawingAt(QStringLiteral("origem.des"), 4);
    auto* frame = qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(des, QStringLiteral("des")));
    QVERIFY(frame);
    const QString copia = m_folder + QStringLiteral("/cópia 2 ção.des");
    m_chooser->answers.push_back(copia);
    QVERIFY(frame->gravarComo());
    QVERIFY(QFile::exists(copia));
    QCOMPARE(frame->doc().path(), copia);
    QCOMPARE(m_app->arquivosRecentes().first(), copia);

    tarvex::geometry::DrawingData back;
    QVERIFY(tarvex::geometry::openDrawing(QFile::encodeName(copia).toStdString(), "des", back).ok);
    QCOMPARE(back.pontos.size(), std::size_t { 4 });
}

QTEST_MAIN(TestOpenFiles)
#include "test_open_files.moc"
