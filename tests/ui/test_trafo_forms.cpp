#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "drawing/des_view.h"
#include "drawing/form_trafo.h"
#include "drawing/trafo_view.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "paint/view_mapping.h"
#include "problem/dat_frame.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestTrafoForms : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void eachTipoGetsItsFormWithTheLettersAndButtons_data();
    void eachTipoGetsItsFormWithTheLettersAndButtons();
    void refusedDimensionsWarnAndLeaveTheDrawing();
    void atualizarVistaReplacesTheDrawingAndZoomsToExtents();
    void buttonsSaveAndExportThroughTheFrame();
    void pictureIsPaintedFromTheGeometry();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestTrafoForms::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

void TestTrafoForms::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestTrafoForms::cleanup()
{
    m_app.reset();
    flushDeletes();
}

void TestTrafoForms::eachTipoGetsItsFormWithTheLettersAndButtons_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QStringList>("letters");
    QTest::addColumn<int>("updateId");
    QTest::newRow("Tipo 1") << 0 << "CFormTrafo01" << QStringList { "a", "b", "c", "d", "r" }
                            << 1154;
    QTest::newRow("Tipo 2") << 1 << "CFormTrafo02"
                            << QStringList { "a", "b", "c", "d", "e", "f", "r1", "r2", "h" }
                            << 1164;
    QTest::newRow("Tipo 3") << 2 << "CFormTrafo03"
                            << QStringList { "a", "b", "c", "d", "e", "f", "r1", "r2" } << 1165;
    QTest::newRow("Tipo 4") << 3 << "CFormTrafo04"
                            << QStringList { "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "r1",
                                   "r2" }
                            << 1175;
}

void TestTrafoForms::eachTipoGetsItsFormWithTheLettersAndButtons()
{
    QFETCH(int, tipo);
    QFETCH(QString, className);
    QFETCH(QStringList, letters);
    QFETCH(int, updateId);

    QCOMPARE(m_app->acaoTipo(tipo)->statusTip(),
        QStringLiteral("Arranjo típico de transformador (modelo %1)").arg(tipo + 1));
    m_app->acaoTipo(tipo)->trigger();
    auto* frame = qobject_cast<CDesFrame*>(m_app->mainFrame()->filhos().value(0));
    QVERIFY(frame && frame->formulario());
    CFormTrafo* form = frame->formulario();
    QCOMPARE(QString::fromLatin1(form->metaObject()->className()), className);
    QCOMPARE(frame->divisorDireito()->widget(1), form);
    QCOMPARE(form->idAtualizar(), updateId);

    QStringList labels;
    for (const QLabel* label : form->findChildren<QLabel*>())
        labels << label->text();
    for (const QString& letter : letters) {
        QVERIFY2(form->campo(letter.toStdString()), qPrintable(letter));
        QVERIFY2(labels.contains(letter + QStringLiteral(" (mm) :")), qPrintable(letter));
    }
    QCOMPARE(form->findChildren<QLineEdit*>().size(), letters.size());
    QCOMPARE(form->botaoAtualizar()->text(), QStringLiteral("Atualizar Vista"));
    QCOMPARE(form->botaoExportar()->text(), QStringLiteral("Exportar "));
    QCOMPARE(form->botaoGravar()->text(), QStringLiteral("Gravar"));
    QCOMPARE(form->botaoGravarComo()->text(), QStringLiteral("Gravar Como ..."));

    // The initial values are accepted as they stand.
    QTest::mouseClick(form->botaoAtualizar(), Qt::LeftButton);
    QVERIFY(m_prompter->warnings.isEmpty());
    QVERIFY(!frame->doc().data().vazio());
}

void TestTrafoForms::refusedDimensionsWarnAndLeaveTheDrawing()
{
    CDesFrame* frame = m_app->abrirArranjo(0);
    CFormTrafo* form = frame->formulario();
    frame->doc().data().pontos.pushFront({ 7, 7 });

    form->campo("a")->setText(QStringLiteral("0"));
    form->campo("r")->setText(QStringLiteral("-2"));
    QVERIFY(!form->atualizarVista());
    QCOMPARE(m_prompter->warnings, QStringList { text(tarvex::msg::ArranjoNegativo) });

    form->campo("r")->setText(QStringLiteral("2"));
    QVERIFY(!form->atualizarVista());
    QCOMPARE(m_prompter->warnings.last(), text(tarvex::msg::ArranjoZero_a));

    form->campo("a")->setText(QStringLiteral("abc"));
    QVERIFY(!form->atualizarVista());
    QCOMPARE(m_prompter->warnings.last(), text(tarvex::msg::ArranjoValorInvalido));

    QCOMPARE(frame->doc().data().pontos.size(), std::size_t(1));
    QVERIFY(frame->doc().data().segmentos.empty());
}

