#include "app/main_app.h"
#include "common/core_texts.h"
#include "common/dlg_escala.h"
#include "common/messages.h"
#include "evaluation/field_at_point.h"
#include "evaluation/flux.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "paint/view_palette.h"
#include "results/colour_map.h"
#include "results/dlg_calculo.h"
#include "results/dlg_esc_cores.h"
#include "results/dlg_fluxo_teclado.h"
#include "results/dlg_valor_ponto.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>
#include <set>

using Step = ScriptedDialogs::Step;
using tarvex::geometry::Ponto;
using tarvex::paint::ViewPalette;
using tarvex::solver::SolverModel;

namespace {

/// The dialog rows the core gives for a point, as the dialog should show them.
QList<std::pair<QString, QString>> expectedRows(
    const SolverModel& model, const Ponto& p, bool polar)
{
    QList<std::pair<QString, QString>> rows;
    const auto values = tarvex::evaluation::pointValues(model, p.x, p.y, polar);
    for (const auto& [label, value] : tarvex::evaluation::dialogFields(values))
        rows.append({ core_texts::texto(label), QString::fromStdString(value) });
    return rows;
}

/// How many pixels of `image` inside `area` have palette colour `index`.
int countColour(const QImage& image, const QRect& area, int index)
{
    const QRgb wanted = ViewPalette::entry(index).rgb();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF))
                ++n;
    return n;
}

/// With TARVEX_SHOW_DIALOGS set to a folder, a picture of the dialog goes there to be looked at.
void showDialog(QDialog& dialog, const QString& name)
{
    if (!qEnvironmentVariableIsSet("TARVEX_SHOW_DIALOGS"))
        return;
    dialog.adjustSize();
    dialog.grab().save(qEnvironmentVariable("TARVEX_SHOW_DIALOGS") + QLatin1Char('/') + name);
}

} // namespace

class TestMeshEvaluation : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pointDialogShowsTheCoreValuesForTheClickedPoint();
    void pointDialogStartsUndefinedAndRefusesBadPoints();
    void mouseCommandsWithoutResultsAskToCalculateFirst();
    void twoClicksGiveTheFluxAndSwappingThemItsNegative();
    void keyboardFluxDialogComputesAndStaysOpen();
    void colourMapCommandsCheckTheirPreconditions();
    void colourStripRunsTheMapCommandsWhileOpen();
    void inducedCurrentMapsNeedThatCalculation();
    void mapIsRedrawnOnEveryRepaintWithoutShiftingFurther();
    void keptMapIsDroppedWhenTheResultsChange();
    void millionTriangleMapRepaintsFromTheKeptMap();

private:
    void open(const QString& name, double condutividade = 0.0);
    void solve();
    void clickAt(const Ponto& world)
    {
        QTest::mouseClick(&view(), Qt::LeftButton, {}, view().paraPixel(world));
    }
    /// Where a click at `world` lands in model coordinates (the pixel grid rounds it).
    Ponto clicked(const Ponto& world) { return view().paraMundo(view().paraPixel(world)); }
    SolverModel& model() { return m_frame->doc().model(); }
    QLabel* pane() { return m_frame->painelResultado(); }
};

void TestMeshEvaluation::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshEvaluation::init()
{
    QVERIFY(iniciarPrograma());
    open(QStringLiteral("condutor.msh"));
}

void TestMeshEvaluation::open(const QString& name, double condutividade)
{
    const QString path = m_dir.filePath(name);
    QVERIFY(results_fixture::gravarModelo(path, condutividade));
    QVERIFY(abrirResultados(path, 440, 240));
}

void TestMeshEvaluation::solve()
{
    tarvex::solver::NoRunReporter reporter;
    QVERIFY(tarvex::solver::runLinear(model(), {}, reporter));
    m_frame->doc().updateAllViews();
}

void TestMeshEvaluation::cleanup()
{
    encerrarPrograma();
}

