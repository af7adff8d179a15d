#include "app/main_frame.h"

#include "app/child_frame.h"
#include "app/main_app.h"
#include "materials/materiais_comandos.h"

#include <QAction>
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
#include <QToolBar>
#include <QUrl>

QString CMainFrame::tituloPrograma()
{
    return QStringLiteral("Tarvex - Sistema de Cálculo de Campos Elétricos e Magnéticos por "
                          "Elementos Finitos - versão 1.8 - 2005");
}

CMainFrame::CMainFrame(CMainApp& app, QWidget* parent) : QMainWindow(parent), m_app(app)
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

    criarMenus();
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
    for (int tipo = 0; tipo < CMainApp::ArrangementCount; ++tipo)
        arranjos->addAction(m_app.acaoTipo(tipo));

    auto* exibir = new QMenu(QStringLiteral("&Exibir"), this);
    QAction* barra = m_barra->toggleViewAction();
    barra->setText(QStringLiteral("&Barra de Ferramentas"));
    exibir->addAction(barra);

    auto* ajuda = new QMenu(QStringLiteral("A&juda"), this);
    ajuda->addAction(m_app.acaoSobre());

    m_menusIniciais = {arquivos, arranjos, exibir, ajuda};
}

void CMainFrame::atualizarMenus()
{
    CChildFrame* ativo = filhoAtivo();
    const QList<QMenu*> menus = ativo ? ativo->menus() : m_menusIniciais;
    if (ativo == m_menusDe && !menuBar()->actions().isEmpty())
        return;
    // Menus belong to their frames; clearing the bar only takes them out of it.
    menuBar()->clear();
    for (QMenu* menu : menus)
        menuBar()->addMenu(menu);
    m_menusDe = ativo;
}

void CMainFrame::atualizarTitulo()
{
    CChildFrame* ativo = filhoAtivo();
    if (ativo && !ativo->windowTitle().isEmpty())
        setWindowTitle(tituloPrograma() + QStringLiteral(" - [") + ativo->windowTitle() +
                       QLatin1Char(']'));
    else
        setWindowTitle(tituloPrograma());
}

void CMainFrame::adicionarFilho(CChildFrame* frame, const QSize& size)
{
    QMdiSubWindow* janela = m_mdi->addSubWindow(frame);
    janela->setAttribute(Qt::WA_DeleteOnClose);
    connect(frame, &QWidget::windowTitleChanged, this, [this] { atualizarTitulo(); });
    janela->show();
    // The frame itself, not its decorated sub-window, gets the size its layout was made for.
    janela->resize(size + (janela->size() - frame->size()));
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
