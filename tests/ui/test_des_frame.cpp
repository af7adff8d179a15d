#include "app/main_app.h"
#include "app/main_frame.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "drawing/des_view.h"
#include "drawing/dlg_tolerancias.h"
#include "geometry/drawing.h"
#include "geometry/drawing_edit.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <functional>
#include <memory>

using Answer = Prompter::Answer;

namespace {

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Runs `answer` on the modal dialog that the next exec() shows.
void onNextModal(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        answer(modal);
    });
}

} // namespace

class TestDesFrame : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void frameHasTheDrawingMenusToolbarAndPanes();
    void closeAsksOnlyWhenAListLengthChanged();
    void closeAnswers_data();
    void closeAnswers();
    void fecharAsksOnceAndClearsTheClosingFlag();
    void saveFailureIsReportedAndKeepsFrameAndOldFile();
    void unwritableFolderKeepsFrameOpenOnClose();
    void savingAPreDocumentWritesDesBesideIt();
    void saveAsOfAPreDocumentProposesTheDesName();
    void newDrawingSaveGoesToSaveAs();
    void openDesGoesThroughTheApplication();
    void toleranceDialogAcceptsOnlyPositiveNumbers();
    void drawingMenusMarkTheModeAndUndoRedoActOnTheDocument();

private:
    QString writeDrawing(const QString& name, int points);
    CDesFrame* openDrawing(const QString& path);
    bool closeWindow(CDesFrame* frame);
    bool isOpen(CDesFrame* frame) const;

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestDesFrame::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestDesFrame::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestDesFrame::cleanup()
{
    m_app.reset();
    flushDeletes();
}

QString TestDesFrame::writeDrawing(const QString& name, int points)
{
    tarvex::geometry::DrawingData drawing;
    for (int i = 0; i < points; ++i)
        drawing.pontos.pushFront({ double(i), 1.0 });
    drawing.segmentos.pushFront({ { 0, 0 }, { 10, 5 } });
    const QString path = m_dir.filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    return tarvex::geometry::saveDrawing(path.toStdString(), drawing).ok ? path : QString();
}

CDesFrame* TestDesFrame::openDrawing(const QString& path)
{
    return qobject_cast<CDesFrame*>(m_app->abrirPorExtensao(path, QFileInfo(path).suffix()));
}

bool TestDesFrame::closeWindow(CDesFrame* frame)
{
    const bool closed = frame->parentWidget()->close();
    flushDeletes();
    return closed;
}

bool TestDesFrame::isOpen(CDesFrame* frame) const
{
    return m_app->mainFrame()->filhos().contains(frame);
}

void TestDesFrame::frameHasTheDrawingMenusToolbarAndPanes()
{
    CDesFrame* frame = m_app->novoDesenho();
    QStringList files;
    for (const QAction* action : frame->menus().first()->actions())
        if (!action->isSeparator())
            files << action->text();
    QCOMPARE(files,
        (QStringList { "&Novo *.des", "&Abrir...", "Abrir  *.des", "&Fechar", "&Gravar",
            "Gravar &Como...", "&Exportar para *.dat", "Exportar imagem...", "&Imprimir...",
            "&Visualizar Impressão...", "A&justar Impressora...", "&Fim" }));
    QStringList view;
    for (const QAction* action : frame->menus().at(1)->actions())
        if (!action->isSeparator())
            view << action->text();
    QCOMPARE(view,
        (QStringList { "&Zoom", "&Normal", "&Ajuste Manual", "&Redesenhar", "Atualizar Todas",
            "B&arra de Menus" }));
    QCOMPARE(frame->menus().at(2)->actions().first()->text(), QStringLiteral("Tolerâncias"));

    // "B&arra de Menus" shows and hides the frame's toolbar.
    m_app->mainFrame()->show();
    QAction* toggle = frame->menus().at(1)->actions().last();
    QVERIFY(frame->barra()->isVisible());
    toggle->trigger();
    QVERIFY(!frame->barra()->isVisible());

    QCOMPARE(frame->painelPosicao()->width(), 180);
    emit frame->view()->posicaoAlterada(CDesView::textoPosicao(1.5, -2.0));
    QCOMPARE(frame->painelPosicao()->text(), CDesView::textoPosicao(1.5, -2.0));
}