void TestMeshEvaluation::pointDialogShowsTheCoreValuesForTheClickedPoint()
{
    solve();
    trigger(QStringLiteral("&XY/RT Mouse/Teclado"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ValorPonto);
    QVERIFY(pane()->isHidden());

    // In the air beside the conductor, then inside it.
    const Ponto air = clicked({ 25.3, 17.1 });
    const Ponto conductor = clicked({ 50.2, 30.4 });
    QList<std::pair<QString, QString>> shown;
    QString x, y;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgValorPontoXY&>(d);
        shown = dialog.valores();
        x = dialog.campoCoordenada1()->text();
        y = dialog.campoCoordenada2()->text();
        return int(QDialog::Accepted);
    });
    clickAt({ 25.3, 17.1 });
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Grandezas Pontuais") });
    QCOMPARE(shown, expectedRows(model(), air, false));
    QCOMPARE(x.toDouble(), air.x);
    QCOMPARE(y.toDouble(), air.y);
    // A magnetic linear result: nine rows, Bx first, the relative permeability last.
    QCOMPARE(shown.size(), 9);
    QCOMPARE(shown.first().first, text(tarvex::msg::RotuloBx));
    QCOMPARE(shown.last().first, text(tarvex::msg::RotuloPermRelativa));
    QVERIFY(shown.at(2).second.toDouble() > 0.0); // |B| in the air next to a current

    // Choosing RT in the dialog re-evaluates the same point in the polar frame, and the choice
    // is kept for the next click.
    QList<std::pair<QString, QString>> polarShown, secondShown;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgValorPontoXY&>(d);
        dialog.opcaoRT()->setChecked(true);
        polarShown = dialog.valores();
        showDialog(dialog, QStringLiteral("valor_ponto_rt.png"));
        return int(QDialog::Accepted);
    });
    clickAt({ 25.3, 17.1 });
    QCOMPARE(polarShown, expectedRows(model(), air, true));
    QCOMPARE(polarShown.first().first, text(tarvex::msg::RotuloBt));
    QVERIFY(view().valorPontoPolar());

    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgValorPontoXY&>(d);
        secondShown = dialog.valores();
        // Radius and angle of the clicked point.
        x = dialog.campoCoordenada1()->text();
        y = dialog.campoCoordenada2()->text();
        return int(QDialog::Accepted);
    });
    clickAt({ 50.2, 30.4 });
    QCOMPARE(secondShown, expectedRows(model(), conductor, true));
    QVERIFY(qAbs(x.toDouble() - std::hypot(conductor.x, conductor.y)) < 1e-9);
    QVERIFY(qAbs(y.toDouble() - std::atan2(conductor.y, conductor.x) * 180.0 / M_PI) < 1e-9);
    QVERIFY(m_prompter->warnings.isEmpty());
    // The mode stays for further clicks.
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::ValorPonto);
}

void TestMeshEvaluation::pointDialogStartsUndefinedAndRefusesBadPoints()
{
    solve();
    CDlgValorPontoXY dialog(model(), *m_prompter);
    const auto rows = dialog.valores();
    QCOMPARE(rows.size(), 9);
    for (const auto& [label, value] : rows)
        QCOMPARE(value, text(tarvex::msg::Indefinido));
    QCOMPARE(rows.at(3).first, text(tarvex::msg::RotuloHx));

    // A typed point, then one outside the mesh: the old values must not stay.
    dialog.campoCoordenada1()->setText(QStringLiteral("70"));
    dialog.campoCoordenada2()->setText(QStringLiteral("20"));
    dialog.botaoCalcula()->click();
    QCOMPARE(dialog.valores(), expectedRows(model(), { 70, 20 }, false));
    dialog.campoCoordenada1()->setText(QStringLiteral("150"));
    dialog.botaoCalcula()->click();
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::PontoForaDominio) });
    for (const auto& [label, value] : dialog.valores())
        QCOMPARE(value, text(tarvex::msg::Indefinido));

    m_prompter->warnings.clear();
    dialog.campoCoordenada2()->setText(QStringLiteral("abc"));
    QVERIFY(!dialog.calcula());
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::ValorInvalido) });

    // A polar point typed as radius and angle is the same point as its X Y.
    m_prompter->warnings.clear();
    dialog.opcaoRT()->setChecked(true);
    dialog.campoCoordenada1()->setText(QStringLiteral("50"));
    dialog.campoCoordenada2()->setText(QStringLiteral("30"));
    QVERIFY(dialog.calcula());
    const auto [px, py] = tarvex::evaluation::polarToCartesian(50, 30);
    QCOMPARE(dialog.valores(), expectedRows(model(), { px, py }, true));

    // A click outside the mesh says so and opens nothing.
    m_prompter->warnings.clear();
    trigger(QStringLiteral("&XY/RT Mouse/Teclado"));
    clickAt({ -3, -3 });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::PontoForaDominio) });
    QVERIFY(m_dialogs.titles.isEmpty());
}

