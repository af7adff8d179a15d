#pragma once

#include "common/child_frame.h"

#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
class QLabel;
class QToolBar;
QT_END_NAMESPACE

class AppServices;
class CMeshDoc;
class CMeshView;

/**
 * The results frame: its view, a toolbar, a status bar with the message pane, the result pane
 * (hidden until a command shows a result) and the position pane, and the results menus. Closing
 * a document with unsaved results asks whether to save it.
 */
class CMeshFrame : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int LarguraPosicao = 180;
    /// Width of the result pane per character of its text.
    static constexpr int LarguraPorCaractere = 7;

    /// Takes the document, which must already be read.
    CMeshFrame(std::unique_ptr<CMeshDoc> doc, AppServices& app, QWidget* parent = nullptr);
    ~CMeshFrame() override;

    CMeshDoc& doc() { return *m_doc; }
    CMeshView* view() const { return m_view; }
    QList<QMenu*> menus() const override { return m_menus; }
    QString documentPath() const override;

    QToolBar* barra() const { return m_barra; }
    QLabel* painelResultado() const { return m_resultado; }
    /// The frame's command with this menu text (with or without its '&'), or null.
    QAction* acao(const QString& texto) const;

public slots:
    /// "&Fechar".
    void fechar();
    /// Reads the document's file again (an export wrote over it) and shows it afresh. False,
    /// with a warning, when the file cannot be read; the old content stays.
    bool recarregar();
    /// "&Exportar *.emf": a save dialog (the document's ".msh" ending replaced by ".emf"; a
    /// chosen extension other than "emf" replaced by it), then the view's picture. False when
    /// cancelled or not written (after a warning).
    bool exportarEmf();

protected:
    bool gravarEm(const QString& path) override;
    QString escolherNomeGravacao() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void criarMenus();
    /// The menus "De&scarga" and "Escoamen&to" (before "Ajuda"), and the graphs of the path
    /// analyses opened as new graph documents (mesh_frame_paths.cpp).
    void criarMenusCaminhos();
    /// Shows the view's result text in the result pane, or hides the pane in the other modes.
    void atualizarResultado();
    void atualizarTitulo();

    std::unique_ptr<CMeshDoc> m_doc;
    AppServices& m_app;
    CMeshView* m_view = nullptr;
    QToolBar* m_barra = nullptr;
    QLabel* m_resultado = nullptr;
    QList<QMenu*> m_menus;
};
