#pragma once

#include <QList>
#include <QMainWindow>
#include <QPointer>

QT_BEGIN_NAMESPACE
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
QT_END_NAMESPACE

class AppServices;
class CChildFrame;

/// The main window: the MDI area holding one frame per document, the start-up menus and toolbar.
/// While a document frame is active its menus replace the start-up ones in the menu bar.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static QString tituloPrograma();

    explicit CMainFrame(AppServices& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* barraFerramentas() const { return m_barra; }
    QList<QMenu*> menusIniciais() const { return m_menusIniciais; }
    /// "&Janela": cascade, tile, close all and the list of open windows; in the menu bar, before
    /// the help menu, while a document's frame is active.
    QMenu* menuJanela() const { return m_menuJanela; }

    /// Adds `frame` in its own sub-window of the given size, shows and activates it.
    void adicionarFilho(CChildFrame* frame, const QSize& size);
    void ativar(CChildFrame* frame);
    /// Frames of the open documents, in creation order.
    QList<CChildFrame*> filhos() const;
    /// The current document frame, also while the main window itself is not active.
    CChildFrame* filhoAtivo() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void criarMenus();
    void atualizarMenus();
    void atualizarTitulo();
    void criarMenuJanela();
    void listarJanelas();
    /// Where the next new window goes: one title bar below and right of the last, back to the
    /// corner when that would leave the workspace.
    QPoint proximaPosicao(const QSize& tamanho, const QMdiSubWindow* nova) const;

    AppServices& m_app;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_barra = nullptr;
    QList<QMenu*> m_menusIniciais;
    QMenu* m_menuJanela = nullptr;
    QAction* m_fimListaJanelas = nullptr;
    /// The start-up toolbar and status bar show only while no document frame is active (each
    /// frame has its own); this keeps the user's own choice for the toolbar.
    bool m_barraEscolhida = true;
    QPointer<CChildFrame> m_menusDe;
};