void TestMeshEvaluation::mouseCommandsWithoutResultsAskToCalculateFirst()
{
    const QString question = text(tarvex::msg::SemResultado) + QLatin1Char('\n')
        + text(tarvex::msg::RealizaCalculoLinear);

    // "Não": the command ends with its own message and no mode.
    m_prompter->yesNoAnswers = { Prompter::YesNo::No, Prompter::YesNo::No };
    trigger(QStringLiteral("&XY/RT Mouse/Teclado"));
    trigger(QStringLiteral("2 Pts. &Mouse"));
    QCOMPARE(m_prompter->questions, (QStringList { question, question }));
    QCOMPARE(m_prompter->warnings,
        (QStringList { text(tarvex::msg::SemDadosValores), text(tarvex::msg::SemDadosCurvas) }));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Nenhum);
    QVERIFY(m_dialogs.titles.isEmpty());

    // "Sim" but the calculation dialog closed without a run: still no results.
    m_prompter->warnings.clear();
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    trigger(QStringLiteral("2 Pts. &Mouse"));
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Cálculo Estático Linear") });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::SemDadosCurvas) });
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Nenhum);

    // "Sim" and a run: the command goes on into its mode.
    m_prompter->warnings.clear();
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgProCalcBase&>(d);
        dialog.botaoCalcula()->click();
        dialog.botaoEncerra()->click();
        return d.result();
    });
    trigger(QStringLiteral("2 Pts. &Mouse"));
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(model().calculationKind, tarvex::solver::CalculationKind::Linear);
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Fluxo2Pontos);

    // The keyboard command opens its dialog without any check.
    m_prompter->questions.clear();
    model().calculationKind = tarvex::solver::CalculationKind::NotCalculated;
    m_dialogs.titles.clear();
    trigger(QStringLiteral("2 Pts. &Teclado"));
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Teclado") });
    QVERIFY(m_prompter->questions.isEmpty());
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::FluxoTeclado);
}

void TestMeshEvaluation::twoClicksGiveTheFluxAndSwappingThemItsNegative()
{
    solve();
    QVERIFY(pane()->isHidden());
    trigger(QStringLiteral("2 Pts. &Mouse"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::Fluxo2Pontos);
    QVERIFY(!pane()->isHidden());
    QCOMPARE(pane()->text(), text(tarvex::msg::ResultadoNaoCalculado));

    const Ponto a = clicked({ 10.2, 25.1 });
    const Ponto b = clicked({ 49.7, 24.3 });
    clickAt({ 10.2, 25.1 });
    QCOMPARE(view().clickCount(), std::int16_t { 1 });
    QCOMPARE(pane()->text(), text(tarvex::msg::ResultadoNaoCalculado));
    clickAt({ 49.7, 24.3 });
    QCOMPARE(view().clickCount(), std::int16_t { 0 });
    const auto flux = tarvex::evaluation::fluxBetweenPoints(model(), a.x, a.y, b.x, b.y);
    QVERIFY(flux.found);
    QVERIFY(std::fabs(flux.value) > 0.0);
    QCOMPARE(pane()->text(), QString::fromStdString(tarvex::evaluation::fluxText(flux.value)));
    QCOMPARE(pane()->text(), QString::asprintf("Fluxo/m : %12.4g", flux.value));
    QCOMPARE(pane()->width(), 7 * int(pane()->text().size()));
    QCOMPARE(view().sectionStart(), a);
    QCOMPARE(view().sectionEnd(), b);

    // Markers in colour 5 at both points and the section in colour 14 between them.
    const QImage image = view().imagem();
    image.save(m_dir.filePath(QStringLiteral("flux.png")));
    if (qEnvironmentVariableIsSet("TARVEX_SHOW_FLUX_PNG"))
        image.save(qEnvironmentVariable("TARVEX_SHOW_FLUX_PNG"));
    const QPoint pa = view().paraPixel(a), pb = view().paraPixel(b);
    QVERIFY(countColour(image, QRect(pa - QPoint(2, 2), QSize(5, 5)), 5) > 0);
    QVERIFY(countColour(image, QRect(pb - QPoint(2, 2), QSize(5, 5)), 5) > 0);
    const QPoint middle = (pa + pb) / 2;
    QVERIFY(countColour(image, QRect(middle - QPoint(1, 1), QSize(3, 3)), 14) > 0);

    // The mode stays: the next two clicks, in the other order, give the negative.
    clickAt({ 49.7, 24.3 });
    clickAt({ 10.2, 25.1 });
    QCOMPARE(pane()->text(), QString::fromStdString(tarvex::evaluation::fluxText(-flux.value)));

    // A point off the mesh: a message, and the last result stays.
    const QString before = pane()->text();
    clickAt({ 10.2, 25.1 });
    clickAt({ -4, 25 });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::PontoForaDominio) });
    QCOMPARE(pane()->text(), before);

    // Other modes hide the pane.
    trigger(QStringLiteral("&XY/RT Mouse/Teclado"));
    QVERIFY(pane()->isHidden());
}

