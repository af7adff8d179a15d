#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
QT_END_NAMESPACE

namespace tarvex::graphs {
struct GraphData;
}

class CChildFrame;
class CGraphDoc;
class FileChooser;
class Prompter;

/// Graph documents opened by commands that produce curves. The commands hand over the curves
/// themselves; they never see the frame that shows them.
class GraphOpener {
public:
    virtual ~GraphOpener() = default;
    /// A new, untitled graph document holding a copy of `data`, in its own frame. Null when there
    /// is no main window to hold it.
    virtual CGraphDoc* abrirGrafico(const tarvex::graphs::GraphData& data) = 0;
    /// Shows `data` in `existente` while its frame is still open (the curve replaced and the
    /// frame brought forward); otherwise as abrirGrafico(). `existente` may be null or closed.
    virtual CGraphDoc* mostrarGrafico(const tarvex::graphs::GraphData& data, CGraphDoc* existente)
        = 0;
    /// Closes the frame of `grafico`; nothing when it is null or already closed.
    virtual void fecharGrafico(const CGraphDoc* grafico) = 0;
};

/// Opening documents by their type, for commands that write a file and then show it.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    /// Opens `path` with the document type named `extension` (case-sensitive); a path already
    /// open activates its frame. The frame showing the document, or null.
    virtual CChildFrame* abrirPorExtensao(const QString& path, const QString& extension) = 0;
    /// As abrirPorExtensao(), for a file just written over: a frame that already showed it reads
    /// it again, so it does not show (and later save) what it held before.
    virtual CChildFrame* abrirGravado(const QString& path, const QString& extension) = 0;
    /// The file-dialog filter of the document type named `name`, empty when there is none.
    virtual QString filtroDoTipo(const QString& name) const = 0;
};

/// The commands every menu shares, and the recent files listed under them.
class SharedCommands {
public:
    static constexpr int ArrangementCount = 4;

    virtual ~SharedCommands() = default;
    virtual QAction* acaoNovo() const = 0;
    virtual QAction* acaoAbrir() const = 0;
    virtual QAction* acaoAjustarImpressora() const = 0;
    virtual QAction* acaoFim() const = 0;
    virtual QAction* acaoSobre() const = 0;
    virtual QAction* acaoManual() const = 0;
    /// "Tipo 1".."Tipo 4" (`tipo` 0..3).
    virtual QAction* acaoTipo(int tipo) const = 0;

    virtual void adicionarRecente(const QString& path) = 0;
    /// Keeps the recent files listed in `menu`, just before `before`, each time it opens.
    virtual void listarRecentes(QMenu* menu, QAction* before) = 0;
};

/// What the application offers the document frames and the dialogs they open: the user's
/// answers, the file dialogs, the shared commands and the opening of other documents. They
/// receive this instead of the application, so none of them depends on it or on another frame.
class AppServices : public GraphOpener, public DocumentOpener, public SharedCommands {
public:
    virtual Prompter& prompter() = 0;
    virtual FileChooser& fileChooser() = 0;
};
