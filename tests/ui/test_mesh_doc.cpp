#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_view.h"
#include "results/dlg_calculo.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

using Step = ScriptedDialogs::Step;
using tarvex::solver::SolverModel;

namespace {

/// "Calcula" in a calculation dialog, then "Encerra".
int calculate(QDialog& d)
{
    auto* dialog = qobject_cast<CDlgProCalcBase*>(&d);
    if (!dialog)
        return -1;
    dialog->botaoCalcula()->click();
    dialog->botaoEncerra()->click();
    return d.result();
}

} // namespace

class TestMeshDoc : public ScriptedProgramTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exportWritesTheModelAndOpensItAsResults();
    void exportHonoursTheChosenNameAndRefusesOtherTypes();
    void exportWithoutMeshWarnsAndAsksNothing();
    void exportOverOpenResultsShowsTheNewModel();
    void exportOfElementsOutsideEveryRegionSaysWhyAndMarksOne();
    void unreadableModelWarnsAndOpensNothing();
    void solvedDocumentAsksBeforeClosingAndSavesItsResults();
    void displayCommandsChangeTheModeOnlyWhenItChanges();
    void equipotentialsWithoutResultsAskToCalculate();
    void inducedLinesWithoutThatAnalysisFallBackToRegions();

private:
    CDatFrame* openProblem(const QString& name);
    CMeshFrame* openResults(const QString& name);
    QList<CMeshFrame*> resultFrames() const;
    int run(QDialog& dialog) { return m_dialogs.run(dialog); }
    void trigger(CMeshFrame* frame, const QString& menuText)
    {
        QAction* action = frame->acao(menuText);
        QVERIFY2(action, qPrintable(menuText));
        action->trigger();
    }
};

void TestMeshDoc::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshDoc::init()
{
    QVERIFY(iniciarPrograma());
}

void TestMeshDoc::cleanup()
{
    // Nothing of one test may ask anything in the next one's teardown.
    for (CMeshFrame* frame : resultFrames())
        frame->doc().setModified(false);
    fecharPrograma();
}

CDatFrame* TestMeshDoc::openProblem(const QString& name)
{
    const QString path = m_dir.filePath(name);
    if (!results_fixture::gravarProblemaComMalha(path))
        return nullptr;
    return qobject_cast<CDatFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dat")));
}

CMeshFrame* TestMeshDoc::openResults(const QString& name)
{
    const QString path = m_dir.filePath(name);
    if (!results_fixture::gravarModelo(path))
        return nullptr;
    auto* frame = qobject_cast<CMeshFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("msh")));
    if (frame) {
        frame->view()->setExecutorDialogos([this](QDialog& d) { return run(d); });
        frame->view()->resize(400, 250);
    }
    return frame;
}

QList<CMeshFrame*> TestMeshDoc::resultFrames() const
{
    QList<CMeshFrame*> frames;
    if (!m_app || !m_app->mainFrame())
        return frames;
    for (CChildFrame* frame : m_app->mainFrame()->filhos())
        if (auto* mesh = qobject_cast<CMeshFrame*>(frame))
            frames << mesh;
    return frames;
}