void TestMeshEvaluation::keyboardFluxDialogComputesAndStaysOpen()
{
    solve();
    bool closed = false;
    QStringList results;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgFluxoTeclado&>(d);
        connect(&dialog, &QDialog::finished, &dialog, [&] { closed = true; });
        results << dialog.campoFluxo()->text();
        dialog.campoX1()->setText(QStringLiteral("20"));
        dialog.campoY1()->setText(QStringLiteral("10"));
        dialog.campoX2()->setText(QStringLiteral("45"));
        dialog.campoY2()->setText(QStringLiteral("40"));
        dialog.botaoCalcula()->click();
        results << dialog.campoFluxo()->text();
        // Swapped, in the same open dialog.
        dialog.campoX1()->setText(QStringLiteral("45"));
        dialog.campoY1()->setText(QStringLiteral("40"));
        dialog.campoX2()->setText(QStringLiteral("20"));
        dialog.campoY2()->setText(QStringLiteral("10"));
        dialog.botaoCalcula()->click();
        results << dialog.campoFluxo()->text();
        results << (closed ? QStringLiteral("closed") : QStringLiteral("open"));
        showDialog(dialog, QStringLiteral("fluxo_teclado.png"));
        // Off the mesh, then not a number.
        dialog.campoX2()->setText(QStringLiteral("200"));
        dialog.botaoCalcula()->click();
        results << dialog.campoFluxo()->text();
        dialog.campoX2()->setText(QStringLiteral("x"));
        dialog.botaoCalcula()->click();
        dialog.campoX2()->setText(QStringLiteral("20"));
        dialog.reject();
        return d.result();
    });
    trigger(QStringLiteral("2 Pts. &Teclado"));
    const double v = tarvex::evaluation::fluxBetweenPoints(model(), 20, 10, 45, 40).value;
    QVERIFY(v != 0.0);
    QCOMPARE(results,
        (QStringList { text(tarvex::msg::FluxoNaoCalculado), QString::asprintf("%12.4g", v),
            QString::asprintf("%12.4g", -v), QStringLiteral("open"),
            text(tarvex::msg::FluxoNaoCalculado) }));
    QVERIFY(closed);
    QCOMPARE(m_prompter->warnings,
        (QStringList { text(tarvex::msg::PontoForaDominio), text(tarvex::msg::ValorInvalido) }));
    // The pane of mode 11 shows the last flux; the dialog opens again with the last points.
    QVERIFY(!pane()->isHidden());
    QCOMPARE(pane()->text(), QString::fromStdString(tarvex::evaluation::fluxText(-v)));
    QStringList reopened;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgFluxoTeclado&>(d);
        reopened << dialog.campoX1()->text() << dialog.campoY1()->text() << dialog.campoX2()->text()
                 << dialog.campoY2()->text();
        return int(QDialog::Rejected);
    });
    trigger(QStringLiteral("2 Pts. &Teclado"));
    QCOMPARE(reopened, (QStringList { "45", "40", "200", "10" }));
}