void TestDesFrame::closeAsksOnlyWhenAListLengthChanged()
{
    const QString path = writeDrawing(QStringLiteral("contagem.des"), 2);
    const QByteArray before = fileBytes(path);
    CDesFrame* frame = openDrawing(path);
    QVERIFY(frame);
    // Moving a point keeps every count: not reported as a change, and nothing is written.
    frame->doc().data().pontos.at(0).x = 99.0;
    QVERIFY(closeWindow(frame));
    QVERIFY(m_prompter->saveQuestions.isEmpty());
    QVERIFY(!isOpen(frame));
    QCOMPARE(fileBytes(path), before);
}

void TestDesFrame::closeAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("pointsOnDisk");
    QTest::newRow("Save") << int(Answer::Save) << true << 3;
    QTest::newRow("Discard") << int(Answer::Discard) << true << 2;
    QTest::newRow("Cancel") << int(Answer::Cancel) << false << 2;
}

void TestDesFrame::closeAnswers()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(int, pointsOnDisk);
    const QString path = writeDrawing(QStringLiteral("resposta.des"), 2);
    CDesFrame* frame = openDrawing(path);
    QVERIFY(frame);
    frame->doc().data().pontos.pushFront({ 7, 7 });

    m_prompter->saveAnswers = { Answer(answer) };
    QCOMPARE(closeWindow(frame), closes);
    QCOMPARE(m_prompter->saveQuestions, QStringList { QStringLiteral("resposta.des") });
    QCOMPARE(isOpen(frame), !closes);

    tarvex::geometry::DrawingData onDisk;
    QVERIFY(tarvex::geometry::openDrawing(path.toStdString(), "des", onDisk).ok);
    QCOMPARE(int(onDisk.pontos.size()), pointsOnDisk);
}

void TestDesFrame::fecharAsksOnceAndClearsTheClosingFlag()
{
    CDesFrame* frame = m_app->novoDesenho();
    frame->doc().data().arcos.pushFront({ { 1, 0 }, { 0, 1 }, { 0, 0 } });
    m_prompter->saveAnswers = { Answer::Cancel };
    frame->fechar();
    flushDeletes();
    QVERIFY(isOpen(frame));
    QCOMPARE(m_prompter->saveQuestions.size(), 1);
    QVERIFY(frame->doc().isModified());
    QVERIFY(!frame->doc().closing());

    m_prompter->saveAnswers = { Answer::Discard };
    frame->fechar();
    flushDeletes();
    QVERIFY(!isOpen(frame));
    QCOMPARE(m_prompter->saveQuestions.size(), 2);
}

void TestDesFrame::saveFailureIsReportedAndKeepsFrameAndOldFile()
{
    const QString path = writeDrawing(QStringLiteral("original.des"), 2);
    const QByteArray before = fileBytes(path);
    CDesFrame* frame = openDrawing(path);
    QVERIFY(frame);
    frame->doc().data().pontos.pushFront({ 5, 5 });

    // A folder where the file should go cannot be replaced by a file.
    const QString blocked = m_dir.filePath(QStringLiteral("bloqueado.des"));
    QVERIFY(QDir().mkpath(blocked));
    m_chooser->answers = { blocked };
    QVERIFY(!frame->gravarComo());
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings.first().contains(QStringLiteral("bloqueado.des")));
    QCOMPARE(frame->doc().path(), path);
    QCOMPARE(fileBytes(path), before);
    QVERIFY(QFileInfo(blocked).isDir());

    // The same failure while closing keeps the frame open.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkpath(path));
    m_prompter->saveAnswers = { Answer::Save };
    QVERIFY(!closeWindow(frame));
    QVERIFY(isOpen(frame));
    QCOMPARE(m_prompter->warnings.size(), 2);
    QVERIFY(QDir().rmdir(path));
}

