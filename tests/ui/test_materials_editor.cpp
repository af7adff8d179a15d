#include "app/main_app.h"
#include "app/main_frame.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_frame.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "materials/curva.h"
#include "materials/dlg_edit_arq_mat.h"
#include "materials/mat_io.h"
#include "materials/materiais_comandos.h"
#include "materials/materiais_ui.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using tarvex::materials::PontoMaterial;

namespace {

std::vector<PontoMaterial> lerPontos(const QString& path)
{
    std::vector<PontoMaterial> pontos;
    if (!tarvex::materials::openMat(path.toStdString(), pontos).ok)
        return {};
    return pontos;
}

QByteArray conteudo(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestMaterialsEditor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void rowsAreInsertedUpdatedAndRemovedWithTheirExactTexts();
    void gravarWritesWhatTheReaderReadsBack();
    void menuCommandAsksBeforeCreatingAMissingFile();
    void editorPlotIsReplacedAndClosesWithTheEditor();
    void plotOfAFileUsesTheTitlesOfItsKind();

private:
    QString escreverMat(const QString& nome, const std::vector<PontoMaterial>& pontos);
    QList<CChildFrame*> frames() const { return m_app->mainFrame()->filhos(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestMaterialsEditor::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestMaterialsEditor::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestMaterialsEditor::cleanup()
{
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString TestMaterialsEditor::escreverMat(
    const QString& nome, const std::vector<PontoMaterial>& pontos)
{
    const QString path = m_dir.filePath(nome);
    return tarvex::materials::saveMat(path.toStdString(), pontos).ok ? path : QString();
}

void TestMaterialsEditor::rowsAreInsertedUpdatedAndRemovedWithTheirExactTexts()
{
    const QString path = escreverMat(QStringLiteral("ferro.mat"), { { 0, 0 }, { 1200, 1.5 } });
    QVERIFY(!path.isEmpty());
    CDlgEditArqMat editor(*m_app, path, false);
    QCOMPARE(editor.windowTitle(), QStringLiteral("Edição de Arquivos de Materiais"));
    QCOMPARE(
        editor.lista()->headerItem()->text(0), QStringLiteral("ponto     H (A/m)          B (T) "));
    QCOMPARE(editor.linhas(),
        (QStringList { "01             0             0", "02          1200           1.5" }));

    // Selecting a row fills the fields with its two values.
    editor.selecionarLinha(1);
    QCOMPARE(editor.campo()->text(), QStringLiteral("1200"));
    QCOMPARE(editor.inducao()->text(), QStringLiteral("1.5"));

    editor.selecionarLinha(0);
    editor.campo()->setText(QStringLiteral("100"));
    editor.inducao()->setText(QStringLiteral("0.5"));
    editor.inserir();
    QCOMPARE(editor.linhas(),
        (QStringList { "01             0             0", "02           100           0.5",
            "03          1200           1.5" }));
    QCOMPARE(editor.linhaSelecionada(), 1);

    editor.campo()->setText(QStringLiteral(" 2.5e2 "));
    editor.inducao()->setText(QStringLiteral("0.85"));
    editor.atualizar();
    QCOMPARE(editor.linhas().at(1), QStringLiteral("02         2.5e2          0.85"));

    // A word would make the file unreadable: refused, nothing changes.
    editor.campo()->setText(QStringLiteral("muito"));
    editor.atualizar();
    editor.inserir();
    QCOMPARE(m_prompter->warnings.size(), 2);
    QCOMPARE(editor.linhas().size(), 3);
    QCOMPARE(editor.linhas().at(1), QStringLiteral("02         2.5e2          0.85"));

    // Removing the last row selects the new last one; removing the first renumbers the rest.
    editor.selecionarLinha(2);
    editor.remover();
    QCOMPARE(editor.linhaSelecionada(), 1);
    editor.selecionarLinha(0);
    editor.remover();
    QCOMPARE(editor.linhas(), QStringList { "01         2.5e2          0.85" });
    QCOMPARE(editor.linhaSelecionada(), 0);

    // With no row selected a new point goes first.
    editor.lista()->clearSelection();
    editor.campo()->setText(QStringLiteral("0"));
    editor.inducao()->setText(QStringLiteral("0"));
    editor.inserir();
    QCOMPARE(editor.linhas().first(), QStringLiteral("01             0             0"));
    QCOMPARE(editor.linhas().at(1), QStringLiteral("02         2.5e2          0.85"));
}

void TestMaterialsEditor::gravarWritesWhatTheReaderReadsBack()
{
    const QString path = escreverMat(QStringLiteral("aco.mat"), { { 0, 0 }, { 400, 1.2 } });
    CDlgEditArqMat editor(*m_app, path, true);
    QCOMPARE(
        editor.lista()->headerItem()->text(0), QStringLiteral("ponto     E (V/m)      D (C/m²)"));
    editor.selecionarLinha(1);
    editor.campo()->setText(QStringLiteral("800"));
    editor.inducao()->setText(QStringLiteral("1.45"));
    editor.inserir();
    editor.selecionarLinha(1);
    editor.campo()->setText(QStringLiteral("450.5"));
    editor.inducao()->setText(QStringLiteral("1.25"));
    editor.atualizar();

    // Cancel leaves the file alone.
    const QByteArray antes = conteudo(path);
    editor.reject();
    QCOMPARE(conteudo(path), antes);

    QVERIFY(editor.gravar());
    QCOMPARE(
        lerPontos(path), (std::vector<PontoMaterial> { { 0, 0 }, { 450.5, 1.25 }, { 800, 1.45 } }));
    QVERIFY(editor.gravou());

    // "Gravar Como ..." writes a copy; a cancelled dialog writes nothing.
    const QString copia = m_dir.filePath(QStringLiteral("copia.mat"));
    m_chooser->answers = { copia, QString() };
    QVERIFY(editor.gravarComo());
    QCOMPARE(m_chooser->requests.back().filter, QStringLiteral("Arquivos (*.mat)"));
    QCOMPARE(conteudo(copia), conteudo(path));
    QVERIFY(!editor.gravarComo());
    QCOMPARE(editor.arquivo(), path);
}

void TestMaterialsEditor::menuCommandAsksBeforeCreatingAMissingFile()
{
    const QString escolhido = m_dir.filePath(QStringLiteral("Novo"));
    const QString criado = m_dir.filePath(QStringLiteral("novo.mat"));
    const QString pergunta
        = QStringLiteral("Arquivo não existe ! Cria arquivo ") + criado + QStringLiteral(" ?");

    // No: nothing is created and no editor opens.
    m_chooser->answers = { escolhido };
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    editarArquivoMaterialDoMenu(*m_app, nullptr);
    QCOMPARE(m_prompter->questions, QStringList { pergunta });
    QVERIFY(!QFile::exists(criado));
    QCOMPARE(m_chooser->requests.back().filter, QStringLiteral("Arquivos (*.mat)"));

    // Yes: a new file with the point (0, 0), then the editor on it.
    QStringList linhasVistas;
    QTimer::singleShot(0, this, [&] {
        if (auto* editor = qobject_cast<CDlgEditArqMat*>(QApplication::activeModalWidget())) {
            linhasVistas = editor->linhas();
            editor->reject();
        }
    });
    m_chooser->answers = { escolhido };
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    editarArquivoMaterialDoMenu(*m_app, nullptr);
    QCOMPARE(m_prompter->questions.size(), 2);
    QCOMPARE(lerPontos(criado), (std::vector<PontoMaterial> { { 0, 0 } }));
    QCOMPARE(linhasVistas, QStringList { "01             0             0" });

    // An existing file opens without a question.
    QTimer::singleShot(0, this, [] {
        if (auto* editor = qobject_cast<CDlgEditArqMat*>(QApplication::activeModalWidget()))
            editor->reject();
    });
    m_chooser->answers = { criado };
    editarArquivoMaterialDoMenu(*m_app, nullptr);
    QCOMPARE(m_prompter->questions.size(), 2);
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMaterialsEditor::editorPlotIsReplacedAndClosesWithTheEditor()
{
    const QString path = escreverMat(QStringLiteral("curva.mat"), { { 0, 0 }, { 100, 1.0 } });
    {
        CDlgEditArqMat editor(*m_app, path, false);
        editor.mostrarGrafico();
        CGraphDoc* grafico = editor.grafico();
        QVERIFY(grafico);
        QCOMPARE(grafico->data().curves.at(0).count(), std::size_t { 2 });

        // The plot shows the points being edited, in the same window.
        editor.selecionarLinha(1);
        editor.campo()->setText(QStringLiteral("200"));
        editor.inducao()->setText(QStringLiteral("1.4"));
        editor.inserir();
        editor.mostrarGrafico();
        QCOMPARE(editor.grafico(), grafico);
        QCOMPARE(frames().size(), 1);
        QCOMPARE(grafico->data().curves.at(0).count(), std::size_t { 3 });
        QCOMPARE(grafico->data().curves.at(0).x(3), 200.0);

        editor.accept();
        QCOMPARE(editor.result(), int(QDialog::Accepted));
        QCOMPARE(frames().size(), 0);
        QCOMPARE(lerPontos(path).size(), std::size_t { 3 });
    }
    {
        // Cancel closes the plot too; a plot closed by the user first is simply gone.
        CDlgEditArqMat editor(*m_app, path, false);
        editor.mostrarGrafico();
        QCOMPARE(frames().size(), 1);
        frames().first()->close();
        editor.reject();
        QCOMPARE(frames().size(), 0);
    }
}

void TestMaterialsEditor::plotOfAFileUsesTheTitlesOfItsKind()
{
    const QString path = escreverMat(QStringLiteral("dieletrico.mat"), { { 0, 0 }, { 1e6, 2e-5 } });
    CGraphDoc* grafico = plotarArquivoMaterial(*m_app, path, true);
    QVERIFY(grafico);
    QCOMPARE(grafico->data().title, std::string("Curva Característica"));
    QCOMPARE(grafico->data().xCaption, std::string("E (V/m)"));
    QCOMPARE(grafico->data().yCaption, std::string("D (C/m²)"));

    // Plotting again into the open plot replaces its curve; a missing file plots empty.
    QCOMPARE(
        plotarArquivoMaterial(*m_app, m_dir.filePath(QStringLiteral("falta.mat")), false, grafico),
        grafico);
    QCOMPARE(grafico->data().title, std::string("Curva de Magnetização"));
    QCOMPARE(grafico->data().curves.at(0).count(), std::size_t { 0 });
    QCOMPARE(frames().size(), 1);

    m_app->fecharGrafico(grafico);
    QCOMPARE(frames().size(), 0);
    m_app->fecharGrafico(grafico); // already closed: nothing
    m_app->fecharGrafico(nullptr);
}

QTEST_MAIN(TestMaterialsEditor)
#include "test_materials_editor.moc"
