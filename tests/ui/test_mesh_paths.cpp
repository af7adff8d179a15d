#include "../core/evaluation/model_builders.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_frame.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "paint/view_palette.h"
#include "results/dlg_caminhos.h"
#include "results/dlg_curva_dens_fluxo.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/msh_io.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using tarvex::geometry::Ponto;

namespace {

/// Plane electrodes 5 mm apart in oil: 5 kV at the bottom, 0 at the top, solved (a uniform field).
tarvex::solver::SolverModel placas()
{
    tarvex::solver::SolverModel m = tarvex::test::gridModel(
        10, 5, 0, 0, 10, 5, [](double, double y) { return 1000.0 * (5.0 - y); }, 0);
    m.regions.at(1).permissividadeRelativa = 2.2;
    tarvex::problem::SegmentoContorno baixo
        = tarvex::problem::SegmentoContorno::reta({ 0, 0 }, { 10, 0 });
    baixo.potencial = 5000.0;
    tarvex::problem::SegmentoContorno topo
        = tarvex::problem::SegmentoContorno::reta({ 0, 5 }, { 10, 5 });
    m.potentialSegments.pushBack(baixo);
    m.potentialSegments.pushBack(topo);
    return m;
}

} // namespace

class TestMeshPaths : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commandsNeedAComputedPathFirst();
    void twoClicksTraceThePathAndItsGraphsOpen();
    void failedComputationLeavesNoPath();
    void keyboardEntryRefusesEqualPoints();
    void creepageDefinitionSnapsAndComputes();
    void userCurveIsReadAllOrNothingAndNamedInTheReport();

private:
    CMeshDoc& doc() { return m_frame->doc(); }
    int graphWindows() const
    {
        return int(m_app->mainFrame()->findChildren<CGraphFrame*>().size());
    }
    /// The curves of the graph document opened last: its frame is the active one.
    tarvex::graphs::GraphData lastGraph() const
    {
        auto* frame = qobject_cast<CGraphFrame*>(m_app->mainFrame()->filhoAtivo());
        return frame ? frame->doc().data() : tarvex::graphs::GraphData {};
    }
};

void TestMeshPaths::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestMeshPaths::init()
{
    QVERIFY(iniciarPrograma());
    const QString path = m_dir.filePath(QStringLiteral("placas.msh"));
    QVERIFY(tarvex::solver::saveMsh(path.toStdString(), placas()).ok);
    QVERIFY(abrirResultados(path, 400, 250));
}

void TestMeshPaths::cleanup()
{
    encerrarPrograma();
}

void TestMeshPaths::commandsNeedAComputedPathFirst()
{
    for (const char* menu :
        { "Desenho Cam. Crítico", "Campo Cam. Crítico", "Curva Fator Segurança" })
        trigger(QString::fromUtf8(menu));
    for (const char* menu : { "Campo Escoamento", "Desenho Cam. Escoam." })
        trigger(QString::fromUtf8(menu));
    QCOMPARE(m_prompter->warnings,
        (QStringList { text(tarvex::msg::SemCaminhoCritico), text(tarvex::msg::SemCaminhoCritico),
            text(tarvex::msg::SemCaminhoCritico), text(tarvex::msg::SemCaminhoEscoamento),
            text(tarvex::msg::SemCaminhoEscoamento) }));
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);
    QCOMPARE(graphWindows(), 0);
}

void TestMeshPaths::twoClicksTraceThePathAndItsGraphsOpen()
{
    trigger(QStringLiteral("Cam. Crítico -> Mouse"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::CaminhoCritico);
    view().clique({ 5.3, -1.0 });
    QVERIFY(!doc().caminhoCritico);
    view().clique({ 5.3, 7.0 });
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QVERIFY(doc().caminhoCritico);
    QCOMPARE(m_prompter->informations.size(), 1);
    QCOMPARE(
        m_prompter->informations.front(), QString::fromStdString(doc().caminhoCritico->report));
    QCOMPARE(view().displayMode(), CMeshView::Modo::CaminhoCritico);

    // The path is drawn in colour 31.
    const QImage picture = view().imagem();
    const QRgb pathColour = tarvex::paint::ViewPalette::entry(31).rgb();
    int pathPixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            pathPixels += (picture.pixel(x, y) & 0xffffff) == (pathColour & 0xffffff);
    QVERIFY(pathPixels > 10);

    trigger(QStringLiteral("Campo Cam. Crítico"));
    QCOMPARE(graphWindows(), 1);
    QCOMPARE(QString::fromStdString(lastGraph().title), QStringLiteral("Campo sobre Caminho"));
    trigger(QStringLiteral("Curva Fator Segurança"));
    QCOMPARE(graphWindows(), 2);
    QCOMPARE(QString::fromStdString(lastGraph().title),
        QStringLiteral("Fator de Segurança sobre o Caminho (%)"));
}

void TestMeshPaths::failedComputationLeavesNoPath()
{
    trigger(QStringLiteral("Cam. Crítico -> Mouse"));
    view().clique({ 5.3, -1.0 });
    view().clique({ 5.3, 7.0 });
    QVERIFY(doc().caminhoCritico);
    view().setDisplayMode(CMeshView::Modo::Regioes);
    // Both clicks near the bottom electrode: refused, and the old path is gone.
    view().clique({ 2.0, -1.0 });
    view().clique({ 8.0, -1.0 });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::MesmoPotencial) });
    QVERIFY(!doc().caminhoCritico);
    QCOMPARE(view().displayMode(), CMeshView::Modo::Regioes);
}

