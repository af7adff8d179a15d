#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "paint/view_palette.h"
#include "results/dlg_calculo.h"
#include "results/dlg_num_equipot.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/msh_io.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

using Step = ScriptedDialogs::Step;
using tarvex::solver::ContourSegment;
using tarvex::solver::MeshNode;
using tarvex::solver::SolverModel;

namespace {

std::vector<ContourSegment> lines(const SolverModel& model)
{
    std::vector<ContourSegment> all;
    for (const ContourSegment& s : model.equipotentialSegments.inListOrder())
        all.push_back(s);
    return all;
}

/// What a calculation dialog showed and how it ended.
struct Seen {
    QString title;
    QStringList fields; ///< texts of the edit fields, in layout order
    QStringList labels; ///< texts of the labels
    QString statusAfter;
    bool calculaAfter = false;
    bool encerraAfter = false;
    bool interrompeAfter = true;
    QList<std::tuple<bool, bool, bool>> during; ///< Calcula, Encerra, Interrompe at each check
};

} // namespace

class TestMeshRuns : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linearRunStoresResultsAndShowsEquipotentials();
    void fieldsAreCheckedBeforeAnyRun();
    void interruptAnsweredNoLetsTheRunFinish();
    void interruptAnsweredYesLeavesTheResultsAsTheyWere();
    void nonlinearRunInterruptedAtAnyCheckKeepsTheLinearResult();
    void runMeetingAnElementOutsideEveryRegionSaysSoAndMarksIt();
    void commandsCheckTheirPreconditions();
    void inducedCurrentDialogShowsAndStoresItsConversions();
    void countDialogRetracesOnlyOnRecalcula();
    void solvedViewShowsLinesOverTheRegions();

private:
    /// Fills the dialog's fields (in layout order, empty to keep), presses "Calcula", records
    /// what the dialog showed into m_seen and closes it.
    Step calculate(QStringList values = {}, std::function<void(CDlgProCalcBase&)> duringCheck = {});
    SolverModel& model() { return m_frame->doc().model(); }
    Seen m_seen;
};

void TestMeshRuns::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshRuns::init()
{
    QVERIFY(iniciarPrograma());
    const QString path = m_dir.filePath(QStringLiteral("condutor.msh"));
    QVERIFY(results_fixture::gravarModelo(path));
    QVERIFY(abrirResultados(path, 440, 240));
    m_seen = {};
}

void TestMeshRuns::cleanup()
{
    encerrarPrograma();
}

Step TestMeshRuns::calculate(QStringList values, std::function<void(CDlgProCalcBase&)> duringCheck)
{
    return [this, values, duringCheck](QDialog& d) {
        auto* dialog = qobject_cast<CDlgProCalcBase*>(&d);
        if (!dialog)
            return -1;
        m_seen.title = d.windowTitle();
        const QList<QLineEdit*> fields = d.findChildren<QLineEdit*>();
        for (QLineEdit* field : fields)
            m_seen.fields << field->text();
        for (QLabel* label : d.findChildren<QLabel*>())
            m_seen.labels << label->text();
        for (int i = 0; i < values.size() && i < fields.size(); ++i)
            if (!values.at(i).isEmpty())
                fields.at(i)->setText(values.at(i));
        connect(dialog, &CDlgProCalcBase::verificando, dialog, [this, dialog, duringCheck] {
            m_seen.during.append({ dialog->botaoCalcula()->isEnabled(),
                dialog->botaoEncerra()->isEnabled(), dialog->botaoInterrompe()->isEnabled() });
            if (duringCheck)
                duringCheck(*dialog);
        });
        dialog->botaoCalcula()->click();
        m_seen.statusAfter = dialog->textoStatus();
        m_seen.calculaAfter = dialog->botaoCalcula()->isEnabled();
        m_seen.encerraAfter = dialog->botaoEncerra()->isEnabled();
        m_seen.interrompeAfter = dialog->botaoInterrompe()->isEnabled();
        dialog->botaoEncerra()->click();
        return d.result();
    };
}

