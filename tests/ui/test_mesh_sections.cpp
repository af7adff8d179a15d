// The results view's section, force, loss and auxiliary-line commands: their wiring from the
// menus through the two-click entry and the keyboard dialogs to the core and the graph documents.

#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "evaluation/sections.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_frame.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "results/dlg_curva_dens_fluxo.h"
#include "results/dlg_pontos_centro.h"
#include "results/forces.h"
#include "results/losses.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using tarvex::geometry::Ponto;

class TestMeshSections : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void twoClicksOpenTheGraphOfTheSectionAndKeepTheMode();
    void keyboardForceXYWritesTheResultPaneAndKeepsTheMode();
    void polarCentreDialogCancelKeepsThePointsAndTheMode();
    void lossesNeedAMagneticAnalysisAndShowTheirText();
    void auxiliaryLinesComeAndGo();
    void keyboardSectionWithoutResultsAsksAfterTheDialog();

private:
    void open(double condutividade = 0.0, bool resolver = true);
    void clickAt(const Ponto& world)
    {
        QTest::mouseClick(&view(), Qt::LeftButton, {}, view().paraPixel(world));
    }
    Ponto clicked(const Ponto& world) { return view().paraMundo(view().paraPixel(world)); }
    int graphCount() const { return int(m_app->mainFrame()->findChildren<CGraphFrame*>().size()); }
    /// The curves of the graph document opened last: its frame is the active one.
    tarvex::graphs::GraphData lastGraph() const
    {
        auto* frame = qobject_cast<CGraphFrame*>(m_app->mainFrame()->filhoAtivo());
        return frame ? frame->doc().data() : tarvex::graphs::GraphData {};
    }
    tarvex::solver::SolverModel& model() { return m_frame->doc().model(); }
    QLabel* pane() { return m_frame->painelResultado(); }
};

void TestMeshSections::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshSections::init()
{
    QVERIFY(iniciarPrograma());
}

void TestMeshSections::open(double condutividade, bool resolver)
{
    const QString path = m_dir.filePath(QStringLiteral("secoes%1.msh").arg(condutividade));
    QVERIFY(results_fixture::gravarModelo(path, condutividade));
    QVERIFY(abrirResultados(path, 440, 240));
    if (!resolver)
        return;
    tarvex::solver::NoRunReporter reporter;
    if (condutividade > 0.0) {
        model().frequency = 50.0;
        QVERIFY(tarvex::solver::runInducedCurrents(model(), {}, reporter));
    } else {
        QVERIFY(tarvex::solver::runLinear(model(), {}, reporter));
    }
    m_frame->doc().updateAllViews();
}

void TestMeshSections::cleanup()
{
    encerrarPrograma();
}

