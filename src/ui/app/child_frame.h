#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QAction;
class QLabel;
class QMenu;
class QToolBar;
QT_END_NAMESPACE

class CBaseView;
class CMainApp;
class Prompter;

/// A document's frame inside the main window's MDI area. Each frame carries its own menus; the
/// main window shows them in its menu bar while the frame is active.
///
/// The parts every document frame has alike (status panes, the shared "&Arquivos" entries, the
/// help menu, the close prompt) are built here, so the frames cannot drift apart.
class CChildFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr)
        : QMainWindow(parent)
    {
    }

    virtual QList<QMenu*> menus() const = 0;
    /// Path of the document shown, empty for a new document.
    virtual QString documentPath() const = 0;

    QLabel* painelMensagem() const { return m_mensagem; }
    QLabel* painelPosicao() const { return m_posicao; }

public slots:
    void mostrarMensagem(const QString& texto);

protected:
    /// The view commands of the "&Exibir" menu and of the toolbar; the frame connects them to its
    /// view.
    struct ComandosExibir {
        QAction* zoom = nullptr;
        QAction* normal = nullptr;
        QAction* manual = nullptr;
        QAction* redesenhar = nullptr;
        QAction* todas = nullptr;
    };

    /// A command of this frame only: its shortcut acts on the frame that has the focus.
    QAction* novaAcao(const QString& texto);

    /// The status bar: a stretching message pane ("Pronto") and a position pane of fixed width.
    void criarPaineisEstado(int larguraPosicao);
    /// The frame's toolbar, at the top, with small icons.
    QToolBar* criarBarra(const QString& titulo, const QString& nome);

    /// "&Imprimir..."-like and "&Visualizar Impressão..."-like commands acting on `view`.
    QAction* novaAcaoImprimir(const QString& texto, CBaseView* view);
    QAction* novaAcaoVisualizar(const QString& texto, CBaseView* view);
    /// "Exportar imagem...": a save dialog, then the view's picture as PNG, SVG or PDF.
    QAction* novaAcaoExportarImagem(CBaseView* view, CMainApp& app);

    /// "&Arquivos" with the application's "new" and "open" entries.
    QMenu* criarMenuArquivos(CMainApp& app);
    /// Ends "&Arquivos": a separator, the printing entries, the recent files and "&Fim".
    void terminarMenuArquivos(
        QMenu* arquivos, CMainApp& app, QAction* imprimir, QAction* visualizar);
    QMenu* criarMenuAjuda(CMainApp& app);

    /// Zoom, view and refresh commands, in the order the frames have always created them.
    ComandosExibir criarComandosExibir();
    /// "&Exibir": the view commands and the toolbar's show/hide toggle.
    QMenu* criarMenuExibir(const ComandosExibir& comandos, QToolBar* barra);
    /// The toolbar's buttons of the drawing and problem frames.
    void preencherBarra(QToolBar* barra, CMainApp& app, QAction* gravar, QAction* imprimir,
        const ComandosExibir& comandos);

    /// Closes the MDI sub-window holding this frame (or the frame itself when it has none), which
    /// closes the frame through closeEvent. Deletion is deferred.
    void fecharJanela();

    /// Warns of a failed file operation: the reason, and the file's name under it.
    /// The picture export of `view` to a file chosen in a save dialog (the document's name with
    /// ".png" proposed). False when cancelled or not written (after a warning).
    bool exportarImagem(CBaseView* view, CMainApp& app);

    static void avisarFalha(Prompter& prompter, const QString& erro, const QString& path);
    /// Ends a save to `path`: warns of a failure, or adds the document (now at `caminhoDocumento`)
    /// to the recent files and shows `titulo`. True when the document was written.
    bool concluirGravacao(CMainApp& app, bool gravou, const QString& erro, const QString& path,
        const QString& caminhoDocumento, const QString& titulo);

    /// Asks about a modified document before it closes. True when the frame may close: the
    /// document is not modified, the user chose to discard it, or `gravar` wrote it.
    static bool podeFecharDocumento(Prompter& prompter, bool modificado, const QString& titulo,
        const std::function<bool()>& gravar);

private:
    QLabel* m_mensagem = nullptr;
    QLabel* m_posicao = nullptr;
};