void TestMeshDoc::exportWritesTheModelAndOpensItAsResults()
{
    CDatFrame* problem = openProblem(QStringLiteral("condutor.dat"));
    QVERIFY(problem);
    const QString msh = m_dir.filePath(QStringLiteral("condutor.msh"));
    QFile::remove(msh);
    m_chooser->answers = { msh };
    QAction* exportar = problem->acao(QStringLiteral("Exportar para *.msh"));
    QVERIFY(exportar);
    exportar->trigger();

    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    const ScriptedFileChooser::Request& request = m_chooser->requests.front();
    QVERIFY(request.save);
    QCOMPARE(request.filter, QStringLiteral("Arquivos (*.msh)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("msh"));
    QCOMPARE(request.proposedPath, msh);
    QVERIFY(QFile::exists(msh));

    const QList<CMeshFrame*> frames = resultFrames();
    QCOMPARE(frames.size(), 1);
    CMeshFrame* results = frames.first();
    QCOMPARE(results->documentPath(), msh);
    QCOMPARE(results->windowTitle(), QStringLiteral("condutor.msh"));
    const SolverModel& model = results->doc().model();
    QVERIFY(model.nodeCount() > 20);
    QVERIFY(!model.elements.empty());
    QCOMPARE(model.calculationKind, tarvex::solver::CalculationKind::NotCalculated);
    QCOMPARE(model.magnetic, std::uint8_t { 1 });
    QCOMPARE(results->view()->displayMode(), CMeshView::Modo::Regioes);
    QCOMPARE(results->view()->equipotentialCount(), 21);
    QVERIFY(!results->doc().isModified());
    // The file holds what the document shows.
    SolverModel reread;
    QVERIFY(tarvex::solver::openMsh(msh.toStdString(), reread).ok);
    QCOMPARE(reread.nodes, model.nodes);
    // The problem itself is untouched by an export.
    QVERIFY(!problem->doc().isModified());
}

void TestMeshDoc::exportHonoursTheChosenNameAndRefusesOtherTypes()
{
    CDatFrame* problem = openProblem(QStringLiteral("nomes.dat"));
    QVERIFY(problem);
    // Another type is not written at all; a ".dat" name becomes the ".msh" beside it.
    const QString other = m_dir.filePath(QStringLiteral("nomes.txt"));
    const QString asDat = m_dir.filePath(QStringLiteral("outro.dat"));
    const QString expected = m_dir.filePath(QStringLiteral("outro.msh"));
    QFile::remove(expected);
    m_chooser->answers = { other, asDat, QString() };
    problem->exportarMsh();
    QVERIFY(!QFile::exists(other));
    QVERIFY(resultFrames().isEmpty());

    problem->exportarMsh();
    QVERIFY(QFile::exists(expected));
    QCOMPARE(resultFrames().size(), 1);
    QCOMPARE(resultFrames().first()->documentPath(), expected);
    QVERIFY(!QFile::exists(asDat)); // nothing was written under the chosen ".dat" name

    // Cancel writes nothing and opens nothing more.
    problem->exportarMsh();
    QCOMPARE(resultFrames().size(), 1);
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMeshDoc::exportWithoutMeshWarnsAndAsksNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("sem_malha.dat"));
    QVERIFY(tarvex::problem::saveDat(path.toStdString(), results_fixture::problemaCondutor()).ok);
    auto* problem = qobject_cast<CDatFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dat")));
    QVERIFY(problem);
    m_chooser->answers = { m_dir.filePath(QStringLiteral("sem_malha.msh")) };
    QVERIFY(!problem->exportarMsh());
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MshSemMalha) });
    QVERIFY(m_chooser->requests.empty());
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("sem_malha.msh"))));
    QVERIFY(resultFrames().isEmpty());
}

void TestMeshDoc::exportOverOpenResultsShowsTheNewModel()
{
    CMeshFrame* results = openResults(QStringLiteral("sobre.msh"));
    QVERIFY(results);
    // A solved and zoomed document, then the problem is exported over its file.
    m_dialogs.steps.push_back(calculate);
    trigger(results, QStringLiteral("Estático Linear"));
    QCOMPARE(results->doc().model().calculationKind, tarvex::solver::CalculationKind::Linear);
    results->view()->setJanela({ 40, 15, 60, 35 });

    CDatFrame* problem = openProblem(QStringLiteral("sobre_problema.dat"));
    QVERIFY(problem);
    m_chooser->answers = { results->documentPath() };
    QVERIFY(problem->exportarMsh());
    QCOMPARE(resultFrames().size(), 1);
    QCOMPARE(
        results->doc().model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
    QVERIFY(!results->doc().isModified());
    QCOMPARE(results->view()->displayMode(), CMeshView::Modo::Regioes);
    QCOMPARE(results->view()->janela().xMin, -5.0);
}

void TestMeshDoc::exportOfElementsOutsideEveryRegionSaysWhyAndMarksOne()
{
    // The conductor alone inside the outline: the air around it belongs to no region.
    tarvex::problem::ProblemData data;
    tarvex::problem::Regiao conductor = results_fixture::retangulo(40, 15, 60, 35);
    conductor.densCorrente = 1.0;
    data.regioes.pushFront(std::move(conductor));
    data.regioes.pushFront(results_fixture::retangulo(0, 0, 100, 50));
    data.janela = { -5, 105, -5, 55 };
    data.arestaMaxima = 6.0;
    data.tolerancia = data.arestaMaxima / 1e6;
    data.derivarListas();
    tarvex::NoProgress progress;
    QVERIFY(tarvex::problem::gerarMalha(data, {}, progress).ok);
    const QString path = m_dir.filePath(QStringLiteral("furado.dat"));
    QVERIFY(tarvex::problem::saveDat(path.toStdString(), data).ok);
    auto* problem = qobject_cast<CDatFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dat")));
    QVERIFY(problem);

    m_chooser->answers = { m_dir.filePath(QStringLiteral("furado.msh")) };
    QVERIFY(!problem->exportarMsh());
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MontagemSemRegiao) });
    QVERIFY(m_chooser->requests.empty());
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("furado.msh"))));
    QVERIFY(problem->view()->marcaExportacao().has_value());
    // The mark goes with the next display mode.
    problem->view()->estrutura();
    QVERIFY(!problem->view()->marcaExportacao().has_value());
}

