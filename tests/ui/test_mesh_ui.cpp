#include "app/main_app.h"
#include "common/messages.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "paint/view_mapping.h"
#include "paint/view_palette.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_io.h"
#include "problem/dat_view.h"
#include "problem/dlg_controle_malha.h"
#include "problem/dlg_geracao_malha.h"
#include "problem/dlg_info_malha.h"
#include "problem/editing.h"
#include "problem/mesh_observer_view.h"
#include "problem/mesher/gerar_malha.h"
#include "problem/problem_data.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <deque>
#include <functional>
#include <memory>

using tarvex::problem::ProblemData;
using Step = ScriptedDialogs::Step;

namespace {

/// The outer rectangle 0..100 × 0..50 with an inner square 20..40: its shortest segment is 20.
ProblemData problem()
{
    ProblemData data;
    data.regioes.pushFront(results_fixture::retangulo(20, 20, 40, 40));
    data.regioes.pushFront(results_fixture::retangulo(0, 0, 100, 50));
    data.janela = { -5, 105, -5, 55 };
    data.arestaMaxima = 10.0;
    data.derivarListas();
    return data;
}

/// Presses a button of the dialog and returns its result (which a press may not change).
Step press(std::function<QAbstractButton*(QDialog&)> button)
{
    return [button](QDialog& d) {
        QAbstractButton* b = button(d);
        if (!b)
            return -1;
        b->click();
        return d.result();
    };
}

QPushButton* inicia(QDialog& d)
{
    auto* g = qobject_cast<CDlgGeracaoMalha*>(&d);
    return g ? g->botaoInicia() : nullptr;
}

} // namespace

class TestMeshUi : public ScriptedProgramTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geraRunsShowsTheMeshAndItsInformation();
    void runsThatEndWithoutAMeshRestoreTheModeAndSayWhy();
    void controlDialogAppliesItsRulesAndRefusesAbsurdValues();
    void meshCommandsFromTheMenuRefuseWithoutAMeshAndRefineWithOne();
    void drawingLayerErasesRemovedTrianglesAndRepaintsOnlyInBatches();

private:
    int run(QDialog& dialog) { return m_dialogs.run(dialog); }
    void trigger(const QString& menuText)
    {
        QAction* action = m_frame->acao(menuText);
        QVERIFY2(action, qPrintable(menuText));
        QVERIFY2(action->isEnabled(), qPrintable(menuText));
        action->trigger();
    }
    /// "Gera" and "Inicia"; the element count of the information that ends the run goes to m_info.
    void generate();
    ProblemData& data() { return m_frame->doc().data(); }
    CDatView& view() { return *m_frame->view(); }

    CDatFrame* m_frame = nullptr;
    QMap<QString, QString> m_info;
};

void TestMeshUi::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshUi::init()
{
    QVERIFY(iniciarPrograma());
    const QString path = m_dir.filePath(QStringLiteral("problema.dat"));
    QVERIFY(tarvex::problem::saveDat(path.toStdString(), problem()).ok);
    m_frame = qobject_cast<CDatFrame*>(m_app->abrirPorExtensao(path, QStringLiteral("dat")));
    QVERIFY(m_frame);
    view().setExecutorDialogos([this](QDialog& d) { return run(d); });
    view().resize(400, 250);
    m_info.clear();
}

void TestMeshUi::cleanup()
{
    m_frame = nullptr;
    fecharPrograma();
}

void TestMeshUi::generate()
{
    m_dialogs.steps.push_back(press(inicia));
    m_dialogs.steps.push_back([this](QDialog& d) {
        auto* info = qobject_cast<CDlgInfoMalha*>(&d);
        m_info[QStringLiteral("n")] = info ? info->valor(text(tarvex::msg::InfoNumElementos)) : "";
        return int(QDialog::Accepted);
    });
    trigger(QStringLiteral("Gera"));
}

