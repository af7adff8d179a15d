#include "app/main_frame.h"

#include "common/app_services.h"
#include "common/base_view.h"
#include "common/child_frame.h"
#include "materials/materiais_comandos.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

QString CMainFrame::tituloPrograma()
{
    return QStringLiteral("Tarvex - Sistema de Cálculo de Campos Elétricos e Magnéticos por "
                          "Elementos Finitos - versão 1.8 - 2005");
}

CMainFrame::CMainFrame(AppServices& app, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
{
    setWindowTitle(tituloPrograma());
    setAcceptDrops(true);

    m_mdi = new QMdiArea(this);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this] {
        atualizarMenus();
        atualizarTitulo();
    });

    m_barra = new QToolBar(QStringLiteral("Barra de Ferramentas"), this);
    m_barra->setObjectName(QStringLiteral("barraPrincipal"));
    m_barra->setMovable(true);
    m_barra->setFloatable(true);
    m_barra->setAllowedAreas(Qt::AllToolBarAreas);
    m_barra->setIconSize(QSize(16, 16));
    m_barra->addAction(app.acaoNovo());
    m_barra->addAction(app.acaoAbrir());
    m_barra->addSeparator();
    m_barra->addAction(app.acaoSobre());
    addToolBar(Qt::TopToolBarArea, m_barra);
    connect(m_barra->toggleViewAction(), &QAction::triggered, this,
        [this](bool visivel) { m_barraEscolhida = visivel; });

    criarMenus();
    criarMenuJanela();
    statusBar()->showMessage(QStringLiteral("Pronto"));
    atualizarMenus();
}

CMainFrame::~CMainFrame()
{
    // The documents' frames go first, without their activation and title signals reaching a
    // window that is being taken apart.
    disconnect(m_mdi, nullptr, this, nullptr);
    for (QMdiSubWindow* janela : m_mdi->subWindowList()) {
        if (janela->widget())
            janela->widget()->disconnect(this);
    }
    delete m_mdi;
    m_mdi = nullptr;
}

void CMainFrame::criarMenus()
{
    auto* arquivos = new QMenu(QStringLiteral("&Arquivos"), this);
    arquivos->addAction(m_app.acaoNovo());
    arquivos->addAction(m_app.acaoAbrir());
    arquivos->addAction(QStringLiteral("Editar Arquivo de Materiais..."), this,
        [this] { editarArquivoMaterialDoMenu(m_app, this); });
    arquivos->addSeparator();
    arquivos->addAction(m_app.acaoAjustarImpressora());
    arquivos->addSeparator();
    QAction* antesDoFim = arquivos->addSeparator();
    arquivos->addAction(m_app.acaoFim());
    m_app.listarRecentes(arquivos, antesDoFim);

    auto* arranjos = new QMenu(QStringLiteral("Arranjos Tipicos"), this);
    for (int tipo = 0; tipo < AppServices::ArrangementCount; ++tipo)
        arranjos->addAction(m_app.acaoTipo(tipo));

    auto* exibir = new QMenu(QStringLiteral("&Exibir"), this);
    QAction* barra = m_barra->toggleViewAction();
    barra->setText(QStringLiteral("&Barra de Ferramentas"));
    exibir->addAction(barra);

    auto* ajuda = new QMenu(QStringLiteral("A&juda"), this);
    ajuda->addAction(m_app.acaoManual());
    ajuda->addAction(m_app.acaoSobre());

    m_menusIniciais = { arquivos, arranjos, exibir, ajuda };
}

void CMainFrame::criarMenuJanela()
{
    m_menuJanela = new QMenu(QStringLiteral("&Janela"), this);
    m_menuJanela->addAction(QStringLiteral("&Cascata"), m_mdi, &QMdiArea::cascadeSubWindows);
    m_menuJanela->addAction(QStringLiteral("&Lado a Lado"), m_mdi, &QMdiArea::tileSubWindows);
    m_menuJanela->addAction(QStringLiteral("&Fechar Todas"), m_mdi, &QMdiArea::closeAllSubWindows);
    m_fimListaJanelas = m_menuJanela->addSeparator();
    connect(m_menuJanela, &QMenu::aboutToShow, this, &CMainFrame::listarJanelas);
}

void CMainFrame::listarJanelas()
{
    // The list after the separator is made again each time the menu opens.
    const QList<QAction*> acoes = m_menuJanela->actions();
    for (qsizetype i = acoes.indexOf(m_fimListaJanelas) + 1; i < acoes.size(); ++i) {
        m_menuJanela->removeAction(acoes.at(i));
        acoes.at(i)->deleteLater();
    }
    auto* grupo = m_menuJanela->findChild<QActionGroup*>();
    if (!grupo)
        grupo = new QActionGroup(m_menuJanela);
    int numero = 0;
    for (QMdiSubWindow* janela : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (janela->isHidden())
            continue;
        ++numero;
        QString titulo = janela->widget() ? janela->widget()->windowTitle() : QString();
        titulo.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* acao = m_menuJanela->addAction(
            numero < 10 ? QStringLiteral("&%1 %2").arg(numero).arg(titulo) : titulo);
        acao->setCheckable(true);
        acao->setChecked(janela == m_mdi->activeSubWindow());
        grupo->addAction(acao);
        QPointer<QMdiSubWindow> alvo(janela);
        connect(acao, &QAction::triggered, this, [this, alvo] {
            if (!alvo)
                return;
            if (alvo->isMinimized())
                alvo->showNormal();
            m_mdi->setActiveSubWindow(alvo);
        });
    }
}

