#pragma once

#include "common/child_frame.h"

#include <array>
#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

class AppServices;
class CGraphDoc;
class CGraphView;

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

    CGraphFrame(std::unique_ptr<CGraphDoc> doc, AppServices& app, QWidget* parent = nullptr);
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
    /// "&Exportar ASCII": the .asc text of the graph under a name chosen from the document's.
    bool exportarAscii();

protected:
    bool gravarEm(const QString& path) override;
    QString escolherNomeGravacao() override;

private:
    void criarMenus();
    void atualizarTitulo();

    std::unique_ptr<CGraphDoc> m_doc;
    AppServices& m_app;
    CGraphView* m_view = nullptr;
    QList<QMenu*> m_menus;
    std::array<QAction*, ModosHarmonicos> m_harmonicas {};
};