void TestMeshUi::geraRunsShowsTheMeshAndItsInformation()
{
    view().condContorno();
    QList<std::tuple<int, bool, bool, bool>> seen; // position, Inicia, Interrompe, Encerra
    m_dialogs.steps.push_back([&](QDialog& d) {
        auto* g = qobject_cast<CDlgGeracaoMalha*>(&d);
        if (!g || g->textoStatus() != text(tarvex::msg::MalhaNaoGeradaStatus))
            return -1;
        connect(g, &CDlgGeracaoMalha::posicaoAlterada, g, [&seen, g](int p) {
            seen.append({ p, g->botaoInicia()->isEnabled(), g->botaoInterrompe()->isEnabled(),
                g->botaoEncerra()->isEnabled() });
        });
        g->botaoInicia()->click();
        // Done: the status and the buttons are back for another run.
        if (g->textoStatus() != text(tarvex::msg::MalhaConcluida) || g->posicao() != 100
            || !g->botaoInicia()->isEnabled() || g->botaoInterrompe()->isEnabled())
            return -2;
        return int(QDialog::Accepted);
    });
    m_dialogs.steps.push_back([this](QDialog& d) {
        auto* info = qobject_cast<CDlgInfoMalha*>(&d);
        if (!info)
            return -1;
        m_info[QStringLiteral("n")] = info->valor(text(tarvex::msg::InfoNumElementos));
        m_info[QStringLiteral("nos")] = info->valor(text(tarvex::msg::InfoNumNos));
        m_info[QStringLiteral("q")] = info->valor(text(tarvex::msg::InfoQualidadeMedia));
        // While the information is shown the smallest triangle is highlighted.
        m_info[QStringLiteral("destaque")] = view().menorTriangulo() ? "sim" : "nao";
        return int(QDialog::Accepted);
    });
    QVERIFY(!m_frame->doc().isModified());
    trigger(QStringLiteral("Gera"));

    QCOMPARE(m_dialogs.titles,
        (QStringList {
            QStringLiteral("Geração da Malha"), text(tarvex::msg::InformacoesMalhaTitulo) }));
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QVERIFY(data().numTriangulos > 20);
    QCOMPARE(m_info.value(QStringLiteral("n")), QString::number(data().numTriangulos));
    QCOMPARE(m_info.value(QStringLiteral("nos")), QString::number(data().numNos));
    QCOMPARE(m_info.value(QStringLiteral("q")), QString::asprintf("%5.3f", data().qualidadeMalha));
    QCOMPARE(m_info.value(QStringLiteral("destaque")), QStringLiteral("sim"));
    QCOMPARE(view().modo(), CDatView::Modo::MalhaGerada);
    QCOMPARE(view().modoAnterior(), CDatView::Modo::CondContorno);
    QVERIFY(!view().desenhoGeracao());
    QVERIFY(m_frame->doc().isModified());

    // Every checkpoint ran with only "Interrompe" enabled.
    QVERIFY(seen.size() >= 7);
    QCOMPARE(std::get<0>(seen.first()), 10);
    for (const auto& [position, start, stop, close] : seen)
        if (position < 100)
            QVERIFY(!start && stop && !close);

    // The mesh shows in white with its contour in light blue.
    const QImage picture = view().grab().toImage();
    const QPoint corner = view().paraPixel({ 100, 25 });
    bool boundary = false;
    for (int dx = -2; dx <= 2 && !boundary; ++dx)
        boundary = picture.pixelColor(corner.x() + dx, corner.y())
            == tarvex::paint::ViewPalette::entry(9);
    QVERIFY(boundary);
}

void TestMeshUi::runsThatEndWithoutAMeshRestoreTheModeAndSayWhy()
{
    generate();
    QVERIFY(data().numTriangulos > 0);
    m_frame->doc().setModified(false);

    // Interrupted at the first checkpoint: the previous mesh is gone, so the problem changed.
    view().estrutura();
    m_dialogs.steps.push_back([this](QDialog& d) {
        auto* g = qobject_cast<CDlgGeracaoMalha*>(&d);
        if (!g)
            return -1;
        connect(g, &CDlgGeracaoMalha::posicaoAlterada, g, [g](int p) {
            if (p == 10)
                g->botaoInterrompe()->click();
        });
        g->botaoInicia()->click();
        if (g->textoStatus() != text(tarvex::msg::MalhaNaoGeradaStatus)
            || !g->botaoInicia()->isEnabled() || g->botaoInterrompe()->isEnabled()
            || !g->botaoEncerra()->isEnabled())
            return -2;
        return int(QDialog::Rejected);
    });
    m_dialogs.titles.clear();
    trigger(QStringLiteral("Gera"));
    QCOMPARE(
        m_dialogs.titles, QStringList { QStringLiteral("Geração da Malha") }); // no information
    QVERIFY(m_prompter->warnings.isEmpty());
    QVERIFY(data().triangulos.empty());
    QCOMPARE(data().numTriangulos, 0);
    QCOMPARE(view().modo(), CDatView::Modo::Estrutura);
    QVERIFY(m_frame->doc().isModified());

    // A refused run shows the core's message and leaves the mode as it was.
    view().condContorno();
    data().arestaMaxima = 0.0;
    m_dialogs.steps.push_back(press(inicia));
    m_dialogs.titles.clear();
    trigger(QStringLiteral("Gera"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MalhaArestaInvalida) });
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Geração da Malha") });
    QCOMPARE(view().modo(), CDatView::Modo::CondContorno);
}