void CMainFrame::atualizarMenus()
{
    CChildFrame* ativo = filhoAtivo();
    // One toolbar and one status bar per frame: the start-up ones give way to the document's.
    m_barra->setVisible(!ativo && m_barraEscolhida);
    statusBar()->setVisible(!ativo);
    QList<QMenu*> menus = ativo ? ativo->menus() : m_menusIniciais;
    if (ativo == m_menusDe && !menuBar()->actions().isEmpty())
        return;
    if (ativo) {
        const auto ajuda = std::find_if(menus.begin(), menus.end(),
            [](const QMenu* menu) { return menu->title() == QStringLiteral("A&juda"); });
        menus.insert(ajuda, m_menuJanela);
    }
    // Menus belong to their frames; clearing the bar only takes them out of it.
    menuBar()->clear();
    for (QMenu* menu : menus)
        menuBar()->addMenu(menu);
    m_menusDe = ativo;
}

QPoint CMainFrame::proximaPosicao(const QSize& tamanho, const QMdiSubWindow* nova) const
{
    const QSize area = m_mdi->viewport()->size();
    const int passo = std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 20);
    QPoint posicao(0, 0);
    const QList<QMdiSubWindow*> janelas = m_mdi->subWindowList(QMdiArea::CreationOrder);
    for (auto it = janelas.rbegin(); it != janelas.rend(); ++it) {
        if (*it != nova && !(*it)->isHidden() && !(*it)->isMaximized() && !(*it)->isMinimized()) {
            posicao = (*it)->pos() + QPoint(passo, passo);
            break;
        }
    }
    if (posicao.x() + tamanho.width() > area.width()
        || posicao.y() + tamanho.height() > area.height() || posicao.x() < 0 || posicao.y() < 0)
        posicao = QPoint(0, 0);
    return posicao;
}

void CMainFrame::atualizarTitulo()
{
    CChildFrame* ativo = filhoAtivo();
    if (ativo && !ativo->windowTitle().isEmpty())
        setWindowTitle(
            tituloPrograma() + QStringLiteral(" - [") + ativo->windowTitle() + QLatin1Char(']'));
    else
        setWindowTitle(tituloPrograma());
}

void CMainFrame::adicionarFilho(CChildFrame* frame, const QSize& size)
{
    QMdiSubWindow* janela = m_mdi->addSubWindow(frame);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    connect(frame, &QWidget::windowTitleChanged, this, [this] { atualizarTitulo(); });
    // What the next click does goes to the frame's message pane; "Pronto" when no mode is on.
    for (CBaseView* view : frame->findChildren<CBaseView*>()) {
        connect(view, &CBaseView::dicaModoAlterada, frame, [frame](const QString& dica) {
            frame->mostrarMensagem(dica.isEmpty() ? QStringLiteral("Pronto") : dica);
        });
    }
    janela->show();
    // The frame itself, not its decorated sub-window, gets the size its layout was made for,
    // but never more than the workspace shows.
    const QSize area = m_mdi->viewport()->size();
    const QSize decorado = (size + (janela->size() - frame->size())).boundedTo(area);
    janela->resize(decorado);
    janela->move(proximaPosicao(decorado, janela));
    m_mdi->setActiveSubWindow(janela);
    atualizarMenus();
    atualizarTitulo();
}

void CMainFrame::ativar(CChildFrame* frame)
{
    for (QMdiSubWindow* janela : m_mdi->subWindowList()) {
        if (janela->widget() == frame) {
            if (janela->isMinimized())
                janela->showNormal();
            m_mdi->setActiveSubWindow(janela);
            break;
        }
    }
    atualizarMenus();
    atualizarTitulo();
}

QList<CChildFrame*> CMainFrame::filhos() const
{
    QList<CChildFrame*> frames;
    for (QMdiSubWindow* janela : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        // A closed sub-window lingers, hidden, until its deferred deletion.
        if (janela->isHidden())
            continue;
        if (auto* frame = qobject_cast<CChildFrame*>(janela->widget()))
            frames << frame;
    }
    return frames;
}

CChildFrame* CMainFrame::filhoAtivo() const
{
    QMdiSubWindow* janela = m_mdi->currentSubWindow();
    if (!janela || janela->isHidden())
        return nullptr;
    return qobject_cast<CChildFrame*>(janela->widget());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    m_mdi->closeAllSubWindows();
    if (!filhos().isEmpty()) {
        // A document whose question was cancelled keeps the program running.
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        m_app.abrirPorExtensao(path, QFileInfo(path).suffix());
    }
    event->acceptProposedAction();
}
