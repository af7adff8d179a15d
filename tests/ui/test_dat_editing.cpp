#include "app/main_app.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_view.h"
#include "problem/dlg_ajustes_tolerancias.h"
#include "problem/dlg_edit_reg.h"
#include "problem/dlg_potencial.h"
#include "problem/editing.h"
#include "problem/problem_data.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

using tarvex::geometry::Ponto;
using tarvex::problem::AnalysisType;
using tarvex::problem::ProblemData;
using tarvex::problem::Regiao;
using tarvex::problem::SegmentoContorno;
using Step = std::function<int(QDialog&)>;

namespace {

/// Outer square 0..100 (position 1), A = 10..40 (position 2), B = 60..90 (position 3).
ProblemData problem()
{
    ProblemData data;
    data.regioes.pushFront(results_fixture::retangulo(60, 60, 90, 90));
    data.regioes.pushFront(results_fixture::retangulo(10, 10, 40, 40));
    data.regioes.pushFront(results_fixture::retangulo(0, 0, 100, 100));
    data.janela = { 0, 100, 0, 100 };
    data.derivarListas();
    return data;
}

/// Fills the named fields and presses OK; returns the dialog's result.
Step okWith(std::vector<std::pair<QString, QString>> fields)
{
    return [fields](QDialog& d) {
        for (const auto& [name, text] : fields) {
            auto* edit = d.findChild<QLineEdit*>(name);
            if (!edit)
                return -1;
            edit->setText(text);
        }
        d.accept();
        return d.result();
    };
}

Step pressElimina()
{
    return [](QDialog& d) {
        auto* dialog = qobject_cast<CDlgPotencial*>(&d);
        if (!dialog || !dialog->botaoElimina())
            return -1;
        dialog->botaoElimina()->click();
        return d.result();
    };
}

} // namespace

class TestDatEditing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void regionEditWritesTheDialogValuesAndRefusesOutsideTheRegions();
    void regionDialogLabelsFollowTheAnalysisType();
    void rightClicksSelectRegionsThatTheNextEditChangesTogether();
    void nonLinearWithoutAFileAsksAndStaysOpen();
    void outerContourTwiceAndNoneFromTheMenus();
    void segmentPotentialWithSelectionAndElimination();
    void pointPotentialSnapsToTheNearestContourPoint();
    void outerRunBetweenTwoClicks();
    void symmetrySwitchKeepsDeletesOrCancels();
    void specialRegionAndDraggedAreaThenRemoval();
    void boundaryConditionsAreDrawnInTheirColours();
    void meshModeWithoutMeshWarnsAndTolerancesKeepTheirRanges();
    void analysisMenuCarriesTheCheckMark();

private:
    void click(Qt::MouseButton button, Ponto world)
    {
        QTest::mouseClick(m_view.get(), button, {}, m_view->paraPixel(world));
    }
    int run(QDialog& dialog)
    {
        m_titles << dialog.windowTitle();
        m_dialogs << &dialog;
        if (m_steps.empty())
            return QDialog::Rejected;
        const Step step = m_steps.front();
        m_steps.pop_front();
        return step(dialog);
    }
    ProblemData& data() { return m_doc->data(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
    std::unique_ptr<CDatDoc> m_doc;
    std::unique_ptr<CDatView> m_view;
    std::deque<Step> m_steps;
    QStringList m_titles;
    QList<QDialog*> m_dialogs;
};

void TestDatEditing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestDatEditing::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    m_doc = std::make_unique<CDatDoc>();
    m_doc->data() = problem();
    m_view = std::make_unique<CDatView>(*m_doc, *m_prompter);
    m_view->setAplicacao(m_app.get());
    m_view->setExecutorDialogos([this](QDialog& d) { return run(d); });
    m_view->resize(200, 200);
    m_view->show();
    m_steps.clear();
    m_titles.clear();
    m_dialogs.clear();
}

void TestDatEditing::cleanup()
{
    m_view.reset();
    m_doc.reset();
    m_app.reset();
}