void TestMeshRuns::linearRunStoresResultsAndShowsEquipotentials()
{
    QVERIFY(!model().equipotentialsTraced);
    m_dialogs.steps.push_back(calculate({ QStringLiteral("0.01") }));
    trigger(QStringLiteral("Estático Linear"));

    QCOMPARE(m_seen.title, QStringLiteral("Cálculo Estático Linear"));
    QCOMPARE(m_seen.fields, QStringList { QStringLiteral("0.1") }); // 0.001 shown in percent
    QVERIFY(m_seen.labels.contains(QStringLiteral("Erro Máximo (%)  :")));
    QVERIFY(m_seen.labels.contains(text(tarvex::msg::StatusNaoIniciado)));
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));

    // While the run goes on only "Interrompe" is enabled; afterwards the other way round.
    QVERIFY(!m_seen.during.isEmpty());
    for (const auto& [calcula, encerra, interrompe] : m_seen.during)
        QVERIFY(!calcula && !encerra && interrompe);
    QVERIFY(m_seen.statusAfter.startsWith(text(tarvex::msg::StatusConcluido) + QLatin1Char('\n')));
    QVERIFY(m_seen.calculaAfter && m_seen.encerraAfter && !m_seen.interrompeAfter);
    QVERIFY(!view().executando());

    QCOMPARE(view().runSettings().linearTolerance, 0.01 / 100.0);
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Equipotenciais);
    QVERIFY(m_frame->doc().isModified());
    QVERIFY(model().equipotentialsTraced);
    QVERIFY(!model().equipotentialSegments.empty());
    // The conductor carries current: the potential is no longer zero everywhere.
    double largest = 0.0;
    for (std::size_t i = 1; i < model().nodes.size(); ++i)
        largest = std::max(largest, std::fabs(model().nodes[i].value));
    QVERIFY(largest > 0.0);
    QVERIFY(m_prompter->questions.isEmpty());
}

void TestMeshRuns::fieldsAreCheckedBeforeAnyRun()
{
    const QString linearRange = QString::asprintf(tarvex::msg::NumeroEntre, 1e-20, 1e300);
    for (const QString& bad : { QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("abc"),
             QStringLiteral("1e301") }) {
        m_prompter->warnings.clear();
        m_dialogs.steps.push_back(calculate({ bad }));
        trigger(QStringLiteral("Estático Linear"));
        QCOMPARE(m_prompter->warnings, QStringList { linearRange });
        QCOMPARE(m_seen.statusAfter, text(tarvex::msg::StatusNaoIniciado));
        QVERIFY(m_seen.during.isEmpty());
    }
    QCOMPARE(view().runSettings().linearTolerance, 0.001);
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
    QVERIFY(!m_frame->doc().isModified());

    // The non-linear dialog: an iteration count of 1 to 1000, an error of 0.0001 to 10000 %.
    model().hasNonlinearRegion = true;
    const QString iterationRange = QString::asprintf(tarvex::msg::InteiroEntre, 1, 1000);
    const QString errorRange = QString::asprintf(tarvex::msg::NumeroEntre, 0.0001, 10000.0);
    const struct {
        QStringList values;
        QString warning;
    } cases[] = {
        { { QStringLiteral("0"), {} }, iterationRange },
        { { QStringLiteral("1001"), {} }, iterationRange },
        { { QStringLiteral("2.5"), {} }, iterationRange },
        { { {}, QStringLiteral("0.00001") }, errorRange },
        { { {}, QStringLiteral("20000") }, errorRange },
    };
    for (const auto& c : cases) {
        m_prompter->warnings.clear();
        m_seen = {};
        m_dialogs.steps.push_back(calculate(c.values));
        trigger(QStringLiteral("Estático Não Linear"));
        QCOMPARE(m_seen.title, QStringLiteral("Cálculo Estático Não-Linear"));
        QCOMPARE(m_prompter->warnings, QStringList { c.warning });
        QVERIFY(m_seen.during.isEmpty());
    }
    QCOMPARE(m_seen.fields, (QStringList { QStringLiteral("200"), QStringLiteral("5") }));
    QVERIFY(m_seen.labels.contains(text(tarvex::msg::IteracaoNaoIniciada)));
    QVERIFY(m_seen.labels.contains(QStringLiteral("Número Máximo de Iterações :")));
    QCOMPARE(view().runSettings().maxIterations, std::uint16_t { 200 });
    QCOMPARE(view().runSettings().errorTarget, 0.05);
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
}