void TestMeshDoc::unreadableModelWarnsAndOpensNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("versao.msh"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("versao 09.00.00").leftJustified(200, '\0'));
    file.close();
    QVERIFY(!m_app->abrirPorExtensao(path, QStringLiteral("msh")));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY2(m_prompter->warnings.first().startsWith(text(tarvex::msg::MshErroVersao)),
        qPrintable(m_prompter->warnings.first()));

    // A truncated model: a clear refusal as well, never a half-read document.
    const QString whole = m_dir.filePath(QStringLiteral("inteiro.msh"));
    QVERIFY(results_fixture::gravarModelo(whole));
    QFile source(whole);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    source.close();
    const QString cut = m_dir.filePath(QStringLiteral("cortado.msh"));
    QFile target(cut);
    QVERIFY(target.open(QIODevice::WriteOnly));
    target.write(bytes.left(bytes.size() / 2));
    target.close();
    QVERIFY(!m_app->abrirPorExtensao(cut, QStringLiteral("msh")));
    QCOMPARE(m_prompter->warnings.size(), 2);
    QVERIFY(resultFrames().isEmpty());
}

void TestMeshDoc::solvedDocumentAsksBeforeClosingAndSavesItsResults()
{
    CMeshFrame* results = openResults(QStringLiteral("fechar.msh"));
    QVERIFY(results);
    const QString path = results->documentPath();
    m_dialogs.steps.push_back(calculate);
    trigger(results, QStringLiteral("Estático Linear"));
    QVERIFY(results->doc().isModified());

    // Cancel keeps the frame and the results.
    m_prompter->saveAnswers = { Prompter::Answer::Cancel };
    results->fechar();
    flushDeletes();
    QCOMPARE(m_prompter->saveQuestions, QStringList { QStringLiteral("fechar.msh") });
    QCOMPARE(resultFrames().size(), 1);

    // Save writes the results under the document's name, then the frame closes.
    m_prompter->saveAnswers = { Prompter::Answer::Save };
    const std::vector<tarvex::solver::MeshNode> solved = results->doc().model().nodes;
    results->fechar();
    flushDeletes();
    QVERIFY(resultFrames().isEmpty());
    SolverModel reread;
    QVERIFY(tarvex::solver::openMsh(path.toStdString(), reread).ok);
    QCOMPARE(reread.calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(reread.version, std::string(tarvex::solver::MshVersao01));
    QCOMPARE(reread.nodes, solved);

    // Reopened, it shows its results without asking to calculate.
    CMeshFrame* again
        = qobject_cast<CMeshFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("msh")));
    QVERIFY(again);
    again->view()->setExecutorDialogos([this](QDialog& d) { return run(d); });
    m_prompter->questions.clear();
    trigger(again, QStringLiteral("&Equipotenciais"));
    QVERIFY(m_prompter->questions.isEmpty());
    QVERIFY(again->doc().model().equipotentialsTraced);
    QVERIFY(!again->doc().model().equipotentialSegments.empty());

    // "Gravar Como..." writes elsewhere and the document follows its new name.
    const QString copy = m_dir.filePath(QStringLiteral("copia.msh"));
    m_chooser->answers = { copy };
    QVERIFY(again->gravarComo());
    QCOMPARE(again->documentPath(), copy);
    QCOMPARE(again->windowTitle(), QStringLiteral("copia.msh"));
    QVERIFY(tarvex::solver::openMsh(copy.toStdString(), reread).ok);
}

