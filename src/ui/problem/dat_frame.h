#pragma once

#include "common/child_frame.h"

#include <memory>

QT_BEGIN_NAMESPACE
class QAction;
class QToolBar;
QT_END_NAMESPACE

class AppServices;
class CDatDoc;
class CDatView;

/**
 * The problem-data frame: its view, a toolbar, a status bar with a message pane and a position
 * pane, and the problem's menus. Closing a modified problem asks whether to save it.
 */
class CDatFrame : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int LarguraPosicao = 180;

    /// Takes the document, which must already be read.
    CDatFrame(std::unique_ptr<CDatDoc> doc, AppServices& app, QWidget* parent = nullptr);
    ~CDatFrame() override;

    CDatDoc& doc() { return *m_doc; }
    CDatView* view() const { return m_view; }
    QList<QMenu*> menus() const override { return m_menus; }
    QString documentPath() const override;

    QToolBar* barra() const { return m_barra; }
    /// The frame's command with this menu text (without its '&'), or null.
    QAction* acao(const QString& texto) const;

public slots:
    /// "&Fechar".
    void fechar();
    /// "Abrir *.dat".
    void abrirDat();
    /// "Exportar para *.msh": builds the solver model, asks for the file name, writes it and
    /// opens it as a results document. False when nothing was written.
    bool exportarMsh();
    /// "Atualizar Todas".
    void atualizarTodas();
    /// Reads the document's file again (it was written over by an export) and shows it at its
    /// stored window. False, with a warning, when the file cannot be read; the old content stays.
    bool recarregar();

protected:
    bool gravarEm(const QString& path) override;
    QString escolherNomeGravacao() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void criarBarras();
    void criarMenus();
    bool podeFechar();
    void atualizarTitulo();
    /// Check marks of the analysis type.
    void atualizarAnalise();
    void criarMenusProblema();

    std::unique_ptr<CDatDoc> m_doc;
    AppServices& m_app;
    CDatView* m_view = nullptr;
    QToolBar* m_barra = nullptr;
    QList<QMenu*> m_menus;
    QAction* m_acaoGravar = nullptr;
    QAction* m_acaoImprimir = nullptr;
    QAction* m_acaoMagnetico = nullptr;
    QAction* m_acaoEletrico = nullptr;
    QMenu* m_menuRegioes = nullptr;
    QMenu* m_menuCondicoes = nullptr;
    QMenu* m_menuMalha = nullptr;
    QMenu* m_menuExibir = nullptr;
};
