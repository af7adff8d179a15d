#include "app/main_app.h"
#include "app/main_frame.h"
#include "common/messages.h"
#include "graphs/axis_scaling.h"
#include "graphs/dlg_ajuste_grafico.h"
#include "graphs/dlg_ana_harmonica.h"
#include "graphs/dlg_ativa_curvas.h"
#include "graphs/graph_doc.h"
#include "graphs/graph_frame.h"
#include "graphs/graph_view.h"
#include "graphs/grp_io.h"
#include "graphs/plot_layout.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "paint/paint_graph.h"
#include "paint/view_palette.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <memory>

using tarvex::graphs::GraphAxes;
using tarvex::graphs::GraphData;
using tarvex::paint::ViewPalette;

namespace {

QString qtext(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

/// Three straight curves over x in [0, 1]: y = 0.5, 0.25 and 0.75.
GraphData tresCurvas()
{
    GraphData data;
    data.title = "Pressão sobre a Seção";
    data.xCaption = "distância (mm)";
    data.yCaption = "P (N/m²)";
    data.addCurve({ 0.0, 1.0 }, { 0.5, 0.5 }, "P");
    data.addCurve({ 0.0, 1.0 }, { 0.25, 0.25 }, "Pt");
    data.addCurve({ 0.0, 1.0 }, { 0.75, 0.75 }, "Pn");
    return data;
}

GraphAxes eixosUnitarios()
{
    GraphAxes axes;
    axes.xMin = 0.0;
    axes.xMax = 1.0;
    axes.yMin = 0.0;
    axes.yMax = 1.0;
    axes.xDivisions = 4;
    axes.yDivisions = 4;
    return axes;
}

/// Counts the pixels of `color` in the image outside `inside`.
int pixelsForaDe(const QImage& image, const QRect& inside, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!inside.contains(x, y) && image.pixelColor(x, y) == color)
                ++count;
    return count;
}

bool temCorPerto(const QImage& image, QPoint at, const QColor& color, int raio = 2)
{
    for (int dy = -raio; dy <= raio; ++dy)
        for (int dx = -raio; dx <= raio; ++dx)
            if (image.valid(at.x() + dx, at.y() + dy)
                && image.pixelColor(at.x() + dx, at.y() + dy) == color)
                return true;
    return false;
}

} // namespace

class TestGraphView : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newGraphCopiesTheCurvesIntoItsOwnFrame();
    void plotShowsEachCurveInItsPenAndKeepsCurvesInsideTheAxes();
    void axisDialogFixesTheLimitsAndAutomaticScalingRestoresThem();
    void switchingACurveOffRemovesItFromThePlot();
    void grpSavesOpensAndExportsThroughTheDocument();
    void harmonicDialogShowsTheCoreTablesOfASine();
    void cursorPositionGoesToThePositionPane();
    void printedPageKeepsTheScreenLayoutAtPrinterResolution();

private:
    CGraphFrame* novoFrame(const GraphData& data);

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestGraphView::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestGraphView::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
}

