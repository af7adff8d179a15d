#include "app/main_app.h"
#include "common/messages.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "results/dlg_calculo.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// What the calculation dialogs leave on screen when a run ends, and the solver method they offer.

namespace {

/// What one dialog showed.
struct Seen {
    QString status; ///< after the run
    QString iteration; ///< the non-linear dialog's iteration line after the run
    QStringList iterationLines; ///< the iteration line at each check of the run, when it changed
    int method = -1; ///< the method offered when the dialog opened
};

/// The iterations and the relative residual of a status text's summary line; -1 when absent.
std::pair<int, double> summaryOf(const QString& status)
{
    static const QRegularExpression line(QStringLiteral(
        "^Status: cálculo concluído\\nIterações : (\\d+)     Resíduo Relativo :  +(\\S+)$"));
    const QRegularExpressionMatch m = line.match(status);
    if (!m.hasMatch())
        return { -1, -1.0 };
    return { m.captured(1).toInt(), m.captured(2).toDouble() };
}

} // namespace

class TestCalcSummary : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linearAndInducedDialogsEndWithIterationsAndResidual();
    void nonlinearDialogShowsEveryStepAndTheLastOne();
    void methodChoiceIsUsedAndRemembered();
    void interruptStopsADirectSolve();

private:
    void open(const QString& name, double conductivity = 0.0, const std::string& curve = {});
    /// Chooses the method (-1 keeps it), presses "Calcula", records into m_seen, closes.
    ScriptedDialogs::Step calculate(int method = -1, bool interrupt = false);
    Seen m_seen;
};

void TestCalcSummary::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestCalcSummary::init()
{
    QVERIFY(iniciarPrograma());
    m_seen = {};
}

void TestCalcSummary::cleanup()
{
    encerrarPrograma();
}

void TestCalcSummary::open(const QString& name, double conductivity, const std::string& curve)
{
    const QString path = m_dir.filePath(name);
    QVERIFY(results_fixture::gravarModelo(path, conductivity, curve));
    QVERIFY(abrirResultados(path));
}

ScriptedDialogs::Step TestCalcSummary::calculate(int method, bool interrupt)
{
    return [this, method, interrupt](QDialog& d) {
        auto* dialog = qobject_cast<CDlgProCalcBase*>(&d);
        if (!dialog)
            return -1;
        m_seen.method = dialog->campoMetodo()->currentIndex();
        if (method >= 0)
            dialog->campoMetodo()->setCurrentIndex(method);
        auto* nonlinear = qobject_cast<CDlgProCalculo*>(dialog);
        if (nonlinear)
            connect(dialog, &CDlgProCalcBase::verificando, dialog, [this, nonlinear] {
                const QString line = nonlinear->textoIteracao();
                if (m_seen.iterationLines.isEmpty() || m_seen.iterationLines.last() != line)
                    m_seen.iterationLines << line;
            });
        if (interrupt)
            connect(dialog, &CDlgProCalcBase::verificando, dialog,
                [dialog] { dialog->botaoInterrompe()->click(); });
        dialog->botaoCalcula()->click();
        m_seen.status = dialog->textoStatus();
        if (nonlinear)
            m_seen.iteration = nonlinear->textoIteracao();
        dialog->botaoEncerra()->click();
        return d.result();
    };
}

void TestCalcSummary::linearAndInducedDialogsEndWithIterationsAndResidual()
{
    open(QStringLiteral("condutor.msh"), 5.8e7);
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    const auto [iterations, residual] = summaryOf(m_seen.status);
    QVERIFY2(iterations > 1, qPrintable(m_seen.status));
    // Below the dialog's tolerance (0.1 % by default), and not zero.
    QVERIFY2(residual > 0.0 && residual < 0.001, qPrintable(m_seen.status));

    m_seen = {};
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Linear + Cor. Induzidas"));
    const auto [complexIterations, complexResidual] = summaryOf(m_seen.status);
    QVERIFY2(complexIterations > 1, qPrintable(m_seen.status));
    QVERIFY2(complexResidual > 0.0 && complexResidual < 0.001, qPrintable(m_seen.status));
}