void TestMeshEvaluation::colourMapCommandsCheckTheirPreconditions()
{
    const QString soMagnetico = text(tarvex::msg::MapaSoMagnetico);
    // Nothing calculated yet.
    trigger(QStringLiteral("Módulo |&B|"));
    trigger(QStringLiteral("Módulo |&J|"));
    QCOMPARE(m_prompter->warnings,
        (QStringList {
            text(tarvex::msg::MapaSemResultado), text(tarvex::msg::MapaSemResultados) }));
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);

    solve();
    m_prompter->warnings.clear();
    trigger(QStringLiteral("Módulo |&D|"));
    trigger(QStringLiteral("Módulo |&E|"));
    trigger(QStringLiteral("Módulo |&J|"));
    trigger(QStringLiteral("&Perdas"));
    QCOMPARE(m_prompter->warnings,
        (QStringList { text(tarvex::msg::MapaSoEletrico), text(tarvex::msg::MapaSoEletrico),
            text(tarvex::msg::MapaSemCorrentesInduzidas),
            text(tarvex::msg::MapaSemCorrentesInduzidas) }));
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);

    m_prompter->warnings.clear();
    trigger(QStringLiteral("Módulo |&H|"));
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(view().displayMode(), CMeshView::Modo::EscalaCores);
    QCOMPARE(view().colourMapQuantity(), std::int32_t { tarvex::results::MapaCampoH });

    // A refused command leaves the map shown as it was.
    model().magnetic = 0;
    trigger(QStringLiteral("Módulo |&B|"));
    trigger(QStringLiteral("&Perdas"));
    QCOMPARE(m_prompter->warnings, (QStringList { soMagnetico, soMagnetico }));
    QCOMPARE(view().colourMapQuantity(), std::int32_t { tarvex::results::MapaCampoH });
    QCOMPARE(view().displayMode(), CMeshView::Modo::EscalaCores);
}

void TestMeshEvaluation::colourStripRunsTheMapCommandsWhileOpen()
{
    QAction* strip = m_frame->acao(QStringLiteral("Escala de Cores"));
    QVERIFY(strip);
    QCOMPARE(strip->statusTip(), QStringLiteral("Acessa o menu para traçado de escala da cores."));
    QCOMPARE(strip->toolTip(), QStringLiteral("Desenha Escala de Cores"));
    QVERIFY(m_frame->barra()->actions().contains(strip));

    strip->trigger();
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::EscalaCoresSemResultado) });
    QVERIFY(m_dialogs.titles.isEmpty());

    solve();
    m_prompter->warnings.clear();
    QStringList buttons;
    std::int32_t during = -1;
    bool openAfterButtons = false;
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto& dialog = dynamic_cast<CDlgEscCores&>(d);
        for (QPushButton* b : dialog.botoesMapa())
            buttons << b->text();
        showDialog(dialog, QStringLiteral("esc_cores.png"));
        connect(&dialog, &QDialog::finished, &dialog, [&] { openAfterButtons = false; });
        openAfterButtons = true;
        dialog.botao(QStringLiteral("Módulo |H|"))->click();
        during = view().colourMapQuantity();
        dialog.botao(QStringLiteral("Módulo |E|"))->click();
        dialog.botao(QStringLiteral("Módulo |B|"))->click();
        const bool stillOpen = openAfterButtons;
        dialog.botao(QStringLiteral("OK"))->click();
        return stillOpen ? d.result() : -1;
    });
    strip->trigger();
    QCOMPARE(buttons,
        (QStringList {
            "Módulo |B|", "Módulo |H|", "Módulo |D|", "Módulo |E|", "Módulo |J|", "Perdas" }));
    QCOMPARE(during, std::int32_t { tarvex::results::MapaCampoH });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MapaSoEletrico) });
    QCOMPARE(view().colourMapQuantity(), std::int32_t { tarvex::results::MapaInducao });
    QCOMPARE(view().displayMode(), CMeshView::Modo::EscalaCores);
    QVERIFY(!openAfterButtons); // OK closed it
}

