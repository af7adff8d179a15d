#pragma once

#include "app/child_frame.h"

#include <array>
#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

class CGraphDoc;
class CGraphView;
class CMainApp;

/**
 * The graph frame: its view, a status bar with a stretching message pane and the position pane,
 * and the graph's menus. It has no toolbar. A graph is never asked about on close: it holds
 * curves that the command that made them can make again.
 */
class CGraphFrame : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int LarguraPosicao = 190;
    static constexpr int ModosHarmonicos = 6;

    CGraphFrame(std::unique_ptr<CGraphDoc> doc, CMainApp& app, QWidget* parent = nullptr);
    ~CGraphFrame() override;

    CGraphDoc& doc() { return *m_doc; }
    CGraphView* view() const { return m_view; }
    QList<QMenu*> menus() const override { return m_menus; }
    QString documentPath() const override;

    /// The "Análise &Harmônica" command of mode 0 to 5.
    QAction* acaoHarmonica(int modo) const { return m_harmonicas.at(std::size_t(modo)); }

public slots:
    /// "&Fechar".
    void fechar();
    /// "&Gravar .": under the document's name, or as a new one. False when nothing was written.
    bool gravar();
    /// "Gravar &Como ...".
    bool gravarComo();
    /// "&Exportar ASCII": the .asc text of the graph under a name chosen from the document's.
    bool exportarAscii();

private:
    void criarMenus();
    bool gravarEm(const QString& path);
    void atualizarTitulo();

    std::unique_ptr<CGraphDoc> m_doc;
    CMainApp& m_app;
    CGraphView* m_view = nullptr;
    QList<QMenu*> m_menus;
    std::array<QAction*, ModosHarmonicos> m_harmonicas {};
};
