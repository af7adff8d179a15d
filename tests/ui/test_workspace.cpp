#include "app/dlg_manual.h"
#include "app/main_app.h"
#include "app/main_frame.h"
#include "app/traducoes.h"
#include "common/child_frame.h"
#include "drawing/des_doc.h"
#include "drawing/des_frame.h"
#include "drawing/des_view.h"
#include "geometry/drawing.h"
#include "geometry/drawing_io.h"
#include "helpers/scripted_file_chooser.h"
#include "helpers/scripted_prompter.h"
#include "helpers/test_settings.h"
#include "paint/paint_colour_map.h"
#include "paint/view_mapping.h"
#include "problem/dat_doc.h"
#include "problem/dat_frame.h"
#include "problem/dat_view.h"
#include "problem/dlg_edit_reg.h"
#include "results/colour_map.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>

#include <memory>

using tarvex::geometry::Caixa;
using tarvex::geometry::Ponto;

namespace {

QAction* acaoDoMenu(QMenu* menu, const QString& texto)
{
    for (QAction* acao : menu->actions()) {
        if (acao->text() == texto)
            return acao;
    }
    return nullptr;
}

QMenu* menuDaBarra(QMenuBar* barra, const QString& titulo)
{
    for (QAction* acao : barra->actions()) {
        if (acao->text() == titulo)
            return acao->menu();
    }
    return nullptr;
}

} // namespace

// What a newcomer meets around the engine: texts, windows, the mouse, printing, the guide.
class TestWorkspace : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void conductivityIsLabelledInSiemensPerMetre();
    void newWindowsCascadeInsideTheWorkspace();
    void windowMenuCascadesTilesListsAndClosesAll();
    void oneToolbarAndOneStatusBarPerFrame();
    void qtDialogsSpeakPortuguese();
    void clickModesHintAndEscLeavesThem();
    void wheelZoomsAboutTheCursorAndMiddleButtonPans();
    void printedPagesAreWhitePaper();
    void largeTotalRefinementAsksFirst();
    void legendLabelsStayClearOfLinesAndModel_data();
    void legendLabelsStayClearOfLinesAndModel();
    void helpOpensTheUsersManual();

private:
    CDesFrame* novoDesenho(int pontos = 2);
    QList<CChildFrame*> frames() const { return m_app->mainFrame()->filhos(); }

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ScriptedFileChooser> m_chooser;
    std::unique_ptr<CMainApp> m_app;
};

void TestWorkspace::initTestCase()
{
    QVERIFY(m_dir.isValid());
    isolateUserSettings(m_dir.filePath(QStringLiteral("home")));
}

void TestWorkspace::init()
{
    m_prompter = std::make_unique<ScriptedPrompter>();
    m_chooser = std::make_unique<ScriptedFileChooser>();
    m_app = std::make_unique<CMainApp>(*m_prompter, *m_chooser);
    QVERIFY(m_app->iniciar());
    // A window of known size rather than the off-screen platform's whole screen.
    m_app->mainFrame()->showNormal();
    m_app->mainFrame()->resize(1000, 700);
    QVERIFY(QTest::qWaitForWindowExposed(m_app->mainFrame()));
}