void TestMeshSections::twoClicksOpenTheGraphOfTheSectionAndKeepTheMode()
{
    open();
    trigger(QStringLiteral("Dens. &Fluxo Mouse"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Inducao);
    const int before = graphCount();
    clickAt({ 10.2, 20.1 });
    QCOMPARE(view().clickCount(), std::int16_t { 1 });
    QCOMPARE(view().marcas().size(), std::size_t { 1 });
    QCOMPARE(graphCount(), before);
    clickAt({ 90.3, 30.4 });
    QCOMPARE(view().clickCount(), std::int16_t { 0 });
    QCOMPARE(view().marcas().size(), std::size_t { 2 });
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Inducao);
    QCOMPARE(graphCount(), before + 1);

    // The graph holds the core's curves of the clicked section, with the G1 texts.
    const tarvex::graphs::GraphData g = lastGraph();
    QCOMPARE(QString::fromStdString(g.title), QStringLiteral("Densidade Fluxo sobre a Seção"));
    QCOMPARE(QString::fromStdString(g.yCaption), QStringLiteral("B (T)"));
    QCOMPARE(g.curveNames, (std::vector<std::string> { "B", "Bt", "Bn" }));
    const auto curves = tarvex::evaluation::sampleSection(
        model(), clicked({ 10.2, 20.1 }), clicked({ 90.3, 30.4 }), 0);
    QCOMPARE(g.curves.at(0).count(), curves.samples.size());
    QVERIFY(curves.samples.size() > 4);

    // The mode stays: two more clicks, one more graph.
    clickAt({ 20, 5 });
    clickAt({ 20, 45 });
    QCOMPARE(graphCount(), before + 2);
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMeshSections::keyboardForceXYWritesTheResultPaneAndKeepsTheMode()
{
    open();
    // A field without a number: "Calcula" says so and does not close the dialog.
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgCurvaDensFluxo&>(d);
        dialog.campoY(1)->setText(QStringLiteral("dez"));
        dialog.accept();
        return dialog.result();
    });
    trigger(QStringLiteral("F&orça XY Teclado"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::ValorInvalido) });
    m_prompter->warnings.clear();

    // Equal points: the message and nothing else.
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgCurvaDensFluxo&>(d);
        for (QLineEdit* e : { dialog.campoX(0), dialog.campoX(1) })
            e->setText(QStringLiteral("30"));
        for (QLineEdit* e : { dialog.campoY(0), dialog.campoY(1) })
            e->setText(QStringLiteral("10"));
        dialog.accept();
        return dialog.result();
    });
    trigger(QStringLiteral("F&orça XY Teclado"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::CurvaPontosIguais) });
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Nenhum);

    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgCurvaDensFluxo&>(d);
        dialog.campoX(0)->setText(QStringLiteral("5"));
        dialog.campoY(0)->setText(QStringLiteral("25"));
        dialog.campoX(1)->setText(QStringLiteral("95"));
        dialog.campoY(1)->setText(QStringLiteral("25"));
        dialog.accept();
        return dialog.result();
    });
    trigger(QStringLiteral("F&orça XY Teclado"));
    QCOMPARE(m_dialogs.titles, QStringList(3, QStringLiteral("Teclado")));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ForcaXY);
    const tarvex::results::SectionForce f
        = tarvex::results::forceOnSection(model(), { 5, 25 }, { 95, 25 });
    QVERIFY(f.magnitude > 0.0);
    QVERIFY(!pane()->isHidden());
    QCOMPARE(pane()->text(), QString::fromStdString(tarvex::results::forceText(f)));
    QVERIFY(pane()->text().startsWith(QStringLiteral("Força (N/m)   |F |:")));

    // Later clicks compute forces.
    clickAt({ 5, 10 });
    clickAt({ 95, 10 });
    QVERIFY(pane()->text() != QString::fromStdString(tarvex::results::forceText(f)));
    QCOMPARE(m_prompter->warnings.size(), 1);
}