void TestMeshEvaluation::inducedCurrentMapsNeedThatCalculation()
{
    m_frame->doc().setModified(false);
    open(QStringLiteral("condutivo.msh"), 5.8e7);
    QVERIFY(model().conductive);
    model().frequency = 60.0;
    tarvex::solver::NoRunReporter reporter;
    QVERIFY(tarvex::solver::runInducedCurrents(model(), {}, reporter));
    m_frame->doc().updateAllViews();

    trigger(QStringLiteral("Módulo |&J|"));
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QCOMPARE(view().colourMapQuantity(), std::int32_t { tarvex::results::MapaDensCorrente });
    view().imagem();
    QVERIFY(view().mapaAtual());
    // Current flows only in the conductor: the map's largest value is there, the air at zero.
    QVERIFY(view().mapaAtual()->maximum > 0.0);
    QCOMPARE(view().mapaAtual()->minimum, 0.0);
    trigger(QStringLiteral("&Perdas"));
    QCOMPARE(view().colourMapQuantity(), std::int32_t { tarvex::results::MapaDensPerdas });
    view().imagem();
    QCOMPARE(view().mapaAtual()->quantity, std::int32_t { tarvex::results::MapaDensPerdas });

    // The point dialog of such a result has the current and loss rows too.
    CDlgValorPontoXY dialog(model(), *m_prompter);
    QCOMPARE(dialog.valores().size(), 11);
    QCOMPARE(dialog.valores().last().first, text(tarvex::msg::RotuloPi));
}

void TestMeshEvaluation::mapIsRedrawnOnEveryRepaintWithoutShiftingFurther()
{
    solve();
    view().resize(600, 300);
    trigger(QStringLiteral("Módulo |&B|"));
    const QImage first = view().imagem();
    first.save(m_dir.filePath(QStringLiteral("mapa_b.png")));
    if (qEnvironmentVariableIsSet("TARVEX_SHOW_PNG"))
        first.save(qEnvironmentVariable("TARVEX_SHOW_PNG"));
    const tarvex::results::ColourMap* kept = view().mapaAtual();
    QVERIFY(kept);
    QCOMPARE(kept->values.size(), model().elements.size());

    // Every band has its legend box on the left strip; the lowest and highest bands also show in
    // the picture of the mesh.
    const QRect legend(0, 0, int(0.1015 * 600 / 2), 300);
    for (int k = 0; k < tarvex::results::BandCount; ++k)
        QVERIFY2(countColour(first, legend, tarvex::results::FirstBandColour + k) > 20,
            qPrintable(QString::number(k)));
    const QPoint left = view().paraPixel({ 0, 25 });
    QVERIFY(left.x() > int(0.1015 * 600) - 2);
    const QRect mesh(
        QPoint(left.x() + 3, view().paraPixel({ 0, 48 }).y()), view().paraPixel({ 99, 2 }));
    QVERIFY(countColour(first, mesh, tarvex::results::FirstBandColour) > 100);
    QVERIFY(countColour(first, mesh, tarvex::results::FirstBandColour + 14) > 0);

    // Later repaints draw the same picture from the kept map, with no further shift.
    const QImage second = view().imagem();
    QCOMPARE(second, first);
    QCOMPARE(view().mapaAtual(), kept);
    QCOMPARE(view().paraPixel({ 0, 25 }), left);

    // Leaving the map for the regions removes the strip.
    trigger(QStringLiteral("&Regioes"));
    QVERIFY(view().paraPixel({ 0, 25 }).x() < left.x());
}