void TestMeshUi::controlDialogAppliesItsRulesAndRefusesAbsurdValues()
{
    CDlgControleMalha* dialog = nullptr;
    const auto fill = [&](std::function<void(CDlgControleMalha&)> edit, bool gera = false) {
        m_dialogs.steps.push_back([&dialog, edit, gera](QDialog& d) {
            dialog = qobject_cast<CDlgControleMalha*>(&d);
            if (!dialog)
                return -1;
            edit(*dialog);
            if (gera)
                dialog->botaoGeraMalha()->click();
            else
                dialog->accept();
            return d.result();
        });
    };

    // A fresh view: "Valor:" is the shortest segment, the angle is that of √2.
    fill([](CDlgControleMalha& d) {
        if (d.campoAngulo()->text() != QStringLiteral("20.705") || d.campoValor()->text() != "20"
            || !d.campoValor()->isEnabled() || d.campoFatorAresta()->isEnabled())
            return;
        d.botaoMenorSegmento()->setChecked(true);
        if (d.campoValor()->isEnabled() || !d.campoFatorAresta()->isEnabled())
            return;
        d.campoFatorAresta()->setText(QStringLiteral("0,5"));
        d.campoFatorEspecial()->setText(QStringLiteral("0.25"));
        d.caixaVerificaAngulo()->setChecked(true);
    });
    trigger(QStringLiteral("Ajustes..."));
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(view().controleMalha().modoAresta, 1);
    QCOMPARE(data().arestaMaxima, 10.0);
    QCOMPARE(data().arestaEspecial, 5.0);
    QCOMPARE(data().fatorQualidade, std::sqrt(2.0)); // the angle left as shown keeps the term
    QVERIFY(view().opcoesMalha().verificaAngulo);
    QVERIFY(!view().opcoesMalha().recentragem);

    // By value: the value becomes the reference length, and the special factor follows it.
    fill([](CDlgControleMalha& d) {
        d.botaoMaiorAresta()->setChecked(true);
        d.campoValor()->setText(QStringLiteral("8"));
        d.campoFatorAresta()->setText(QStringLiteral("ignored while disabled"));
        d.campoAngulo()->setText(QStringLiteral("30"));
        d.caixaRecentragem()->setChecked(true);
    });
    trigger(QStringLiteral("Ajustes..."));
    QVERIFY(m_prompter->warnings.isEmpty());
    QCOMPARE(data().arestaMaxima, 8.0);
    QCOMPARE(view().opcoesMalha().comprimentoReferencia, 8.0);
    QCOMPARE(data().arestaEspecial, 0.25 * 8.0);
    QVERIFY(std::fabs(data().fatorQualidade - 1.0) < 1e-12);
    QVERIFY(view().opcoesMalha().recentragem);

    // Absurd values are refused and the dialog stays open; Cancel then changes nothing.
    const ProblemData before = data();
    const struct {
        const char* field;
        const char* value;
        QString warning;
    } refusals[] = {
        { "valor", "abc", text(tarvex::msg::ValorInvalido) },
        { "valor", "0", QStringLiteral(" O valor deve ser maior que zero !") },
        { "fatorEspecial", "-1", QStringLiteral(" O valor deve ser maior que zero !") },
        { "angulo", "75", QStringLiteral(" O ângulo deve estar entre 0 e 60 graus !") },
        { "angulo", "0", QStringLiteral(" O ângulo deve estar entre 0 e 60 graus !") },
    };
    for (const auto& r : refusals) {
        m_prompter->warnings.clear();
        int result = 0;
        m_dialogs.steps.push_back([&](QDialog& d) {
            d.findChild<QLineEdit*>(QString::fromUtf8(r.field))
                ->setText(QString::fromUtf8(r.value));
            d.accept();
            result = d.result();
            d.reject();
            return d.result();
        });
        trigger(QStringLiteral("Ajustes..."));
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(m_prompter->warnings, QStringList { r.warning });
    }
    QCOMPARE(data().arestaMaxima, before.arestaMaxima);
    QCOMPARE(data().arestaEspecial, before.arestaEspecial);
    QCOMPARE(data().fatorQualidade, before.fatorQualidade);

    // "Gera Malha" applies the values and opens the run.
    m_prompter->warnings.clear();
    m_dialogs.titles.clear();
    fill([](CDlgControleMalha& d) { d.campoValor()->setText(QStringLiteral("12.5")); }, true);
    trigger(QStringLiteral("Ajustes..."));
    QCOMPARE(data().arestaMaxima, 12.5);
    QCOMPARE(m_dialogs.titles,
        (QStringList {
            QStringLiteral("Controle de Geração da Malha"), QStringLiteral("Geração da Malha") }));
}