void TestMeshPaths::keyboardEntryRefusesEqualPoints()
{
    const auto preencher = [](double x1, double y1, double x2, double y2) {
        return [=](QDialog& d) {
            auto* t = qobject_cast<CDlgCurvaDensFluxo*>(&d);
            if (!t)
                return -1;
            t->campoX(0)->setText(QString::number(x1));
            t->campoY(0)->setText(QString::number(y1));
            t->campoX(1)->setText(QString::number(x2));
            t->campoY(1)->setText(QString::number(y2));
            t->accept();
            return t->result();
        };
    };
    // A field without a number: "Calcula" closes the dialog and the command refuses it.
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& t = dynamic_cast<CDlgCurvaDensFluxo&>(d);
        t.campoY(1)->setText(QStringLiteral("sete"));
        t.accept();
        return t.result();
    });
    trigger(QStringLiteral("Cam. Crítico -> Teclado"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::ValorInvalido) });
    QVERIFY(!doc().caminhoCritico);
    m_prompter->warnings.clear();

    m_dialogs.steps.push_back(preencher(3, 3, 3, 3));
    trigger(QStringLiteral("Cam. Crítico -> Teclado"));
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::CaminhoPontosIguais) });
    QVERIFY(!doc().caminhoCritico);

    m_dialogs.steps.push_back(preencher(5.3, -1, 5.3, 7));
    trigger(QStringLiteral("Cam. Crítico -> Teclado"));
    QVERIFY(doc().caminhoCritico);
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::CaminhoCritico);
    QCOMPARE(m_dialogs.titles, QStringList(3, QStringLiteral("Teclado")));
}

void TestMeshPaths::creepageDefinitionSnapsAndComputes()
{
    trigger(QStringLiteral("Define Caminho"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::DefineEscoamento);
    QCOMPARE(view().candidatosEscoamento().size(), std::size_t(4));
    doc().creepagePoints = { { 9, 9 } }; // left from an earlier definition
    view().clique({ 0.2, 0.3 });
    view().clique({ 0.1, 4.6 });
    QCOMPARE(doc().creepagePoints.size(), std::size_t(2));
    QCOMPARE(doc().creepagePoints[0], (Ponto { 0, 0 }));
    QCOMPARE(doc().creepagePoints[1], (Ponto { 0, 5 }));

    trigger(QStringLiteral("Calcula Caminho"));
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QVERIFY(doc().caminhoEscoamento);
    QCOMPARE(view().displayMode(), CMeshView::Modo::CaminhoEscoamento);
    trigger(QStringLiteral("Campo Escoamento"));
    QCOMPARE(QString::fromStdString(lastGraph().title),
        QStringLiteral("Campo sobre o Caminho de Escoamento"));
    QCOMPARE(graphWindows(), 1);
}

void TestMeshPaths::userCurveIsReadAllOrNothingAndNamedInTheReport()
{
    const QString boa = m_dir.filePath(QStringLiteral("oleo.mat"));
    const QString ruim = m_dir.filePath(QStringLiteral("ruim.mat"));
    {
        QFile f(boa);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("3 2\n0.5 4e7\n2 2e7\n10 1e7\n");
    }
    {
        QFile f(ruim);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("2 2\n2 4e7\n1 2e7\n");
    }
    const auto escolher = [](QString oleo, QString escoamento) {
        return [=](QDialog& d) {
            auto* c = qobject_cast<CDlgCurvasAdmissiveis*>(&d);
            if (!c)
                return -1;
            c->campoOleo()->setText(oleo);
            c->campoEscoamento()->setText(escoamento);
            return int(QDialog::Accepted);
        };
    };
    m_dialogs.steps.push_back(escolher(boa, ruim));
    trigger(QStringLiteral("Curvas Admissíveis..."));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings.front().startsWith(text(tarvex::msg::CurvaAdmissivelInvalida)));
    QVERIFY(!doc().curvaOleo);

    m_dialogs.steps.push_back(escolher(boa, QString()));
    trigger(QStringLiteral("Curvas Admissíveis..."));
    QVERIFY(doc().curvaOleo);
    QVERIFY(!doc().curvaEscoamento);
    trigger(QStringLiteral("Cam. Crítico -> Mouse"));
    view().clique({ 5.3, -1.0 });
    view().clique({ 5.3, 7.0 });
    QCOMPARE(m_prompter->informations.size(), 1);
    QVERIFY(m_prompter->informations.front().endsWith(
        QStringLiteral("Campo admissível: curva de oleo.mat")));
}

QTEST_MAIN(TestMeshPaths)
#include "test_mesh_paths.moc"