void TestMeshEvaluation::keptMapIsDroppedWhenTheResultsChange()
{
    solve();
    trigger(QStringLiteral("Módulo |&B|"));
    view().imagem();
    const double before = view().mapaAtual()->maximum;

    QVERIFY(before > 0.0);

    // What a finished run leaves: new potentials (here twice the old ones), then the view is told.
    for (std::size_t i = 1; i < model().nodes.size(); ++i)
        model().nodes[i].value *= 2.0;
    tarvex::solver::RunResult done;
    done.end = tarvex::solver::RunEnd::Finished;
    view().concluirCalculo(done);
    QVERIFY(!view().mapaAtual());
    // The run showed the equipotentials; the map command draws the new field.
    trigger(QStringLiteral("Módulo |&B|"));
    view().imagem();
    QVERIFY(qAbs(view().mapaAtual()->maximum - 2.0 * before) < 1e-9 * before);

    // A new scale changes every value per metre.
    ValoresEscala escala {};
    const tarvex::geometry::Caixa janela = view().janela();
    escala.xMin = janela.xMin;
    escala.xMax = janela.xMax;
    escala.yMin = janela.yMin;
    escala.yMax = janela.yMax;
    escala.fatorEscala = model().scaleFactor * 2.0;
    view().aplicarEscala(escala);
    view().imagem();
    QVERIFY(qAbs(view().mapaAtual()->maximum - 4.0 * before) < 1e-9 * before);

    // Reading the file again (no results in it) goes back to the regions without a map.
    QVERIFY(m_frame->recarregar());
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);
    QVERIFY(!view().mapaAtual());
}

void TestMeshEvaluation::millionTriangleMapRepaintsFromTheKeptMap()
{
    // A square of 708 × 708 cells, each cut in two: a million triangles in one region.
    constexpr int cells = 708;
    constexpr double side = 100.0;
    CMeshDoc doc;
    SolverModel& big = doc.model();
    const auto node = [](int i, int j) { return 1 + j * (cells + 1) + i; };
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            const double x = side * i / cells, y = side * j / cells;
            big.nodes.push_back({ x, y, 1e-3 * (x * x + 0.5 * y * y) });
        }
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            big.elements.pushFront({ node(i, j), node(i, j + 1), node(i + 1, j + 1) });
            big.elements.pushFront({ node(i, j), node(i + 1, j + 1), node(i + 1, j) });
        }
    big.regions.pushFront(results_fixture::retangulo(0, 0, side, side));
    big.regions.pushFront(results_fixture::retangulo(0, 0, side, side));
    big.derivarRegioes();
    big.calculationKind = tarvex::solver::CalculationKind::Linear;
    QCOMPARE(big.elements.size(), std::size_t { 2 * cells * cells });

    CMeshView bigView(doc, *m_prompter);
    bigView.resize(800, 600);
    QVERIFY(bigView.mostrarMapa(tarvex::results::MapaInducao));
    QElapsedTimer timer;
    timer.start();
    const QImage first = bigView.imagem();
    const qint64 computeAndPaint = timer.restart();
    const QImage second = bigView.imagem();
    const qint64 repaint = timer.restart();
    // |B| grows away from the origin: both ends of the scale are painted.
    const QRect picture(bigView.paraPixel({ 1, 99 }), bigView.paraPixel({ 99, 1 }));
    // A new window paints the kept values again, without evaluating the triangles.
    const tarvex::results::ColourMap* kept = bigView.mapaAtual();
    bigView.setJanela({ -10, -10, 90, 110 });
    const QImage zoomed = bigView.imagem();
    const qint64 newWindow = timer.elapsed();
    qInfo("map of %zu triangles: first paint %lld ms, repaint %lld ms, new window %lld ms",
        big.elements.size(), computeAndPaint, repaint, newWindow);
    QCOMPARE(bigView.mapaAtual(), kept);
    QVERIFY(zoomed != second);
    if (qEnvironmentVariableIsSet("TARVEX_SHOW_BIG_PNG"))
        second.save(qEnvironmentVariable("TARVEX_SHOW_BIG_PNG"));
    QCOMPARE(second, first);
    QVERIFY(bigView.mapaAtual());
    QVERIFY(countColour(second, picture, tarvex::results::FirstBandColour) > 0);
    QVERIFY(countColour(second, picture, tarvex::results::FirstBandColour + 14) > 0);
    // An unchanged window repaints from the kept picture (generous for a loaded machine).
    QVERIFY2(repaint < 500, qPrintable(QString::number(repaint)));
}

QTEST_MAIN(TestMeshEvaluation)
#include "test_mesh_evaluation.moc"