void TestMeshSections::polarCentreDialogCancelKeepsThePointsAndTheMode()
{
    open();
    trigger(QStringLiteral("Fo&rça RT Mouse"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ForcaRT);
    clickAt({ 70, 25 });
    clickAt({ 30, 25 });
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Centro (Xc, Yc)") });
    QCOMPARE(view().sectionStart(), clicked({ 70, 25 }));
    QCOMPARE(view().sectionEnd(), clicked({ 30, 25 }));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ForcaRT);
    QCOMPARE(view().marcas().size(), std::size_t { 2 });
    QCOMPARE(pane()->text(), text(tarvex::msg::ResultadoNaoCalculado));

    // With a centre the force goes to the pane, and the centre is offered next time.
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgPontoCentro&>(d);
        dialog.campoX(0)->setText(QStringLiteral("50"));
        dialog.campoY(0)->setText(QStringLiteral("25"));
        dialog.accept();
        return dialog.result();
    });
    clickAt({ 70, 25 });
    clickAt({ 30, 25 });
    QCOMPARE(view().arcCentre(), (Ponto { 50, 25 }));
    QVERIFY(pane()->text().startsWith(QStringLiteral("Força (N/m)   |F |:")));
    QStringList offered;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgPontoCentro&>(d);
        offered << dialog.campoX(0)->text() << dialog.campoY(0)->text();
        return int(QDialog::Rejected);
    });
    clickAt({ 70, 25 });
    clickAt({ 30, 25 });
    QCOMPARE(offered, (QStringList { "50", "25" }));

    // The polar flux density by keyboard opens G1.
    const int before = graphCount();
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgPontosCentro&>(d);
        dialog.accept();
        return dialog.result();
    });
    QAction* polar = m_frame->findChild<QAction*>(QStringLiteral("polarInducaoTeclado"));
    QVERIFY(polar);
    polar->trigger();
    QCOMPARE(graphCount(), before + 1);
    QCOMPARE(lastGraph().curveNames, (std::vector<std::string> { "B", "Bt", "Bn" }));
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMeshSections::lossesNeedAMagneticAnalysisAndShowTheirText()
{
    open(5.8e7);
    trigger(QStringLiteral("&Total"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::PerdasTotal);
    const tarvex::results::Losses total = tarvex::results::totalLosses(model());
    QVERIFY(total.watts > 0.0);
    QCOMPARE(pane()->text(), QString::fromStdString(tarvex::results::totalLossesText(total.watts)));
    QVERIFY(!pane()->isHidden());

    trigger(QStringLiteral("&Região"));
    clickAt({ 50, 25 });
    QCOMPARE(pane()->text(), QString::asprintf("Perdas na Região W/m : %12.4g", total.watts));
    clickAt({ -3, 25 });
    QCOMPARE(m_prompter->warnings, QStringList { QStringLiteral("Ponto Fora do Dominio") });

    // The analysis type: "&Elétrico" turns it, and the loss commands refuse.
    trigger(QStringLiteral("&Elétrico"));
    QVERIFY(!view().analiseMagneticaAtiva());
    QVERIFY(m_frame->doc().isModified());
    trigger(QStringLiteral("&Total"));
    QCOMPARE(m_prompter->warnings.last(),
        QStringLiteral(
            "Opção não disponível para análise de campo elétrico !\nOperação cancelada !"));
    trigger(QStringLiteral("&Magnético"));
    QVERIFY(view().analiseMagneticaAtiva());
}

void TestMeshSections::auxiliaryLinesComeAndGo()
{
    open();
    // The strips differ in their source: no line between them goes on its own.
    trigger(QStringLiteral("Apaga Lin Aux. &Autom."));
    QVERIFY(m_frame->doc().linhasOcultas().empty());

    trigger(QStringLiteral("Apaga Lin Aux. &Man."));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ApagaLinhas);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Contornos);
    clickAt({ 40.5, 25 });
    QCOMPARE(m_frame->doc().linhasOcultas().size(), std::size_t { 1 });
    const tarvex::problem::SegmentoContorno& linha = m_frame->doc().linhasOcultas().front();
    QCOMPARE(linha.x1, 40.0);
    QCOMPARE(linha.x2, 40.0);
    // The model's regions keep their lines.
    QVERIFY(model().findRegionAt(45, 25) > 0);
    const QImage semLinha = view().imagem();

    trigger(QStringLiteral("&Recoloca Lin. Aux. Auto "));
    QVERIFY(m_frame->doc().linhasOcultas().empty());
    QVERIFY(view().imagem() != semLinha);
}

void TestMeshSections::keyboardSectionWithoutResultsAsksAfterTheDialog()
{
    open(0.0, false);
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgCurvaDensFluxo&>(d);
        dialog.campoX(1)->setText(QStringLiteral("90"));
        dialog.campoY(1)->setText(QStringLiteral("40"));
        dialog.accept();
        return dialog.result();
    });
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    const int before = graphCount();
    trigger(QStringLiteral("C&ampo Teclado"));
    // The dialog first, then the question; on No the refusal and no curve of numbering data.
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Teclado") });
    QCOMPARE(m_prompter->questions.size(), 1);
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosCurvas) });
    QCOMPARE(graphCount(), before);
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Nenhum);
}

QTEST_MAIN(TestMeshSections)
#include "test_mesh_sections.moc"