void TestMeshUi::meshCommandsFromTheMenuRefuseWithoutAMeshAndRefineWithOne()
{
    trigger(QStringLiteral("Informações Malha Atual"));
    trigger(QStringLiteral("Recentra Malha Atual"));
    trigger(QStringLiteral("Refina Total"));
    trigger(QStringLiteral("Refina Área"));
    QCOMPARE(m_prompter->warnings,
        (QStringList { text(tarvex::msg::MalhaNaoGerada), text(tarvex::msg::RecentragemSemMalha),
            text(tarvex::msg::MalhaNaoGerada), text(tarvex::msg::AreaRefinoIncorreta) }));
    QVERIFY(m_dialogs.titles.isEmpty());

    generate();
    const int triangles = data().numTriangulos;
    QCOMPARE(m_info.value(QStringLiteral("n")), QString::number(triangles));
    m_prompter->warnings.clear();
    view().estrutura();
    trigger(QStringLiteral("Refina Total"));
    QCOMPARE(data().numTriangulos, 4 * triangles);
    QCOMPARE(int(data().triangulos.size()), 4 * triangles);
    QCOMPARE(view().modo(), CDatView::Modo::Malha);

    trigger(QStringLiteral("Recentra Malha Atual"));
    QCOMPARE(m_prompter->informations.size(), 1);
    QVERIFY(m_prompter->informations.first().startsWith(text(tarvex::msg::RecentragemEfetuada)));
    QVERIFY(m_prompter->informations.first().contains(QStringLiteral("após recentragem")));
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestMeshUi::drawingLayerErasesRemovedTrianglesAndRepaintsOnlyInBatches()
{
    tarvex::paint::ViewMapping mapping;
    mapping.setTargetSize(100, 100);
    mapping.ajustarJanela(0, 0, 100, 100);
    int repaints = 0;
    CDesenhoGeracao layer(mapping, QSize(100, 100), [&repaints] { ++repaints; });
    const tarvex::problem::Triangulo t { 10, 10, 90, 10, 10, 90 };
    const QPoint onSide = mapping.paraPixel(50, 10);
    for (int i = 0; i < 100; ++i)
        layer.triangleAdded(t);
    QCOMPARE(repaints, 0); // far less than the repaint interval has passed
    layer.descarrega();
    QCOMPARE(repaints, 1);
    QCOMPARE(layer.camada().pixelColor(onSide), tarvex::paint::ViewPalette::entry(15));
    layer.triangleRemoved(t);
    layer.descarrega();
    QCOMPARE(layer.camada().pixelColor(onSide).alpha(), 0);
    layer.triangleAdded(t);
    layer.meshReset();
    QCOMPARE(layer.camada().pixelColor(onSide).alpha(), 0);
}

QTEST_MAIN(TestMeshUi)
#include "test_mesh_ui.moc"