void TestDatEditing::regionEditWritesTheDialogValuesAndRefusesOutsideTheRegions()
{
    m_view->editar();
    QCOMPARE(m_view->modo(), CDatView::Modo::Editar);
    click(Qt::LeftButton, { 50, 50 }); // inside the outer contour, outside every inner region
    QCOMPARE(m_prompter->warnings, QStringList { " Ponto fora do domínio " });
    QVERIFY(m_titles.isEmpty());

    m_steps.push_back(
        okWith({ { "densidade", "2,5" }, { "permeabilidade", "1000" }, { "brX", "0.9" } }));
    click(Qt::LeftButton, { 25, 25 });
    QCOMPARE(m_titles, QStringList { "Características da Região" });
    const Regiao& a = *data().regiaoNaPosicao(2);
    QCOMPARE(a.densCorrente, 2.5);
    QCOMPARE(a.permRelativa, 1000.0);
    QCOMPARE(a.brX, 0.9);
    QCOMPARE(data().regiaoNaPosicao(3)->densCorrente, 0.0);
    QVERIFY(m_doc->isModified());

    // The dialog shows the region's values the next time; Cancel changes nothing.
    m_doc->setModified(false);
    m_steps.push_back([](QDialog& d) {
        const auto* dialog = qobject_cast<CDlgEditReg*>(&d);
        return dialog && dialog->campoDensidade()->text() == "2.5" ? int(QDialog::Rejected) : -1;
    });
    click(Qt::LeftButton, { 25, 25 });
    QCOMPARE(m_titles.size(), 2);
    QVERIFY(!m_doc->isModified());
    QCOMPARE(a.densCorrente, 2.5);
}

void TestDatEditing::regionDialogLabelsFollowTheAnalysisType()
{
    CDlgEditReg magnetic(false, *m_prompter);
    QCOMPARE(magnetic.rotuloDensidade()->text(), QStringLiteral("Dens. Cor. (A/mm2) "));
    QVERIFY(magnetic.grupoMagnetizacao()->isEnabled());
    QCOMPARE(
        magnetic.grupoMagnetizacao()->title(), QStringLiteral("Magnetização (Imãs Permanentes) :"));

    CDlgEditReg electric(true, *m_prompter);
    QCOMPARE(electric.rotuloDensidade()->text(), QStringLiteral(" Dens. Cargas C/mm²"));
    QVERIFY(!electric.grupoMagnetizacao()->isEnabled());

    // Linear disables the materials-file controls, Não-Linear enables them.
    QVERIFY(electric.botaoLinear()->isChecked());
    QVERIFY(!electric.campoArquivo()->isEnabled());
    QVERIFY(!electric.botaoEditar()->isEnabled());
    electric.botaoNaoLinear()->setChecked(true);
    for (QWidget* w : { static_cast<QWidget*>(electric.campoArquivo()),
             static_cast<QWidget*>(electric.botaoSelecionar()),
             static_cast<QWidget*>(electric.botaoGrafico()),
             static_cast<QWidget*>(electric.botaoEditar()),
             static_cast<QWidget*>(electric.botaoRemoveGrafico()) })
        QVERIFY(w->isEnabled());
    QCOMPARE(electric.botaoRemoveGrafico()->text(), QStringLiteral("remove gráfico"));
    if (qEnvironmentVariableIsSet("TARVEX_KEEP_DIR")) {
        const QString dir = qEnvironmentVariable("TARVEX_KEEP_DIR");
        magnetic.grab().save(dir + "/dlg_reg_magnetic.png");
        electric.grab().save(dir + "/dlg_reg_electric.png");
        CDlgPotencial potential(CDlgPotencial::Variante::EliminaSegmento, 7, *m_prompter);
        potential.grab().save(dir + "/dlg_potencial.png");
    }

    // In the view: an electric analysis shows the charge density and keeps the magnet's data.
    Regiao& a = *data().regiaoNaPosicao(2);
    a.brY = 1.2;
    a.densCargas = 3;
    m_view->campoEletrico();
    m_view->editar();
    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgEditReg*>(&d);
        if (!dialog || !dialog->eletrico() || dialog->campoDensidade()->text() != "3"
            || dialog->campoBrY()->text() != "0")
            return -1;
        dialog->campoDensidade()->setText("4");
        dialog->campoPermeabilidade()->setText("5");
        d.accept();
        return d.result();
    });
    click(Qt::LeftButton, { 25, 25 });
    QCOMPARE(a.densCargas, 4.0);
    QCOMPARE(a.permissividadeRelativa, 5.0);
    QCOMPARE(a.permRelativa, 1.0);
    QCOMPARE(a.brY, 1.2);
}