void TestWorkspace::cleanup()
{
    m_app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CDesFrame* TestWorkspace::novoDesenho(int pontos)
{
    CDesFrame* frame = m_app->novoDesenho();
    for (int i = 0; i < pontos; ++i)
        frame->doc().data().pontos.pushFront({ 100.0 * i, 50.0 * i });
    frame->view()->zoomNormal();
    return frame;
}

void TestWorkspace::conductivityIsLabelledInSiemensPerMetre()
{
    CDlgEditReg dialogo(false, *m_prompter);
    QLabel* rotulo = nullptr;
    for (QFormLayout* formulario : dialogo.findChildren<QFormLayout*>()) {
        if (QWidget* r = formulario->labelForField(dialogo.campoCondutividade()))
            rotulo = qobject_cast<QLabel*>(r);
    }
    QVERIFY(rotulo);
    QCOMPARE(rotulo->text(), QStringLiteral("Condutivid.  (S/m) "));
}

void TestWorkspace::newWindowsCascadeInsideTheWorkspace()
{
    QMdiArea* area = m_app->mainFrame()->mdiArea();
    const QRect visivel(QPoint(0, 0), area->viewport()->size());
    QList<QPoint> posicoes;
    for (int i = 0; i < 8; ++i) {
        novoDesenho();
        QMdiSubWindow* janela = area->activeSubWindow();
        QVERIFY(janela);
        QVERIFY2(visivel.contains(janela->geometry()),
            qPrintable(QStringLiteral("window %1 at %2,%3 %4x%5 outside %6x%7")
                           .arg(i)
                           .arg(janela->x())
                           .arg(janela->y())
                           .arg(janela->width())
                           .arg(janela->height())
                           .arg(visivel.width())
                           .arg(visivel.height())));
        // A useful size: at least half the workspace each way.
        QVERIFY(janela->width() >= visivel.width() / 2);
        QVERIFY(janela->height() >= visivel.height() / 2);
        posicoes << janela->pos();
    }
    // Each new window steps down and right from the one before, until it has to start again.
    QVERIFY(posicoes.at(1).x() > posicoes.at(0).x());
    QVERIFY(posicoes.at(1).y() > posicoes.at(0).y());
}

void TestWorkspace::windowMenuCascadesTilesListsAndClosesAll()
{
    QMenuBar* barra = m_app->mainFrame()->menuBar();
    QVERIFY(!menuDaBarra(barra, QStringLiteral("&Janela")));
    // Unchanged drawings, so closing them asks nothing.
    CDesFrame* a = novoDesenho(0);
    CDesFrame* b = novoDesenho(0);
    QMenu* janela = menuDaBarra(barra, QStringLiteral("&Janela"));
    QVERIFY(janela);
    // Before the help menu, as in every multiple-document program.
    QCOMPARE(barra->actions().last()->text(), QStringLiteral("A&juda"));

    emit janela->aboutToShow();
    QStringList lista;
    QAction* primeira = nullptr;
    for (QAction* acao : janela->actions()) {
        if (acao->text().startsWith(QLatin1Char('&')) && acao->isCheckable()) {
            lista << acao->text();
            if (!primeira)
                primeira = acao;
        }
    }
    QCOMPARE(lista, (QStringList { "&1 " + a->windowTitle(), "&2 " + b->windowTitle() }));
    QVERIFY(!primeira->isChecked());
    primeira->trigger();
    QCOMPARE(m_app->mainFrame()->filhoAtivo(), a);

    acaoDoMenu(janela, QStringLiteral("&Lado a Lado"))->trigger();
    const QList<QMdiSubWindow*> janelas = m_app->mainFrame()->mdiArea()->subWindowList();
    QVERIFY(!janelas.at(0)->geometry().intersects(janelas.at(1)->geometry()));
    acaoDoMenu(janela, QStringLiteral("&Cascata"))->trigger();
    QVERIFY(janelas.at(0)->geometry().intersects(janelas.at(1)->geometry()));

    acaoDoMenu(janela, QStringLiteral("&Fechar Todas"))->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(frames().isEmpty());
    QVERIFY(!menuDaBarra(barra, QStringLiteral("&Janela")));
}

void TestWorkspace::oneToolbarAndOneStatusBarPerFrame()
{
    CMainFrame* principal = m_app->mainFrame();
    QVERIFY(principal->barraFerramentas()->isVisible());
    QVERIFY(principal->statusBar()->isVisible());
    CDesFrame* frame = novoDesenho(0);
    // The document's own toolbar carries New and Open; the start-up bars give way.
    QVERIFY(!principal->barraFerramentas()->isVisible());
    QVERIFY(!principal->statusBar()->isVisible());
    int barrasVisiveis = 0;
    for (QToolBar* barra : frame->findChildren<QToolBar*>())
        barrasVisiveis += barra->isVisible() ? 1 : 0;
    QCOMPARE(barrasVisiveis, 1);
    QVERIFY(frame->statusBar()->isVisible());

    frame->fechar();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(principal->barraFerramentas()->isVisible());
    QVERIFY(principal->statusBar()->isVisible());
}

void TestWorkspace::qtDialogsSpeakPortuguese()
{
    QVERIFY2(instalarTraducoesQt(*QCoreApplication::instance()),
        "Qt's pt_BR translations (Debian qt6-translations-l10n) are not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
    QDialogButtonBox botoes(QDialogButtonBox::Cancel);
    QCOMPARE(botoes.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
}

void TestWorkspace::clickModesHintAndEscLeavesThem()
{
    CDesFrame* desenho = novoDesenho();
    CDesView* view = desenho->view();
    view->iniciarZoom();
    QVERIFY(desenho->painelMensagem()->text().startsWith(QStringLiteral("Arraste")));
    QTest::keyClick(view, Qt::Key_Escape);
    QCOMPARE(view->modoMouse(), CDesView::ModoInicial);
    QCOMPARE(desenho->painelMensagem()->text(), QStringLiteral("Pronto"));

    auto doc = std::make_unique<CDatDoc>();
    auto* problema = new CDatFrame(std::move(doc), *m_app);
    m_app->mainFrame()->adicionarFilho(problema, QSize(500, 400));
    CDatView* dat = problema->view();
    dat->editar();
    QVERIFY(
        problema->painelMensagem()->text().startsWith(QStringLiteral("Clique sobre uma região")));
    dat->segContornoExt();
    QVERIFY(problema->painelMensagem()->text().contains(QStringLiteral("primeiro")));
    QTest::keyClick(dat, Qt::Key_Escape);
    QCOMPARE(dat->modo(), CDatView::Modo::Estrutura);
    QCOMPARE(problema->painelMensagem()->text(), QStringLiteral("Pronto"));
}

void TestWorkspace::wheelZoomsAboutTheCursorAndMiddleButtonPans()
{
    CDesFrame* frame = novoDesenho();
    CDesView* view = frame->view();
    QTRY_VERIFY(view->isVisible() && view->width() > 100);
    const QPoint cursor(view->width() / 3, view->height() / 4);
    const auto mundo = [view](const QPoint& p) { return view->mapping().paraMundo(p.x(), p.y()); };
    view->repaint();
    const Ponto antes = mundo(cursor);
    const double larguraAntes = view->mapping().xMax() - view->mapping().xMin();

    QWheelEvent roda(QPointF(cursor), QPointF(view->mapToGlobal(cursor)), QPoint(), QPoint(0, 120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &roda);
    view->repaint();
    QVERIFY(
        qAbs(view->mapping().xMax() - view->mapping().xMin() - CBaseView::FatorRoda * larguraAntes)
        < 1e-9 * larguraAntes);
    const Ponto depois = mundo(cursor);
    QVERIFY(qAbs(depois.x - antes.x) < 1e-9 * larguraAntes);
    QVERIFY(qAbs(depois.y - antes.y) < 1e-9 * larguraAntes);

    // The picture follows a middle-button drag: what was under (100, 100) is under (150, 80).
    const Ponto agarrado = mundo(QPoint(100, 100));
    QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, QPoint(100, 100));
    QMouseEvent mover(QEvent::MouseMove, QPointF(150, 80),
        QPointF(view->mapToGlobal(QPoint(150, 80))), Qt::NoButton, Qt::MiddleButton,
        Qt::NoModifier);
    QCoreApplication::sendEvent(view, &mover);
    QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, QPoint(150, 80));
    view->repaint();
    const Ponto solto = mundo(QPoint(150, 80));
    const double pixel = 1.0 / view->mapping().pixelsPorUnidade();
    QVERIFY(qAbs(solto.x - agarrado.x) <= pixel);
    QVERIFY(qAbs(solto.y - agarrado.y) <= pixel);

    // "&Normal" still returns to the extents.
    view->zoomNormal();
    view->repaint();
    QVERIFY(view->mapping().xMin() <= -3.0 + 1e-9);
}

void TestWorkspace::printedPagesAreWhitePaper()
{
    CDesFrame* frame = novoDesenho(0);
    frame->doc().data().segmentos.pushFront({ { 0.0, 50.0 }, { 100.0, 50.0 } });
    frame->view()->zoomNormal();
    QImage pagina(400, 400, QImage::Format_RGB32);
    pagina.fill(Qt::green);
    frame->view()->imprimirEm(pagina, pagina.rect());
    QCOMPARE(pagina.pixelColor(5, 5), QColor(Qt::white));
    // The drawing's white line prints black.
    bool preto = false;
    for (int y = 190; y <= 210; ++y)
        preto = preto || pagina.pixelColor(200, y) == QColor(Qt::black);
    QVERIFY(preto);
}

void TestWorkspace::largeTotalRefinementAsksFirst()
{
    auto doc = std::make_unique<CDatDoc>();
    tarvex::problem::ProblemData& data = doc->data();
    for (int i = 0; i < 50001; ++i)
        data.triangulos.pushFront({ 0.0, 0.0, 1.0, 0.0, 0.0, 1.0 });
    data.numTriangulos = 50001;
    auto* frame = new CDatFrame(std::move(doc), *m_app);
    m_app->mainFrame()->adicionarFilho(frame, QSize(400, 300));
    m_prompter->yesNoAnswers = { Prompter::YesNo::No };
    frame->view()->refinaTotal();
    QCOMPARE(m_prompter->questions.size(), 1);
    QVERIFY(m_prompter->questions.first().contains(QStringLiteral("200004")));
    QCOMPARE(frame->doc().data().triangulos.size(), std::size_t { 50001 });
}

void TestWorkspace::legendLabelsStayClearOfLinesAndModel_data()
{
    QTest::addColumn<QSize>("tamanho");
    QTest::addColumn<int>("rotulos");
    QTest::addColumn<double>("fonteMinima");
    QTest::newRow("700 x 450") << QSize(700, 450) << -1 << 7.0;
    // Too narrow for a legible label: they shrink rather than overlap.
    QTest::newRow("400 x 250") << QSize(400, 250) << -1 << 1.0;
    QTest::newRow("1600 x 1000") << QSize(1600, 1000) << 16 << 11.0;
}

void TestWorkspace::legendLabelsStayClearOfLinesAndModel()
{
    QFETCH(QSize, tamanho);
    QFETCH(int, rotulos);
    QFETCH(double, fonteMinima);
    tarvex::paint::ViewMapping mapping;
    mapping.setTargetSize(tamanho.width(), tamanho.height());
    mapping.ajustarJanela(0.0, 0.0, 320.0, 260.0);
    tarvex::paint::deslocaJanelaLegenda(mapping);
    tarvex::results::ColourMap mapa;
    for (int k = 0; k <= tarvex::results::BandCount; ++k)
        mapa.limits[static_cast<std::size_t>(k)] = -1.234567e-3 * (k + 1);

    const auto lista = tarvex::paint::rotulosLegenda(mapping, mapa, 1.0);
    if (rotulos > 0)
        QCOMPARE(int(lista.size()), rotulos);
    QVERIFY(lista.size() >= 8);
    // The band lines, in pixel rows, as paintColourMap draws them.
    QList<int> linhas;
    for (int k = 0; k <= tarvex::results::BandCount; ++k)
        linhas << mapping
                      .paraPixel(0.0,
                          mapping.yMin() + 0.01 * (mapping.yMax() - mapping.yMin())
                              + k * (mapping.yMax() - mapping.yMin()) * 0.98 / 16.5)
                      .y();
    const double modelo = mapping.paraPixel(0.0, 0.0).x();
    for (std::size_t i = 0; i < lista.size(); ++i) {
        const QRectF& caixa = lista[i].caixa;
        QVERIFY(lista[i].tamanhoFonte >= fonteMinima);
        QVERIFY2(caixa.right() <= modelo, qPrintable(lista[i].texto));
        for (int linha : linhas)
            QVERIFY2(linha < caixa.top() || linha > caixa.bottom(), qPrintable(lista[i].texto));
        if (i > 0)
            QVERIFY(!caixa.intersects(lista[i - 1].caixa));
    }
}

void TestWorkspace::helpOpensTheUsersManual()
{
    QMenu* ajuda = m_app->mainFrame()->menusIniciais().last();
    QCOMPARE(ajuda->title(), QStringLiteral("A&juda"));
    QAction* manual = acaoDoMenu(ajuda, QStringLiteral("&Manual do Usuário"));
    QVERIFY(manual);
    manual->trigger();
    QVERIFY2(m_prompter->warnings.isEmpty(), qPrintable(m_prompter->warnings.join('\n')));
    auto* janela = qobject_cast<CDlgManual*>(m_app->janelaManual());
    QVERIFY(janela);
    QVERIFY(janela->isVisible());
    QCOMPARE(janela->navegador()->documentTitle(), QStringLiteral("Tarvex - Manual do Usuário"));
    // Every picture the guide shows was made.
    const QString pasta = QFileInfo(CDlgManual::localizarManual()).absolutePath();
    for (const char* figura : { "01_desenho", "03_malha", "04_equipotenciais", "06_grafico" })
        QVERIFY2(QFileInfo::exists(pasta + "/img/" + figura + ".png"), figura);
    // A second command brings the same window forward.
    manual->trigger();
    QCOMPARE(m_app->janelaManual(), janela);

    // Every document frame's help menu has it too.
    CDesFrame* frame = novoDesenho();
    QVERIFY(acaoDoMenu(frame->menus().last(), QStringLiteral("&Manual do Usuário")));
}

QTEST_MAIN(TestWorkspace)
#include "test_workspace.moc"