void TestDesFrame::unwritableFolderKeepsFrameOpenOnClose()
{
    const QString folder = m_dir.filePath(QStringLiteral("somenteLeitura"));
    const QString path = writeDrawing(QStringLiteral("somenteLeitura/d.des"), 1);
    const QByteArray before = fileBytes(path);
    CDesFrame* frame = openDrawing(path);
    QVERIFY(frame);
    frame->doc().data().segmentos.pushFront({ { 1, 1 }, { 2, 2 } });
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QFile probe(folder + QStringLiteral("/probe"));
    const bool folderRefusesWrites = !probe.open(QIODevice::WriteOnly);
    probe.close();
    QFile::remove(folder + QStringLiteral("/probe"));
    if (!folderRefusesWrites) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QSKIP("this user can write into read-only folders");
    }
    m_prompter->saveAnswers = { Answer::Save };
    const bool closed = closeWindow(frame);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!closed);
    QVERIFY(isOpen(frame));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QCOMPARE(fileBytes(path), before);
}

void TestDesFrame::savingAPreDocumentWritesDesBesideIt()
{
    const QString pre = m_dir.filePath(QStringLiteral("geometria.pre"));
    QFile::remove(pre);
    QFile::remove(m_dir.filePath(QStringLiteral("geometria.des")));
    QVERIFY(QFile::copy(
        QString::fromLocal8Bit(qgetenv("TARVEX_TEST_DATA")) + QStringLiteral("/reference.pre"),
        pre));
    const QByteArray preBefore = fileBytes(pre);
    CDesFrame* frame = openDrawing(pre);
    QVERIFY(frame);
    const std::size_t segments = frame->doc().data().segmentos.size();

    QVERIFY(frame->gravar());
    const QString des = m_dir.filePath(QStringLiteral("geometria.des"));
    QCOMPARE(frame->doc().path(), des);
    QCOMPARE(frame->windowTitle(), QStringLiteral("geometria.des"));
    QCOMPARE(fileBytes(pre), preBefore);
    QVERIFY(m_chooser->requests.empty());
    QCOMPARE(m_app->arquivosRecentes().first(), des);

    tarvex::geometry::DrawingData reread;
    QVERIFY(tarvex::geometry::openDrawing(des.toStdString(), "des", reread).ok);
    QCOMPARE(reread.segmentos.size(), segments);
}