void TestCalcSummary::nonlinearDialogShowsEveryStepAndTheLastOne()
{
    const std::string steel = qEnvironmentVariable("TARVEX_TEST_DATA").toStdString()
        + "/../../examples/materials/aco_nao_orientado_400_50.mat";
    open(QStringLiteral("nao_linear.msh"), 0.0, steel);
    QVERIFY(view().documento().model().hasNonlinearRegion);
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Não Linear"));
    QCOMPARE(m_seen.status, text(tarvex::msg::StatusConcluido));

    // While it ran: the line of each step in turn, from the first.
    QVERIFY(m_seen.iterationLines.size() >= 3);
    QCOMPARE(m_seen.iterationLines.first(), text(tarvex::msg::IteracaoNaoIniciada));
    for (int k = 1; k < m_seen.iterationLines.size(); ++k)
        QVERIFY2(m_seen.iterationLines.at(k).startsWith(QStringLiteral("Passo : %1 ").arg(k)),
            qPrintable(m_seen.iterationLines.join(QLatin1Char('|'))));
    // At the end: the last step and its error, below the target.
    const tarvex::solver::SolverModel& model = view().documento().model();
    QCOMPARE(m_seen.iteration,
        QString::asprintf(tarvex::msg::LinhaPasso, int(m_seen.iterationLines.size() - 1),
            model.storedError * 100.0));
    QVERIFY(model.storedError < view().runSettings().errorTarget);

    // A second run has nothing left to do: it still says where the iteration stands.
    m_seen = {};
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Não Linear"));
    QCOMPARE(
        m_seen.iteration, QString::asprintf(tarvex::msg::LinhaPasso, 0, model.storedError * 100.0));
}

void TestCalcSummary::methodChoiceIsUsedAndRemembered()
{
    open(QStringLiteral("metodo.msh"), 5.8e7);
    // Conjugate gradients until the user chooses otherwise.
    m_dialogs.steps.push_back(calculate(1));
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_seen.method, 0);
    QVERIFY(view().runSettings().method == tarvex::linalg::SolverMethod::Direct);
    // A direct solve is one step to a residual at rounding level.
    const auto [iterations, residual] = summaryOf(m_seen.status);
    QCOMPARE(iterations, 1);
    QVERIFY2(residual >= 0.0 && residual < 1e-10, qPrintable(m_seen.status));
    const std::vector<tarvex::solver::MeshNode> direct = view().documento().model().nodes;

    // The next dialog, another kind, offers the method chosen last.
    m_seen = {};
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Linear + Cor. Induzidas"));
    QCOMPARE(m_seen.method, 1);
    QCOMPARE(summaryOf(m_seen.status).first, 1);

    // And so does a new session of the program, until conjugate gradients are chosen again.
    encerrarPrograma();
    init();
    open(QStringLiteral("metodo2.msh"), 5.8e7);
    m_dialogs.steps.push_back(calculate(0));
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_seen.method, 1);
    QVERIFY(summaryOf(m_seen.status).first > 1);
    // Both methods give the same potentials to within the tolerance.
    const std::vector<tarvex::solver::MeshNode>& iterative = view().documento().model().nodes;
    QCOMPARE(iterative.size(), direct.size());
    double worst = 0.0;
    double scale = 0.0;
    for (std::size_t i = 1; i < direct.size(); ++i) {
        worst = std::max(worst, std::fabs(direct[i].value - iterative[i].value));
        scale = std::max(scale, std::fabs(direct[i].value));
    }
    QVERIFY2(worst < 0.01 * scale, qPrintable(QString::number(worst / scale)));
    m_seen = {};
    m_dialogs.steps.push_back(calculate());
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_seen.method, 0);
}

void TestCalcSummary::interruptStopsADirectSolve()
{
    open(QStringLiteral("interrompe.msh"));
    const std::vector<tarvex::solver::MeshNode> before = view().documento().model().nodes;
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    m_dialogs.steps.push_back(calculate(1, true));
    trigger(QStringLiteral("Estático Linear"));
    QCOMPARE(m_prompter->questions, QStringList { text(tarvex::msg::InterrompeCalculo) });
    QCOMPARE(m_seen.status, text(tarvex::msg::CalculoInterrompido));
    QVERIFY(view().documento().model().nodes == before);
    QCOMPARE(
        view().documento().model().calculationKind, tarvex::solver::CalculationKind::NotCalculated);
}

QTEST_MAIN(TestCalcSummary)
#include "test_calc_summary.moc"
