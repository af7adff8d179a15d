#pragma once

#include <QAction>
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

class AppServices;
class CBaseView;
class Prompter;
class SharedCommands;

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
    /// "&Gravar": under the document's own name; a new document goes to gravarComo(). False
    /// when nothing was written.
    bool gravar();
    /// "Gravar &Como...": under a name chosen in a save dialog. False when cancelled or when
    /// nothing was written.
    bool gravarComo();

protected:
    /// Writes the document to `path` and ends the save with concluirGravacao().
    virtual bool gravarEm(const QString& path) = 0;
    /// The save dialog of "Gravar &Como...": the name chosen, empty when cancelled.
    virtual QString escolherNomeGravacao() = 0;

    /// The view commands of the "&Exibir" menu and of the toolbar; the frame connects them to its
    /// view.
    struct ComandosExibir {
        QAction* zoom = nullptr;
        QAction* normal = nullptr;
        QAction* manual = nullptr;
        QAction* redesenhar = nullptr;
        QAction* todas = nullptr;
    };

    /// The save and print commands of the drawing, problem and results frames.
    struct ComandosDocumento {
        QAction* gravar = nullptr;
        QAction* gravarComo = nullptr;
        QAction* imprimir = nullptr;
        QAction* visualizar = nullptr;
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
    QAction* novaAcaoExportarImagem(CBaseView* view, AppServices& app);

    /// "&Gravar" (with its shortcut and icon), "Gravar &Como...", "&Imprimir..." and
    /// "&Visualizar Impressão..." of `view`, connected.
    ComandosDocumento criarComandosDocumento(CBaseView* view);
    /// "&Arquivos" of the drawing, problem and results frames: the application's "new" and
    /// "open", `inicio` (the frame's own open and close), a separator, the save commands,
    /// `exportacoes`, "Exportar imagem..." of `view`, then as terminarMenuArquivos().
    QMenu* criarMenuArquivosDocumento(AppServices& app, const QList<QAction*>& inicio,
        const ComandosDocumento& comandos, const QList<QAction*>& exportacoes, CBaseView* view);

    /// "&Arquivos" with the application's "new" and "open" entries.
    QMenu* criarMenuArquivos(SharedCommands& app);
    /// Ends "&Arquivos": a separator, the printing entries, the recent files and "&Fim".
    void terminarMenuArquivos(
        QMenu* arquivos, SharedCommands& app, QAction* imprimir, QAction* visualizar);
    QMenu* criarMenuAjuda(SharedCommands& app);

    /// Zoom, view and refresh commands, in the order the frames have always created them.
    ComandosExibir criarComandosExibir();
    /// Connects the view commands but "Atualizar Todas" to `view`'s slots of the same names.
    template <typename View> void ligarComandosExibir(const ComandosExibir& comandos, View* view)
    {
        connect(comandos.zoom, &QAction::triggered, view, &View::iniciarZoom);
        connect(comandos.normal, &QAction::triggered, view, &View::zoomNormal);
        connect(comandos.manual, &QAction::triggered, view, &View::ajusteManual);
        connect(comandos.redesenhar, &QAction::triggered, view, &View::redesenhar);
    }
    /// "&Exibir": the view commands and the toolbar's show/hide toggle.
    QMenu* criarMenuExibir(const ComandosExibir& comandos, QToolBar* barra);
    /// The toolbar's buttons of the drawing and problem frames.
    void preencherBarra(QToolBar* barra, SharedCommands& app, QAction* gravar, QAction* imprimir,
        const ComandosExibir& comandos);

    /// Closes the MDI sub-window holding this frame (or the frame itself when it has none), which
    /// closes the frame through closeEvent. Deletion is deferred.
    void fecharJanela();

    /// Warns of a failed file operation: the reason, and the file's name under it.
    /// The picture export of `view` to a file chosen in a save dialog (the document's name with
    /// ".png" proposed). False when cancelled or not written (after a warning).
    bool exportarImagem(CBaseView* view, AppServices& app);

    static void avisarFalha(Prompter& prompter, const QString& erro, const QString& path);
    /// Ends a save to `path`: warns of a failure, or adds the document (now at `caminhoDocumento`)
    /// to the recent files and shows `titulo`. True when the document was written.
    bool concluirGravacao(AppServices& app, bool gravou, const QString& erro, const QString& path,
        const QString& caminhoDocumento, const QString& titulo);

    /// Asks about a modified document before it closes. True when the frame may close: the
    /// document is not modified, the user chose to discard it, or `gravar` wrote it.
    static bool podeFecharDocumento(Prompter& prompter, bool modificado, const QString& titulo,
        const std::function<bool()>& gravar);

private:
    QLabel* m_mensagem = nullptr;
    QLabel* m_posicao = nullptr;
};