void TestDatEditing::rightClicksSelectRegionsThatTheNextEditChangesTogether()
{
    data().regiaoNaPosicao(3)->permRelativa = 40;
    data().regiaoNaPosicao(3)->densCorrente = 9;
    m_view->editar();
    click(Qt::RightButton, { 50, 50 });
    QCOMPARE(m_prompter->warnings, QStringList { " Ponto fora do domínio " });
    click(Qt::RightButton, { 25, 25 });
    QCOMPARE(m_view->selecaoRegioes(), std::vector<int> { 2 });

    // The edit starts from the clicked region's permeability, every other value 0.
    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgEditReg*>(&d);
        if (!dialog || dialog->campoPermeabilidade()->text() != "40"
            || dialog->campoDensidade()->text() != "0")
            return -1;
        dialog->campoDensidade()->setText("6");
        d.accept();
        return d.result();
    });
    click(Qt::LeftButton, { 75, 75 });
    QCOMPARE(data().regiaoNaPosicao(2)->densCorrente, 6.0);
    QCOMPARE(data().regiaoNaPosicao(3)->densCorrente, 6.0);
    QCOMPARE(data().regiaoNaPosicao(2)->permRelativa, 40.0);
    QVERIFY(m_view->selecaoRegioes().empty());

    // Choosing a mode again drops a selection left over, so a left click edits one region only.
    click(Qt::RightButton, { 25, 25 });
    m_view->editar();
    QVERIFY(m_view->selecaoRegioes().empty());
    click(Qt::RightButton, { 75, 75 });
    QCOMPARE(m_view->selecaoRegioes(), std::vector<int> { 3 });
}

void TestDatEditing::nonLinearWithoutAFileAsksAndStaysOpen()
{
    CDlgEditReg dialog(false, *m_prompter);
    dialog.setAplicacao(m_app.get());
    dialog.botaoNaoLinear()->setChecked(true);
    dialog.accept(); // No is the scripted answer
    QCOMPARE(m_prompter->questions, QStringList { " Arquivo não existe ! Cria arquivo novo ??" });
    QCOMPARE(dialog.result(), int(QDialog::Rejected));

    // Yes, but the file dialog is cancelled: still open, nothing created.
    m_prompter->yesNoAnswers = { Prompter::YesNo::Yes };
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    QCOMPARE(m_chooser->requests[0].defaultSuffix, QStringLiteral("mat"));

    // The plot and the editor need a name first.
    m_prompter->warnings.clear();
    dialog.botaoGrafico()->click();
    dialog.botaoEditar()->click();
    QCOMPARE(m_prompter->warnings,
        (QStringList { "Informe o nome do arquivo de materiais !",
            "Informe o nome do arquivo de materiais !" }));

    // A bad number or permeability keeps the dialog open with a warning.
    dialog.botaoLinear()->setChecked(true);
    dialog.campoPermeabilidade()->setText("0");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_prompter->warnings.last(), QString::fromUtf8(tarvex::msg::PermRelativaFora.data()));
    dialog.campoPermeabilidade()->setText("2");
    dialog.campoBrT()->setText("x");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    dialog.campoBrT()->setText("0.5");
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.valores().brT, 0.5);
}

void TestDatEditing::outerContourTwiceAndNoneFromTheMenus()
{
    m_steps.push_back(okWith({ { "valor", "5" } }));
    m_steps.push_back(okWith({ { "valor", "5" } }));
    m_view->contornoExterno();
    m_view->contornoExterno();
    QCOMPARE(m_titles, (QStringList { "Potencial Imposto ", "Potencial Imposto " }));
    QCOMPARE(data().segmentosPotencial.size(), std::size_t { 8 });
    QCOMPARE(m_view->modo(), CDatView::Modo::ContornoExterno);

    m_view->contornoExterno(); // cancelled: nothing added
    QCOMPARE(data().segmentosPotencial.size(), std::size_t { 8 });

    m_view->nenhuma();
    QVERIFY(data().segmentosPotencial.empty());
    QCOMPARE(m_view->modo(), CDatView::Modo::Nenhuma);
}