void TestTrafoForms::atualizarVistaReplacesTheDrawingAndZoomsToExtents()
{
    CDesFrame* frame = m_app->abrirArranjo(2);
    CFormTrafo* form = frame->formulario();
    frame->doc().data().segmentos.pushFront({ { -900, -900 }, { 900, 900 } });
    frame->view()->selecao().segmentos.push_back({ { -900, -900 }, { 900, 900 } });

    // A decimal comma is read as the point, as in the other dialogs.
    form->campo("b")->setText(QStringLiteral("80,5"));
    QVERIFY(form->atualizarVista());
    const tarvex::geometry::DrawingData& drawing = frame->doc().data();
    QCOMPARE(drawing.pontos.size(), std::size_t(14));
    QCOMPARE(drawing.segmentos.size(), std::size_t(12));
    QCOMPARE(drawing.arcos.size(), std::size_t(2));
    QVERIFY(frame->view()->selecao().vazia());
    // R5 = (a + b + c, 0) with b as typed.
    QCOMPARE(drawing.pontos.at(13 - 5).x, 280.5);

    const tarvex::geometry::Caixa expected
        = tarvex::paint::janelaNormal(drawing, frame->view()->janela());
    QCOMPARE(frame->view()->janela().xMin, expected.xMin);
    QCOMPARE(frame->view()->janela().yMax, expected.yMax);
}

void TestTrafoForms::buttonsSaveAndExportThroughTheFrame()
{
    CDesFrame* frame = m_app->abrirArranjo(0);
    CFormTrafo* form = frame->formulario();
    QVERIFY(form->atualizarVista());

    const QString des = m_dir.filePath(QStringLiteral("tipo1.des"));
    m_chooser->answers = { des };
    QTest::mouseClick(form->botaoGravar(), Qt::LeftButton);
    QCOMPARE(frame->doc().path(), des);
    tarvex::geometry::DrawingData saved;
    QVERIFY(tarvex::geometry::openDrawing(des.toStdString(), "des", saved).ok);
    QCOMPARE(saved.segmentos.size(), std::size_t(10));

    const QString copy = m_dir.filePath(QStringLiteral("copia.des"));
    m_chooser->answers = { copy };
    QTest::mouseClick(form->botaoGravarComo(), Qt::LeftButton);
    QCOMPARE(frame->doc().path(), copy);
    QVERIFY(QFile::exists(copy));

    const QString dat = m_dir.filePath(QStringLiteral("tipo1.dat"));
    m_chooser->answers = { dat };
    QTest::mouseClick(form->botaoExportar(), Qt::LeftButton);
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('|')));
    QCOMPARE(frame->doc().regioes().size(), std::size_t(4));
    const auto frames = m_app->mainFrame()->filhos();
    QVERIFY(std::any_of(frames.begin(), frames.end(), [&dat](CChildFrame* f) {
        return qobject_cast<CDatFrame*>(f) && f->documentPath() == dat;
    }));
}

void TestTrafoForms::pictureIsPaintedFromTheGeometry()
{
    CDesFrame* frame = m_app->abrirArranjo(3);
    CTrafoView* picture = frame->trafoView();
    picture->resize(400, 300);
    const QImage image = picture->grab().toImage();
    // Dark outline and coloured dimension lines over the light background.
    int dark = 0;
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            dark += c.lightness() < 60;
            blue += c.blue() > 120 && c.red() < 80;
        }
    }
    QVERIFY(dark > 500);
    QVERIFY(blue > 200);

    // With TARVEX_SNAPSHOT_DIR set, the split frame is saved for a look by eye.
    const QString snapshots = qEnvironmentVariable("TARVEX_SNAPSHOT_DIR");
    if (!snapshots.isEmpty()) {
        frame->resize(1100, 700);
        QVERIFY(frame->formulario()->atualizarVista());
        QVERIFY(frame->grab().save(QDir(snapshots).filePath(QStringLiteral("tipo4_frame.png"))));
    }
}

QTEST_MAIN(TestTrafoForms)
#include "test_trafo_forms.moc"