void TestMeshRuns::interruptAnsweredNoLetsTheRunFinish()
{
    bool pressed = false;
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    m_dialogs.steps.push_back(calculate({}, [&pressed](CDlgProCalcBase& d) {
        if (!pressed) {
            pressed = true;
            d.botaoInterrompe()->click();
        }
    }));
    trigger(QStringLiteral("Estático Linear"));
    QVERIFY(pressed);
    QCOMPARE(m_prompter->questions, QStringList { text(tarvex::msg::InterrompeCalculo) });
    QVERIFY(m_seen.statusAfter.startsWith(text(tarvex::msg::StatusConcluido) + QLatin1Char('\n')));
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Equipotenciais);
    QVERIFY(m_frame->doc().isModified());
}

void TestMeshRuns::interruptAnsweredYesLeavesTheResultsAsTheyWere()
{
    // A first result, saved, with a wider tolerance.
    m_dialogs.steps.push_back(calculate({ QStringLiteral("10") }));
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    m_frame->doc().setModified(false);
    view().regioes();
    const std::vector<MeshNode> before = model().nodes;
    const std::vector<ContourSegment> linesBefore = lines(model());

    // A second, tighter run is stopped at its first check.
    m_seen = {};
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    int checks = 0;
    m_dialogs.steps.push_back(calculate({ QStringLiteral("1e-6") }, [&checks](CDlgProCalcBase& d) {
        if (checks++ == 0)
            d.botaoInterrompe()->click();
    }));
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_prompter->questions, QStringList { text(tarvex::msg::InterrompeCalculo) });
    QCOMPARE(checks, 1);
    QCOMPARE(m_seen.statusAfter, text(tarvex::msg::CalculoInterrompido));
    QVERIFY(m_seen.calculaAfter && m_seen.encerraAfter && !m_seen.interrompeAfter);
    QVERIFY(model().nodes == before);
    QVERIFY(lines(model()) == linesBefore);
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);
    QVERIFY(!m_frame->doc().isModified());
    QVERIFY(!view().executando());

    // With no run going "Interrompe" asks nothing.
    m_prompter->questions.clear();
    view().interromperCalculo();
    QVERIFY(m_prompter->questions.isEmpty());
}

void TestMeshRuns::nonlinearRunInterruptedAtAnyCheckKeepsTheLinearResult()
{
    const std::string steel = qEnvironmentVariable("TARVEX_TEST_DATA").toStdString()
        + "/../../examples/materials/aco_nao_orientado_400_50.mat";
    const QString path = m_dir.filePath(QStringLiteral("nao_linear.msh"));
    QVERIFY(results_fixture::gravarModelo(path, 0.0, steel));
    QVERIFY(abrirResultados(path));
    QVERIFY(model().hasNonlinearRegion);

    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    const std::vector<MeshNode> before = model().nodes;
    const std::vector<ContourSegment> linesBefore = lines(model());
    m_frame->doc().setModified(false);

    // Stopped at its first check, in its first steps, and well into the iteration.
    int reached = 0;
    for (const int stopAt : { 1, 3, 12, 60 }) {
        m_seen = {};
        m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
        int checks = 0;
        m_dialogs.steps.push_back(calculate({}, [&checks, stopAt](CDlgProCalcBase& d) {
            if (++checks == stopAt)
                d.botaoInterrompe()->click();
        }));
        trigger(QStringLiteral("Estático Não Linear"));
        if (checks < stopAt)
            break; // the run ended before that check: nothing left to interrupt
        ++reached;
        QCOMPARE(m_seen.statusAfter, text(tarvex::msg::CalculoInterrompido));
        QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
        QVERIFY(model().nodes == before);
        QVERIFY(lines(model()) == linesBefore);
        QVERIFY(!m_frame->doc().isModified());
    }
    QVERIFY(reached >= 2);

    // Left alone, the same run finishes and stores a non-linear result.
    m_seen = {};
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Não Linear"));
    QCOMPARE(m_seen.statusAfter, text(tarvex::msg::StatusConcluido));
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Nonlinear);
}