void TestDatEditing::segmentPotentialWithSelectionAndElimination()
{
    m_view->potencialSegmento();
    click(Qt::RightButton, { 41, 25 }); // A's right side
    click(Qt::RightButton, { 41, 26 }); // the same side again: kept once
    QCOMPARE(m_view->selecaoSegmentos().size(), std::size_t { 1 });
    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgPotencial*>(&d);
        if (!dialog || dialog->botaoElimina())
            return -1;
        return okWith({ { "valor", "7" } })(d);
    });
    click(Qt::LeftButton, { 25, 41 }); // A's top side
    QCOMPARE(data().segmentosPotencial.size(), std::size_t { 2 });
    for (const SegmentoContorno& s : data().segmentosPotencial.inListOrder())
        QCOMPARE(s.potencial, 7.0);
    QVERIFY(m_view->selecaoSegmentos().empty());

    // A segment that has a potential offers it and its removal.
    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgPotencial*>(&d);
        if (!dialog || !dialog->botaoElimina()
            || dialog->botaoElimina()->text() != "Elimina Pot. Segmento"
            || dialog->campoValor()->text() != "7")
            return -1;
        return pressElimina()(d);
    });
    click(Qt::LeftButton, { 41, 25 });
    QCOMPARE(data().segmentosPotencial.size(), std::size_t { 1 });
    QVERIFY(tarvex::problem::iguais(
        data().segmentosPotencial.at(0), SegmentoContorno::reta({ 10, 40 }, { 40, 40 })));
}

void TestDatEditing::pointPotentialSnapsToTheNearestContourPoint()
{
    m_view->potencialPonto();
    m_steps.push_back(okWith({ { "valor", "3" } }));
    click(Qt::LeftButton, { 12, 12 });
    QCOMPARE(data().potenciaisPonto.size(), std::size_t { 1 });
    QCOMPARE(data().potenciaisPonto.at(0), (tarvex::problem::PotencialPonto { 10, 10, 3 }));

    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgPotencial*>(&d);
        if (!dialog || !dialog->botaoElimina()
            || dialog->botaoElimina()->text() != "Elimina Potencial Ponto"
            || dialog->campoValor()->text() != "3")
            return -1;
        return okWith({ { "valor", "4" } })(d);
    });
    click(Qt::LeftButton, { 9, 8 });
    QCOMPARE(data().potenciaisPonto.size(), std::size_t { 1 });
    QCOMPARE(data().potenciaisPonto.at(0).potencial, 4.0);
    m_steps.push_back(pressElimina());
    click(Qt::LeftButton, { 10, 10 });
    QVERIFY(data().potenciaisPonto.empty());
}

void TestDatEditing::outerRunBetweenTwoClicks()
{
    m_view->segContornoExt();
    click(Qt::LeftButton, { 50, 1 }); // bottom
    QCOMPARE(m_view->cliquePendente(), 1);
    QVERIFY(m_titles.isEmpty());
    m_steps.push_back(okWith({ { "valor", "-2" } }));
    click(Qt::LeftButton, { 50, 99 }); // top: bottom, right, top
    QCOMPARE(m_view->cliquePendente(), 0);
    QCOMPARE(data().segmentosPotencial.size(), std::size_t { 3 });
    QCOMPARE(data().segmentosPotencial.at(2).potencial, -2.0);
    QVERIFY(tarvex::problem::iguais(
        data().segmentosPotencial.at(1), SegmentoContorno::reta({ 100, 0 }, { 100, 100 })));
}