void TestMeshDoc::displayCommandsChangeTheModeOnlyWhenItChanges()
{
    CMeshFrame* results = openResults(QStringLiteral("modos.msh"));
    QVERIFY(results);
    CMeshView* view = results->view();
    QCOMPARE(view->displayMode(), CMeshView::Modo::Regioes);
    trigger(results, QStringLiteral("&Malha"));
    QCOMPARE(view->displayMode(), CMeshView::Modo::Malha);
    trigger(results, QStringLiteral("&Regioes"));
    QCOMPARE(view->displayMode(), CMeshView::Modo::Regioes);

    // The no-results question comes with entering the mode, not with each command.
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    trigger(results, QStringLiteral("&Equipotenciais"));
    trigger(results, QStringLiteral("&Equipotenciais"));
    QCOMPARE(view->displayMode(), CMeshView::Modo::Equipotenciais);
    QCOMPARE(m_prompter->questions.size(), 1);
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_dialogs.titles.isEmpty());

    // Each picture can be drawn, the mesh one included.
    for (const QString& command : { QStringLiteral("&Malha"), QStringLiteral("&Regioes") }) {
        trigger(results, command);
        QVERIFY(!view->imagem().isNull());
    }
    // The menus are those of the results view.
    QStringList titles;
    for (QMenu* menu : results->menus())
        titles << menu->title();
    QVERIFY(titles.contains(QStringLiteral("&Desenho")));
    QVERIFY(titles.contains(QStringLiteral("&Opções")));
    QVERIFY(titles.contains(QStringLiteral("&Cálculo")));
    QVERIFY(results->painelResultado()->isHidden());
    QCOMPARE(results->painelResultado()->text(), QStringLiteral("Fluxo : não calc."));
}

void TestMeshDoc::equipotentialsWithoutResultsAskToCalculate()
{
    CMeshFrame* results = openResults(QStringLiteral("pergunta.msh"));
    QVERIFY(results);
    CMeshView* view = results->view();
    const QString question
        = text(tarvex::msg::SemResultado) + '\n' + text(tarvex::msg::RealizaCalculoLinear);

    // No: the refusal, the regions only, nothing calculated.
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    view->equipotenciais();
    QCOMPARE(m_prompter->questions, QStringList { question });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosEquipotenciais) });
    QVERIFY(m_dialogs.titles.isEmpty());
    QCOMPARE(
        results->doc().model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
    QVERIFY(results->doc().model().equipotentialSegments.empty());

    // Yes, but the dialog is closed without calculating: no claim that it was done.
    view->regioes();
    m_prompter->questions.clear();
    m_prompter->warnings.clear();
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    view->equipotenciais();
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Cálculo Estático Linear") });
    QVERIFY(m_prompter->informations.isEmpty());
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosEquipotenciais) });

    // Yes and "Calcula": the linear dialog runs, then the announcement; the lines are traced.
    view->regioes();
    m_dialogs.titles.clear();
    m_prompter->warnings.clear();
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    m_dialogs.steps.push_back(calculate);
    view->equipotenciais();
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Cálculo Estático Linear") });
    QCOMPARE(m_prompter->informations, QStringList { text(tarvex::msg::CalculoLinearRealizado) });
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(results->doc().model().calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(view->displayMode(), CMeshView::Modo::Equipotenciais);
    QVERIFY(!results->doc().model().equipotentialSegments.empty());
}

void TestMeshDoc::inducedLinesWithoutThatAnalysisFallBackToRegions()
{
    CMeshFrame* results = openResults(QStringLiteral("induzidas.msh"));
    QVERIFY(results);
    CMeshView* view = results->view();
    view->malha();
    view->equipCorrentesInduzidas();
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosCorrentesInduzidas) });
    QCOMPARE(view->displayMode(), CMeshView::Modo::Regioes);
    QVERIFY(results->doc().model().inducedCurrentSegments.empty());

    // A linear result is not an induced-current one either.
    m_dialogs.steps.push_back(calculate);
    view->estaticoLinear();
    QCOMPARE(view->displayMode(), CMeshView::Modo::Equipotenciais);
    m_prompter->warnings.clear();
    view->equipCorrentesInduzidas();
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosCorrentesInduzidas) });
    QCOMPARE(view->displayMode(), CMeshView::Modo::Regioes);
}

QTEST_MAIN(TestMeshDoc)
#include "test_mesh_doc.moc"