void TestDesFrame::saveAsOfAPreDocumentProposesTheDesName()
{
    const QString pre = m_dir.filePath(QStringLiteral("proposta.pre"));
    QFile::remove(pre);
    QVERIFY(QFile::copy(
        QString::fromLocal8Bit(qgetenv("TARVEX_TEST_DATA")) + QStringLiteral("/reference.pre"),
        pre));
    CDesFrame* frame = openDrawing(pre);
    QVERIFY(frame);
    const QString chosen = m_dir.filePath(QStringLiteral("escolhido.des"));
    m_chooser->answers = { chosen };
    QVERIFY(frame->gravarComo());
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    const ScriptedFileChooser::Request& request = m_chooser->requests.front();
    QVERIFY(request.save);
    QCOMPARE(request.filter, QStringLiteral("Arquivos (*.des)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("des"));
    QCOMPARE(request.proposedPath, m_dir.filePath(QStringLiteral("proposta.des")));
    QCOMPARE(frame->doc().path(), chosen);
    QVERIFY(QFileInfo::exists(chosen));
}

void TestDesFrame::newDrawingSaveGoesToSaveAs()
{
    CDesFrame* frame = m_app->novoDesenho();
    frame->doc().data().pontos.pushFront({ 1, 2 });
    QVERIFY(!frame->gravar()); // cancelled dialog
    QVERIFY(frame->doc().path().isEmpty());
    QVERIFY(m_prompter->warnings.isEmpty());

    const QString target = m_dir.filePath(QStringLiteral("novo.des"));
    m_chooser->answers = { target };
    QVERIFY(frame->gravar());
    QCOMPARE(m_chooser->requests.size(), std::size_t { 2 });
    QCOMPARE(m_chooser->requests.back().filter, QStringLiteral("tarvex Files (*.des)"));
    QCOMPARE(frame->doc().path(), target);
    // Saved, so closing asks nothing.
    QVERIFY(closeWindow(frame));
    QVERIFY(m_prompter->saveQuestions.isEmpty());
}

void TestDesFrame::openDesGoesThroughTheApplication()
{
    const QString path = writeDrawing(QStringLiteral("outro.des"), 1);
    CDesFrame* frame = m_app->novoDesenho();
    m_chooser->answers = { path, QString() };
    frame->abrirDes();
    frame->abrirDes();
    QCOMPARE(m_app->mainFrame()->filhos().size(), 2);
    QCOMPARE(m_app->mainFrame()->filhoAtivo()->documentPath(), path);
    const ScriptedFileChooser::Request& request = m_chooser->requests.front();
    QVERIFY(!request.save);
    QVERIFY(request.mustExist);
    QCOMPARE(request.filter, QStringLiteral("Arquivos (*.des)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("des"));
}

void TestDesFrame::toleranceDialogAcceptsOnlyPositiveNumbers()
{
    CDesFrame* frame = m_app->novoDesenho();
    QCOMPARE(frame->doc().data().distanciaMinima, 0.05);

    bool stayedOpenOnBadInput = false;
    onNextModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgTolerancias*>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Tolerâncias para Exportar Arquivo"));
        QCOMPARE(dialog->campo()->text(), QStringLiteral("0.05"));
        for (const char* bad : { "abc", "0", "-1", "", "nan", "inf" }) {
            dialog->campo()->setText(QString::fromLatin1(bad));
            dialog->accept();
        }
        stayedOpenOnBadInput = dialog->isVisible();
        dialog->campo()->setText(QStringLiteral("0,2"));
        dialog->accept();
    });
    frame->tolerancias();
    QVERIFY(stayedOpenOnBadInput);
    QCOMPARE(m_prompter->warnings.size(), 6);
    QCOMPARE(frame->doc().data().distanciaMinima, 0.2);

    onNextModal([](QWidget* modal) {
        auto* dialog = qobject_cast<CDlgTolerancias*>(modal);
        QVERIFY(dialog);
        dialog->campo()->setText(QStringLiteral("3"));
        dialog->reject();
    });
    frame->tolerancias();
    QCOMPARE(frame->doc().data().distanciaMinima, 0.2);
}

void TestDesFrame::drawingMenusMarkTheModeAndUndoRedoActOnTheDocument()
{
    CDesFrame* frame = m_app->novoDesenho();
    QStringList titulos;
    for (const QMenu* menu : frame->menus())
        titulos << menu->title();
    for (const char* titulo :
        { "&Editar", "&Inserir", "&Selecionar", "E&xcluir", "Re&produzir", "&Deslocar" })
        QVERIFY2(titulos.contains(QString::fromUtf8(titulo)), titulo);

    const auto acao = [frame](const QString& texto) -> QAction* {
        for (QAction* a : frame->acoesModo())
            if (a->text() == texto)
                return a;
        return nullptr;
    };
    QAction* pontoMouse = acao(QStringLiteral("Ponto &Mouse"));
    QAction* selecionaPonto = acao(QStringLiteral("&Ponto"));
    QVERIFY(pontoMouse && selecionaPonto);
    QVERIFY(pontoMouse->isChecked());

    // Nothing to select: refused, and the mark stays where the mode is.
    selecionaPonto->trigger();
    QCOMPARE(m_prompter->warnings.last(), QStringLiteral(" Não há pontos a selecionar ! "));
    QVERIFY(pontoMouse->isChecked());
    QVERIFY(!selecionaPonto->isChecked());

    tarvex::geometry::Alteracoes alteracoes;
    tarvex::geometry::inserePonto(frame->doc().data(), { 1, 2 }, alteracoes);
    frame->doc().registrarEdicao(std::move(alteracoes), QStringLiteral("Inserir ponto"));
    selecionaPonto->trigger();
    QVERIFY(selecionaPonto->isChecked());
    QVERIFY(!pontoMouse->isChecked());

    QCOMPARE(frame->acaoDesfazer()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(frame->acaoRefazer()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    frame->acaoDesfazer()->trigger();
    QVERIFY(frame->doc().data().vazio());
    frame->acaoRefazer()->trigger();
    QCOMPARE(int(frame->doc().data().pontos.size()), 1);
}

QTEST_MAIN(TestDesFrame)
#include "test_des_frame.moc"