void TestDatEditing::symmetrySwitchKeepsDeletesOrCancels()
{
    m_view->simetria();
    QVERIFY(m_titles.isEmpty()); // nothing to switch yet
    click(Qt::LeftButton, { 50, 1 });
    click(Qt::LeftButton, { 1, 50 });
    QCOMPARE(data().tipoSimetria, tarvex::problem::SymmetryKind::Symmetry);
    QCOMPARE(data().segmentosSimetria.size(), std::size_t { 2 });

    m_view->antiSimetria(); // Cancel (no step): everything kept, mode unchanged
    QCOMPARE(m_titles, QStringList { "Troca simetria para ANTI-XY" });
    QCOMPARE(m_view->modo(), CDatView::Modo::Simetria);
    QCOMPARE(data().tipoSimetria, tarvex::problem::SymmetryKind::Symmetry);

    m_steps.push_back([](QDialog& d) {
        d.accept();
        return d.result();
    });
    m_view->antiSimetria();
    QCOMPARE(m_view->modo(), CDatView::Modo::AntiSimetria);
    QCOMPARE(data().tipoSimetria, tarvex::problem::SymmetryKind::AntiSymmetry);
    QCOMPARE(data().segmentosSimetria.size(), std::size_t { 2 });

    m_steps.push_back([](QDialog& d) {
        auto* deleta = d.findChild<QPushButton*>();
        for (QPushButton* b : d.findChildren<QPushButton*>())
            if (b->text() == "Deleta Simetria  Atual")
                deleta = b;
        deleta->click();
        return d.result();
    });
    m_view->simetria();
    QCOMPARE(m_titles.last(), QStringLiteral("Troca simetria para  XY"));
    QVERIFY(data().segmentosSimetria.empty());
    click(Qt::LeftButton, { 99, 50 });
    QCOMPARE(data().tipoSimetria, tarvex::problem::SymmetryKind::Symmetry);
    m_view->removeSimetria();
    QCOMPARE(data().tipoSimetria, tarvex::problem::SymmetryKind::None);
    QVERIFY(data().segmentosSimetria.empty());
}

void TestDatEditing::specialRegionAndDraggedAreaThenRemoval()
{
    m_view->defineRegEspecial();
    click(Qt::LeftButton, { 50, 50 });
    QCOMPARE(m_prompter->warnings, QStringList { " Ponto fora do domínio " });
    click(Qt::LeftButton, { 75, 75 });
    QCOMPARE(data().regioesEspeciais.size(), std::size_t { 1 });
    QCOMPARE(data().regioesEspeciais.at(0), std::int16_t { 3 });

    m_view->defineArea();
    const QPoint from = m_view->paraPixel({ 30, 20 });
    const QPoint to = m_view->paraPixel({ 15, 35 });
    QTest::mousePress(m_view.get(), Qt::LeftButton, {}, from);
    QTest::mouseMove(m_view.get(), to);
    QTest::mouseRelease(m_view.get(), Qt::LeftButton, {}, to);
    QCOMPARE(data().areasEspeciais.size(), std::size_t { 1 });
    const auto& c = data().cantosArea;
    QVERIFY(c[0].x < c[1].x && c[1].y < c[2].y && c[3].x == c[0].x && c[3].y == c[2].y);
    QVERIFY(std::abs(c[0].x - 15) < 1 && std::abs(c[2].y - 35) < 1);
    if (qEnvironmentVariableIsSet("TARVEX_KEEP_DIR")) {
        m_view->editar();
        click(Qt::RightButton, { 25, 25 });
        m_view->grab().save(qEnvironmentVariable("TARVEX_KEEP_DIR") + "/especiais.png");
    }

    m_view->removeRegEspecial();
    click(Qt::LeftButton, { 20, 30 });
    QVERIFY(data().areasEspeciais.empty());
    click(Qt::LeftButton, { 20, 30 }); // region A is not special
    QCOMPARE(m_prompter->warnings.size(), 2);
    click(Qt::LeftButton, { 75, 75 });
    QVERIFY(data().regioesEspeciais.empty());
}