void TestGraphView::cleanup()
{
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CGraphFrame* TestGraphView::novoFrame(const GraphData& data)
{
    CGraphDoc* doc = m_app->abrirGrafico(data);
    if (!doc)
        return nullptr;
    for (CChildFrame* filho : m_app->mainFrame()->filhos())
        if (auto* frame = qobject_cast<CGraphFrame*>(filho); frame && &frame->doc() == doc)
            return frame;
    return nullptr;
}

void TestGraphView::newGraphCopiesTheCurvesIntoItsOwnFrame()
{
    GraphData curvas = tresCurvas();
    CGraphDoc* doc = m_app->abrirGrafico(curvas);
    QVERIFY(doc);
    // A copy: the command's own curves may change afterwards.
    curvas.clear();
    QCOMPARE(doc->data().curves.size(), std::size_t { 3 });
    QCOMPARE(doc->data().curveNames, (std::vector<std::string> { "P", "Pt", "Pn" }));
    QCOMPARE(doc->data().title, std::string("Pressão sobre a Seção"));
    QCOMPARE(doc->data().curves[2].y(1), 0.75);

    auto* frame = qobject_cast<CGraphFrame*>(m_app->mainFrame()->filhoAtivo());
    QVERIFY(frame);
    QCOMPARE(&frame->doc(), doc);
    QCOMPARE(frame->windowTitle(), QStringLiteral("grp1"));
    QVERIFY(frame->findChildren<QToolBar*>().isEmpty());
    QCOMPARE(frame->painelPosicao()->width(), 190);
    QStringList menus;
    for (QMenu* menu : frame->menus())
        menus << menu->title();
    QCOMPARE(menus, (QStringList { "&Arquivos", "&Gráfico", "A&juda" }));
    for (int modo = 0; modo < CGraphFrame::ModosHarmonicos; ++modo) {
        tarvex::graphs::HarmonicMode mode {};
        QVERIFY(tarvex::graphs::harmonicModeFromNumber(modo, mode));
        QCOMPARE(frame->acaoHarmonica(modo)->text(), qtext(tarvex::graphs::harmonicMenuText(mode)));
    }

    QVERIFY(m_app->abrirGrafico(curvas));
    QCOMPARE(m_app->mainFrame()->filhos().size(), 2);
    QCOMPARE(m_app->mainFrame()->filhoAtivo()->windowTitle(), QStringLiteral("grp2"));
    QVERIFY(m_prompter->warnings.isEmpty());
}

void TestGraphView::plotShowsEachCurveInItsPenAndKeepsCurvesInsideTheAxes()
{
    GraphData data = tresCurvas();
    // A fourth curve that leaves the axes above and to the right.
    data.addCurve({ 0.0, 0.5, 3.0 }, { 0.1, 4.0, 0.1 }, "fora");
    const QSize size(400, 300);
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    tarvex::paint::paintGraph(painter, data, eixosUnitarios(), {}, QSizeF(size), false);
    painter.end();

    const tarvex::graphs::PlotMapping m { eixosUnitarios(),
        tarvex::graphs::plotArea(size.width(), size.height()) };
    auto at = [&](double x, double y) {
        return QPoint(int(std::lround(m.toPixelX(x))), int(std::lround(m.toPixelY(y))));
    };
    const QColor amarelo = ViewPalette::entry(14);
    const QColor branco = ViewPalette::entry(15);
    const QColor vermelho = ViewPalette::entry(4);
    const QColor verde = ViewPalette::entry(2);
    QCOMPARE(image.pixelColor(at(0.6, 0.5)), amarelo);
    QCOMPARE(image.pixelColor(at(0.6, 0.25)), branco);
    QCOMPARE(image.pixelColor(at(0.6, 0.75)), vermelho);
    // Grid lines at the x ticks.
    QCOMPARE(image.pixelColor(at(0.25, 0.1)), verde);
    QCOMPARE(image.pixelColor(at(0.5, 0.1)), verde);

    // Nothing of the curves (yellow or red; white is also the zero line) beyond the axes.
    const QRect area = QRect(at(0.0, 1.0), at(1.0, 0.0)).adjusted(-4, -4, 4, 4);
    QCOMPARE(pixelsForaDe(image, area, amarelo), 0);
    QCOMPARE(pixelsForaDe(image, area, vermelho), 0);
    // The clipped curve runs along the top limit rather than vanishing.
    QVERIFY(temCorPerto(image, at(0.5, 1.0), vermelho));
}

void TestGraphView::axisDialogFixesTheLimitsAndAutomaticScalingRestoresThem()
{
    CGraphFrame* frame = novoFrame(tresCurvas());
    QVERIFY(frame);
    CGraphView* view = frame->view();
    view->resize(500, 400);
    (void)view->grab();
    const GraphAxes automaticos
        = tarvex::graphs::autoScaleAxes(frame->doc().data(), {}, view->width(), view->height());
    QCOMPARE(frame->doc().axes(), automaticos);

    {
        CDlgAjusteGrafico dialogo(
            *m_prompter, frame->doc().axes(), [view] { return view->ajusteAutomatico(); });
        QCOMPARE(dialogo.botaoAutomatico()->text(), QStringLiteral("Ajuste  Automático"));
        dialogo.campoXMin()->setText(QStringLiteral("-2"));
        dialogo.campoXMax()->setText(QStringLiteral("abc"));
        dialogo.accept();
        QCOMPARE(dialogo.result(), int(QDialog::Rejected));
        QCOMPARE(m_prompter->warnings.size(), 1);

        dialogo.campoXMax()->setText(QStringLiteral("2,5"));
        dialogo.campoDivisoesY()->setValue(500); // beyond the accepted range
        dialogo.campoDivisoesX()->setValue(5);
        dialogo.accept();
        QCOMPARE(dialogo.result(), int(QDialog::Accepted));
        view->aplicarEixos(dialogo.eixos());
    }
    QVERIFY(!view->autoAxes());
    (void)view->grab(); // a repaint no longer rescales
    QCOMPARE(frame->doc().axes().xMin, -2.0);
    QCOMPARE(frame->doc().axes().xMax, 2.5);
    QCOMPARE(frame->doc().axes().xDivisions, std::int16_t { 5 });
    QCOMPARE(frame->doc().axes().yDivisions, std::int16_t { 100 });

    CDlgAjusteGrafico dialogo(
        *m_prompter, frame->doc().axes(), [view] { return view->ajusteAutomatico(); });
    QCOMPARE(dialogo.campoXMin()->text(), QStringLiteral("-2"));
    dialogo.ajusteAutomatico();
    QCOMPARE(dialogo.campoXMin()->text(), QString::number(automaticos.xMin, 'g', 15));
    QCOMPARE(dialogo.campoXMax()->text(), QString::number(automaticos.xMax, 'g', 15));
    QCOMPARE(dialogo.campoDivisoesY()->value(), int(automaticos.yDivisions));
    // Cancelled, the automatic scaling stays in the document.
    dialogo.reject();
    QCOMPARE(frame->doc().axes(), automaticos);
}

void TestGraphView::switchingACurveOffRemovesItFromThePlot()
{
    GraphData data = tresCurvas();
    data.curves[0].y(1) = 0.2;
    data.curves[0].y(2) = 0.8;
    CGraphFrame* frame = novoFrame(data);
    QVERIFY(frame);
    CGraphView* view = frame->view();
    view->resize(400, 300);

    CDlgAtivaCurvas dialogo(frame->doc().data(), view->ativas());
    QCOMPARE(dialogo.caixa(0)->text(), QStringLiteral("P"));
    QCOMPARE(dialogo.caixa(1)->text(), QStringLiteral("Pt"));
    QCOMPARE(dialogo.caixa(2)->text(), QStringLiteral("Pn"));
    dialogo.caixa(1)->setChecked(false);
    view->aplicarAtivas(dialogo.ativas());
    QVERIFY(!view->ativas().isActive(1));

    const QImage image = view->grab().toImage();
    const tarvex::graphs::PlotMapping m { frame->doc().axes(),
        tarvex::graphs::plotArea(view->width(), view->height()) };
    // Plotted values are divided by 10 to the power of their axis exponent.
    const double xs = std::pow(10.0, m.axes.xExponent);
    const double ys = std::pow(10.0, m.axes.yExponent);
    const QPoint amarelo(int(m.toPixelX(0.8 / xs)), int(m.toPixelY(0.68 / ys)));
    const QPoint branco(int(m.toPixelX(0.8 / xs)), int(m.toPixelY(0.25 / ys)));
    QVERIFY(temCorPerto(image, amarelo, ViewPalette::entry(14)));
    QVERIFY(!temCorPerto(image, branco, ViewPalette::entry(15)));

    // With a single curve there is nothing to switch.
    GraphData uma;
    uma.addCurve({ 0.0, 1.0 }, { 0.0, 1.0 }, "B");
    CGraphFrame* umaFrame = novoFrame(uma);
    QVERIFY(umaFrame);
    umaFrame->view()->ativarDesativar();
    QCOMPARE(m_prompter->warnings, QStringList { qtext(tarvex::msg::SoUmaCurva) });
}

void TestGraphView::grpSavesOpensAndExportsThroughTheDocument()
{
    CGraphFrame* frame = novoFrame(tresCurvas());
    QVERIFY(frame);
    const QString grp = m_dir.filePath(QStringLiteral("secao.grp"));
    m_chooser->answers = { grp };
    QVERIFY(frame->gravar());
    QCOMPARE(m_chooser->requests.back().proposedPath, QStringLiteral("grp1"));
    QCOMPARE(frame->windowTitle(), QStringLiteral("secao.grp"));

    GraphData lido;
    QVERIFY(tarvex::graphs::openGrp(grp.toStdString(), lido).ok);
    QCOMPARE(tarvex::graphs::writeGrp(lido), tarvex::graphs::writeGrp(tresCurvas()));

    // The export offers the .asc name and forces the .asc extension.
    m_chooser->answers = { m_dir.filePath(QStringLiteral("tabela.txt")) };
    QVERIFY(frame->exportarAscii());
    QCOMPARE(m_chooser->requests.back().proposedPath, m_dir.filePath(QStringLiteral("secao.asc")));
    QFile asc(m_dir.filePath(QStringLiteral("tabela.asc")));
    QVERIFY(asc.open(QIODevice::ReadOnly));
    QCOMPARE(asc.readLine(), QByteArray("4  2\n"));

    // Opening the saved file again shows its frame; once closed, it opens as a new graph.
    QCOMPARE(m_app->abrirPorExtensao(grp, QStringLiteral("grp")), frame);
    frame->fechar();
    QCOMPARE(m_app->mainFrame()->filhos().size(), 0);
    auto* aberto = qobject_cast<CGraphFrame*>(m_app->abrirPorExtensao(grp, QStringLiteral("grp")));
    QVERIFY(aberto);
    QCOMPARE(aberto->doc().data().curveNames, (std::vector<std::string> { "P", "Pt", "Pn" }));
    QCOMPARE(aberto->windowTitle(), QStringLiteral("secao.grp"));

    // A file of another version is refused rather than opened empty, so it cannot be written
    // over by an empty graph.
    const QString velho = m_dir.filePath(QStringLiteral("velho.grp"));
    QFile arquivo(velho);
    QVERIFY(arquivo.open(QIODevice::WriteOnly));
    arquivo.write(QByteArray("versao 01.00.01").leftJustified(400, '\0'));
    arquivo.close();
    QVERIFY(!m_app->abrirPorExtensao(velho, QStringLiteral("grp")));
    QCOMPARE(m_prompter->warnings.size(), 1);
    QVERIFY(m_prompter->warnings.first().startsWith(qtext(tarvex::msg::GrpVersionError)));
    QCOMPARE(m_app->mainFrame()->filhos().size(), 1);
}

void TestGraphView::harmonicDialogShowsTheCoreTablesOfASine()
{
    // One period of 3·sin(2πx), sampled in pairs: each pair is one step with one value.
    GraphData data;
    std::vector<double> xs;
    std::vector<double> ys;
    const int passos = 200;
    for (int i = 0; i < passos; ++i) {
        const double a = double(i) / passos;
        const double b = double(i + 1) / passos;
        const double meio = (a + b) / 2.0;
        xs.insert(xs.end(), { a, b });
        const double y = 3.0 * std::sin(8.0 * std::atan(1.0) * meio);
        ys.insert(ys.end(), { y, y });
    }
    data.addCurve(xs, ys, "B");

    CDlgAnaHarmonica dialogo(data, tarvex::graphs::HarmonicMode::PeriodoInteiro);
    QCOMPARE(dialogo.windowTitle(), QStringLiteral("Análise Harmônica"));
    const QString seno = dialogo.campo(0)->toPlainText();
    QVERIFY2(seno.startsWith(QStringLiteral(" ordem normal \n----------------------------\n"
                                            "  01  | +100.000\n  02  |   +0.000\n")),
        qPrintable(seno));
    QVERIFY2(seno.endsWith(QStringLiteral(" val. ref : 3        ")), qPrintable(seno));
    // One curve fills all three columns.
    QVERIFY(dialogo.campo(1)->toPlainText().endsWith(seno.section(QLatin1Char('\n'), 2)));
    QCOMPARE(dialogo.campo(2)->toPlainText().section(QLatin1Char('\n'), 2),
        seno.section(QLatin1Char('\n'), 2));
    QVERIFY(dialogo.campo(3)->toPlainText().startsWith(QStringLiteral(" ordem   normal \n")));
    QVERIFY(dialogo.campo(0)->isReadOnly());
}

void TestGraphView::cursorPositionGoesToThePositionPane()
{
    CGraphFrame* frame = novoFrame(tresCurvas());
    QVERIFY(frame);
    CGraphView* view = frame->view();
    view->resize(400, 300);
    view->aplicarEixos(eixosUnitarios());
    const tarvex::graphs::PlotArea area = tarvex::graphs::plotArea(400, 300);
    QMouseEvent move(QEvent::MouseMove, QPointF(area.left, area.bottom),
        view->mapToGlobal(QPointF(area.left, area.bottom)), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    QCOMPARE(frame->painelPosicao()->text(),
        qtext(tarvex::graphs::cursorText(0.0, 0.0, eixosUnitarios())));
}

void TestGraphView::printedPageKeepsTheScreenLayoutAtPrinterResolution()
{
    CGraphFrame* frame = novoFrame(tresCurvas());
    QVERIFY(frame);
    CGraphView* view = frame->view();
    view->resize(300, 200);
    view->aplicarEixos(eixosUnitarios());
    // A 288-dpi page of 1200 x 900 dots lays out as a 400 x 300 screen, three dots per pixel.
    QImage page(1200, 900, QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(288 / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(288 / 0.0254)));
    page.fill(Qt::gray);
    view->imprimirEm(page, page.rect());
    const tarvex::graphs::PlotMapping m { eixosUnitarios(), tarvex::graphs::plotArea(400, 300) };
    const QPoint amarelo(int(3 * m.toPixelX(0.6)), int(3 * m.toPixelY(0.5)));
    const QPoint vermelho(int(3 * m.toPixelX(0.6)), int(3 * m.toPixelY(0.75)));
    QVERIFY(temCorPerto(page, amarelo, ViewPalette::entry(14), 3));
    QVERIFY(temCorPerto(page, vermelho, ViewPalette::entry(4), 3));
    // Paper is white whatever the screen's background; the white texts and axes print black.
    QCOMPARE(page.pixelColor(1199, 899), QColor(Qt::white));
    int pretos = 0;
    for (int y = 0; y < page.height(); y += 3)
        for (int x = 0; x < page.width(); x += 3)
            pretos += page.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
    QVERIFY(pretos > 0);
    // The screen is laid out for its own size again afterwards.
    QVERIFY(!view->mapping().imprimindo);
}

QTEST_MAIN(TestGraphView)
#include "test_graph_view.moc"