void TestMeshRuns::runMeetingAnElementOutsideEveryRegionSaysSoAndMarksIt()
{
    // A model whose conductor region is gone, with a non-linear result, so that the linear run
    // assembles again and meets the conductor's elements in no region.
    const QString path = m_dir.filePath(QStringLiteral("sem_regiao.msh"));
    QVERIFY(results_fixture::gravarModelo(path));
    SolverModel broken;
    QVERIFY(tarvex::solver::openMsh(path.toStdString(), broken).ok);
    broken.regions.eraseAt(2);
    broken.calculationKind = tarvex::solver::CalculationKind::Nonlinear;
    QVERIFY(tarvex::solver::saveMsh(path.toStdString(), broken).ok);
    QVERIFY(abrirResultados(path, 440, 240));
    const std::vector<MeshNode> before = model().nodes;

    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MontagemSemRegiao) });
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Nonlinear);
    QVERIFY(model().nodes == before);

    // The element is outlined in red where the picture has no red fill any more.
    const QImage picture = view().grab().toImage();
    int red = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            red += picture.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
    QVERIFY2(red > 6, qPrintable(QString::number(red)));
}

void TestMeshRuns::commandsCheckTheirPreconditions()
{
    // No non-linear region: the question, and No opens nothing.
    QVERIFY(!model().hasNonlinearRegion);
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    trigger(QStringLiteral("Estático Não Linear"));
    QCOMPARE(m_prompter->questions, QStringList { text(tarvex::msg::SemNaoLinearidade) });
    QVERIFY(m_dialogs.titles.isEmpty());
    // Yes opens the linear dialog instead.
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    trigger(QStringLiteral("Estático Não Linear"));
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Cálculo Estático Linear") });

    // No conductive region: the refusal, and no dialog.
    m_dialogs.titles.clear();
    trigger(QStringLiteral("Linear + Cor. Induzidas"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemCondutividade) });
    QVERIFY(m_dialogs.titles.isEmpty());
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
}

void TestMeshRuns::inducedCurrentDialogShowsAndStoresItsConversions()
{
    // A conducting conductor this time.
    const QString path = m_dir.filePath(QStringLiteral("conduz.msh"));
    QVERIFY(results_fixture::gravarModelo(path, 5.8e7));
    QVERIFY(abrirResultados(path));
    QVERIFY(model().conductive);

    m_dialogs.steps.push_back(calculate({ QStringLiteral("1"), QStringLiteral("60") }));
    trigger(QStringLiteral("Linear + Cor. Induzidas"));
    QCOMPARE(m_seen.title, QStringLiteral("Cálculo Linear + Cor. Induzidas"));
    QCOMPARE(m_seen.fields.value(0), QStringLiteral("0.5")); // 0.001 × 500
    QVERIFY(m_seen.labels.contains(QStringLiteral("Freqüência (Hz) :")));
    // The field reads back as it is shown: 1 means 0.002.
    QCOMPARE(view().runSettings().linearTolerance, 1.0 / 100.0 / 5.0);
    QCOMPARE(model().frequency, 60.0);
    QVERIFY(m_frame->doc().isModified());
    QVERIFY(m_seen.statusAfter.startsWith(text(tarvex::msg::StatusConcluido) + QLatin1Char('\n')));
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::InducedCurrents);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Equipotenciais);
    // Now the induced-current lines can be shown, and are traced on the way.
    m_prompter->warnings.clear();
    view().equipCorrentesInduzidas();
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QCOMPARE(view().displayMode(), CMeshView::Modo::CorrentesInduzidas);
    QVERIFY(model().inducedLinesTraced);
    QVERIFY(!model().inducedCurrentSegments.empty());
    const QImage induced = view().imagem();
    if (qEnvironmentVariableIsSet("TARVEX_KEEP_PNG"))
        induced.save(qEnvironmentVariable("TARVEX_KEEP_PNG") + QStringLiteral(".ind.png"));
    // A field that is not a number is refused.
    m_prompter->warnings.clear();
    m_dialogs.steps.push_back(calculate({ {}, QStringLiteral("sessenta") }));
    trigger(QStringLiteral("Linear + Cor. Induzidas"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::ValorInvalido) });
    QCOMPARE(model().frequency, 60.0);
}