void TestDatEditing::boundaryConditionsAreDrawnInTheirColours()
{
    tarvex::problem::potencialContornoExterno(data(), 1);
    tarvex::problem::acrescentaSimetria(data(), SegmentoContorno::reta({ 10, 10 }, { 40, 10 }),
        tarvex::problem::SymmetryKind::Symmetry);
    tarvex::problem::impoePotencialPonto(data(), { 60, 60 }, 1);
    const auto pixel
        = [&](const QImage& image, Ponto p) { return image.pixelColor(m_view->paraPixel(p)); };

    m_view->estrutura();
    QImage image = m_view->grab().toImage();
    QCOMPARE(pixel(image, { 50, 100 }), QColor(255, 255, 255)); // contours only

    m_view->condContorno();
    image = m_view->grab().toImage();
    image.save(m_dir.filePath("cond_contorno.png"));
    if (qEnvironmentVariableIsSet("TARVEX_KEEP_DIR"))
        image.save(qEnvironmentVariable("TARVEX_KEEP_DIR") + "/cond_contorno.png");
    QCOMPARE(pixel(image, { 50, 100 }), QColor(0, 255, 0));
    QCOMPARE(pixel(image, { 0.5, 50 }), QColor(0, 255, 0));
    QCOMPARE(pixel(image, { 25, 10 }), QColor(255, 128, 0));
    int cyan = 0;
    const QPoint marker = m_view->paraPixel({ 60, 60 });
    for (int dy = -5; dy <= 5; ++dy)
        for (int dx = -5; dx <= 5; ++dx)
            cyan += image.pixelColor(marker + QPoint(dx, dy)) == QColor(0, 255, 255) ? 1 : 0;
    QVERIFY(cyan > 4);

    // Anti-symmetry has its own colour.
    tarvex::problem::trocaSimetria(data(), tarvex::problem::SymmetryKind::AntiSymmetry);
    m_view->update();
    image = m_view->grab().toImage();
    QCOMPARE(pixel(image, { 25, 10 }), QColor(255, 0, 255));
}

void TestDatEditing::meshModeWithoutMeshWarnsAndTolerancesKeepTheirRanges()
{
    m_view->malha();
    QCOMPARE(m_prompter->warnings, QStringList { "Não há malha para desenhar !" });
    QCOMPARE(m_view->modo(), CDatView::Modo::Estrutura);

    data().triangulos.pushFront({ 0, 0, 100, 0, 0, 100 });
    data().numTriangulos = 1;
    m_view->malha();
    QCOMPARE(m_view->modo(), CDatView::Modo::Malha);
    const QImage image = m_view->grab().toImage();
    QCOMPARE(image.pixelColor(m_view->paraPixel({ 50, 50 })), QColor(255, 255, 255)); // hypotenuse

    m_prompter->warnings.clear();
    m_steps.push_back([](QDialog& d) {
        auto* dialog = qobject_cast<CDlgAjustesTolerancias*>(&d);
        if (!dialog)
            return -1;
        dialog->campoAngulo()->setText("70");
        dialog->accept(); // refused, stays open
        if (d.result() == QDialog::Accepted)
            return -1;
        dialog->campoAngulo()->setText("10");
        dialog->campoTolerancia()->setText("1e-9");
        d.accept();
        return d.result();
    });
    m_view->tolerancias();
    QCOMPARE(m_titles, QStringList { "Ajustes das Tolerâncias" });
    QCOMPARE(m_prompter->warnings.size(), 1);
    QCOMPARE(data().anguloArco, 10.0);
    QCOMPARE(data().toleranciaArcos, 1e-9);

    m_view->forcaPolarTeclado();
    QCOMPARE(m_prompter->warnings.last(), QStringLiteral("Item não disponível"));
}

void TestDatEditing::analysisMenuCarriesTheCheckMark()
{
    QVERIFY(m_app->iniciar());
    auto doc = std::make_unique<CDatDoc>();
    doc->data() = problem();
    CDatFrame frame(std::move(doc), *m_app);
    QAction* magnetic = frame.acao("Campo Magnético");
    QAction* electric = frame.acao("Campo Elétrico");
    QVERIFY(magnetic && electric);
    QVERIFY(magnetic->isChecked() && !electric->isChecked());
    electric->trigger();
    QCOMPARE(frame.doc().data().tipoAnalise, AnalysisType::Electric);
    QVERIFY(electric->isChecked() && !magnetic->isChecked());
    QVERIFY(frame.doc().isModified());
    for (const char* text :
        { "Editar", "Potencial  Ponto", "Potencial Segmento", "Seg. Contorno Ext.",
            "Contorno Externo", "Nenhuma (default)", "Simetria XY/RT", "Anti-Simetria XY/RT",
            "Remove Simetria", "Define Reg. Especial", "Remove Reg. Especial", "Define Área",
            "tolerâncias", "Malha", "Estrutura", "Cond. Contorno" })
        QVERIFY2(frame.acao(QString::fromUtf8(text)), text);
    frame.acao("Potencial  Ponto")->trigger();
    QCOMPARE(frame.view()->modo(), CDatView::Modo::PotencialPonto);
    frame.doc().setModified(false);
}

QTEST_MAIN(TestDatEditing)
#include "test_dat_editing.moc"
