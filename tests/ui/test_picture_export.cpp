// Wiring of the picture export and of the region integrals in the results frame: the menu
// entries, the save dialogs' names, the files written, the integrals dialogs. The rules
// themselves are tested in the core (metafile, integrals) and by the batch tool (formats).

#include "app/main_app.h"
#include "common/messages.h"
#include "helpers/results_fixture.h"
#include "helpers/scripted_dialogs.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "results/dlg_integrais.h"
#include "results/mesh_doc.h"
#include "results/mesh_frame.h"
#include "results/mesh_view.h"
#include "solver/msh_io.h"
#include "solver/runs.h"
#include "solver/solver_model.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPictureExport : public ResultsWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void emfExportNamesTheFileAndWritesAMetafile();
    void imageExportWritesTheChosenFormat();
    void integralsMenuShowsRegionTotalAndInductance();
};

void TestPictureExport::initTestCase()
{
    QVERIFY(prepararPasta());
}

void TestPictureExport::init()
{
    QVERIFY(iniciarPrograma());
    // The conductor model, solved before it is opened.
    const QString path = m_dir.filePath(QStringLiteral("condutor.msh"));
    QVERIFY(results_fixture::gravarModelo(path));
    tarvex::solver::SolverModel model;
    QVERIFY(tarvex::solver::openMsh(path.toStdString(), model).ok);
    tarvex::solver::NoRunReporter reporter;
    QVERIFY(bool(tarvex::solver::runLinear(model, tarvex::solver::RunSettings {}, reporter)));
    QVERIFY(tarvex::solver::saveMsh(path.toStdString(), model).ok);
    QVERIFY(abrirResultados(path, 440, 240));
}

void TestPictureExport::cleanup()
{
    encerrarPrograma();
}

void TestPictureExport::emfExportNamesTheFileAndWritesAMetafile()
{
    view().equipotenciais();
    m_chooser->answers.push_back(m_dir.filePath(QStringLiteral("figura.png")));
    trigger(QStringLiteral("&Exportar *.emf"));
    QCOMPARE(m_chooser->requests.size(), std::size_t { 1 });
    QCOMPARE(m_chooser->requests[0].filter, QStringLiteral("Arquivos (*.emf)"));
    QCOMPARE(m_chooser->requests[0].proposedPath, m_dir.filePath(QStringLiteral("condutor.emf")));
    // A chosen extension other than emf is replaced.
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("figura.png"))));
    const QByteArray emf = readFile(m_dir.filePath(QStringLiteral("figura.emf")));
    QVERIFY(emf.size() > 1000);
    QCOMPARE(emf.mid(40, 4), QByteArray(" EMF"));
    QVERIFY(m_prompter->warnings.isEmpty());

    // Cancel writes nothing.
    trigger(QStringLiteral("&Exportar *.emf"));
    QCOMPARE(m_chooser->requests.size(), std::size_t { 2 });
}

void TestPictureExport::imageExportWritesTheChosenFormat()
{
    for (const char* name : { "vista.svg", "vista.pdf", "vista.png" })
        m_chooser->answers.push_back(m_dir.filePath(QString::fromLatin1(name)));
    for (int i = 0; i < 3; ++i)
        trigger(QStringLiteral("Exportar imagem..."));
    QCOMPARE(m_chooser->requests[0].proposedPath, m_dir.filePath(QStringLiteral("condutor.png")));
    QVERIFY(readFile(m_dir.filePath(QStringLiteral("vista.svg"))).contains("<svg"));
    QVERIFY(readFile(m_dir.filePath(QStringLiteral("vista.pdf"))).startsWith("%PDF-"));
    QVERIFY(readFile(m_dir.filePath(QStringLiteral("vista.png"))).startsWith("\x89PNG"));
    QVERIFY(m_prompter->warnings.isEmpty());

    m_chooser->answers.push_back(m_dir.filePath(QStringLiteral("vista.bmp")));
    trigger(QStringLiteral("Exportar imagem..."));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings[0].contains(text(tarvex::msg::FormatoImagemDesconhecido)));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("vista.bmp"))));
}

void TestPictureExport::integralsMenuShowsRegionTotalAndInductance()
{
    QString shown;
    const auto keep = [&shown](QDialog& d) {
        shown = static_cast<CDlgIntegrais&>(d).texto();
        return int(QDialog::Accepted);
    };
    m_dialogs.steps.push_back(keep);
    trigger(QStringLiteral("integraisRegiao"));
    QCOMPARE(view().mouseMode(), CMeshView::Mouse::IntegraisRegiao);
    view().clique({ 50, 25 }); // the conductor: 1 A/mm² over 20 × 50 mm
    QCOMPARE(m_dialogs.titles, QStringList { QStringLiteral("Integrais da Região") });
    QVERIFY2(shown.contains(text(tarvex::msg::RotuloCorrente)), qPrintable(shown));
    QVERIFY2(shown.contains(QStringLiteral("1000")), qPrintable(shown));
    QCOMPARE(view().ultimaCorrente(), 1000.0);

    view().clique({ 500, 500 });
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::PontoForaDominio) });

    m_dialogs.steps.push_back(keep);
    trigger(QStringLiteral("integraisTotal"));
    QCOMPARE(m_dialogs.titles.last(), QStringLiteral("Integrais do Modelo"));
    QVERIFY2(shown.contains(text(tarvex::msg::RotuloEnergia)), qPrintable(shown));

    // The inductance dialog opens with the last region's current; "Calcula" shows L.
    m_dialogs.steps.push_back([](QDialog& d) {
        auto& dialogo = static_cast<CDlgIndutancia&>(d);
        if (dialogo.campoExcitacao()->text() != QStringLiteral("1000"))
            return -1;
        return dialogo.calcula()
                && dialogo.resultado()->text().startsWith(QStringLiteral("Indutância (H/m)"))
            ? int(QDialog::Accepted)
            : -2;
    });
    trigger(QStringLiteral("Indutância / Capacitância..."));
    QCOMPARE(m_dialogs.titles.last(), QStringLiteral("Indutância / Capacitância"));
    QVERIFY(m_dialogs.steps.empty());
}

QTEST_MAIN(TestPictureExport)
#include "test_picture_export.moc"