void TestMeshRuns::countDialogRetracesOnlyOnRecalcula()
{
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    const std::vector<ContourSegment> with21 = lines(model());
    QVERIFY(!with21.empty());

    // OK keeps the new count for the next trace only.
    CDlgNumEquipot* dialog = nullptr;
    QString label;
    m_dialogs.steps.push_back([&](QDialog& d) {
        dialog = qobject_cast<CDlgNumEquipot*>(&d);
        if (!dialog || dialog->campoNumero()->text() != QStringLiteral("21"))
            return -1;
        for (QLabel* l : d.findChildren<QLabel*>())
            label = l->text();
        dialog->campoNumero()->setText(QStringLiteral("5"));
        dialog->accept();
        return d.result();
    });
    trigger(QStringLiteral("&Definir Número"));
    QCOMPARE(m_dialogs.titles.last(), QStringLiteral("Número de Equipotenciais"));
    QCOMPARE(label, QStringLiteral("Número de Equipotenciais :"));
    QCOMPARE(view().equipotentialCount(), 5);
    QVERIFY(lines(model()) == with21);

    // Out of range or not a number: refused, the dialog stays, Cancel keeps the count.
    const QString range = QString::asprintf(tarvex::msg::InteiroEntre, 2, 5000);
    for (const QString& bad :
        { QStringLiteral("1"), QStringLiteral("5001"), QStringLiteral("x") }) {
        m_prompter->warnings.clear();
        int afterOk = 0;
        m_dialogs.steps.push_back([&](QDialog& d) {
            auto* count = qobject_cast<CDlgNumEquipot*>(&d);
            count->campoNumero()->setText(bad);
            count->accept();
            afterOk = d.result();
            count->botaoRecalcula()->click();
            count->reject();
            return d.result();
        });
        trigger(QStringLiteral("&Definir Número"));
        QCOMPARE(afterOk, int(QDialog::Rejected));
        QCOMPARE(m_prompter->warnings, (QStringList { range, range }));
        QCOMPARE(view().equipotentialCount(), 5);
    }
    QVERIFY(lines(model()) == with21);

    // "Recalcula" stores and traces at once, from the regions picture too; Cancel keeps it.
    view().regioes();
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto* count = qobject_cast<CDlgNumEquipot*>(&d);
        count->campoNumero()->setText(QStringLiteral("3"));
        count->botaoRecalcula()->click();
        if (d.result() != 0) // the dialog stays open
            return -2;
        count->reject();
        return d.result();
    });
    trigger(QStringLiteral("&Definir Número"));
    QCOMPARE(view().equipotentialCount(), 3);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Equipotenciais);
    const std::vector<ContourSegment> with3 = lines(model());
    QVERIFY(!with3.empty());
    QVERIFY(with3.size() < with21.size());

    // A new calculation traces with the count in force.
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    QVERIFY(lines(model()).size() == with3.size());
}

void TestMeshRuns::solvedViewShowsLinesOverTheRegions()
{
    view().regioes();
    const QImage regions = view().imagem();
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(view().displayMode(), CMeshView::Modo::Equipotenciais);
    const QImage solved = view().imagem();
    QVERIFY(!solved.isNull());
    const QString png = m_dir.filePath(QStringLiteral("equipotenciais.png"));
    QVERIFY(solved.save(png));

    // The source fill (red) shows in both; the lines add white between the conductor and the box.
    const QColor red = tarvex::paint::ViewPalette::entry(4);
    const QColor white = tarvex::paint::ViewPalette::entry(15);
    const QPoint centre = view().paraPixel({ 50, 25 });
    QCOMPARE(regions.pixelColor(centre), red);
    int whiteBefore = 0, whiteAfter = 0;
    for (int x = view().paraPixel({ 5, 25 }).x(); x < view().paraPixel({ 38, 25 }).x(); ++x) {
        whiteBefore += regions.pixelColor(x, centre.y()) == white;
        whiteAfter += solved.pixelColor(x, centre.y()) == white;
    }
    QCOMPARE(whiteBefore, 0);
    QVERIFY2(whiteAfter >= 3, qPrintable(QString::number(whiteAfter)));
    if (qEnvironmentVariableIsSet("TARVEX_KEEP_PNG")) {
        const QString keep = qEnvironmentVariable("TARVEX_KEEP_PNG");
        solved.save(keep);
        m_frame->resize(640, 420);
        m_frame->grab().save(keep + QStringLiteral(".frame.png"));
        CDlgProCalculo dialog(view(), *m_prompter);
        dialog.grab().save(keep + QStringLiteral(".dialog.png"));
    }
}

QTEST_MAIN(TestMeshRuns)
#include "test_mesh_runs.moc"
