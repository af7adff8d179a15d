#pragma once

#include "common/app_services.h"

#include <QDialog>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

QT_BEGIN_NAMESPACE
class QAction;
class QMenu;
class QPrinter;
class QSize;
class QWidget;
QT_END_NAMESPACE

class CDesDoc;
class CDesFrame;
class CGraphFrame;
class CMainFrame;

/// What kind of document a template creates.
enum class DocumentKind { Drawing, ProblemData, Results, Graph };

/// A registered document type. The template string holds newline-separated fields: window title,
/// document name (the key files are dispatched by), new-file name, filter name, filter extension
/// and the two registration names.
struct DocumentTemplate {
    int resourceId = 0;
    DocumentKind kind = DocumentKind::Drawing;
    QString templateString;

    QString field(int index) const;
    QString documentName() const { return field(1); }
    QString filterName() const { return field(3); }
    QString filterExtension() const { return field(4); }
};

/**
 * The application: document templates, opening files by extension, new drawings, the typical
 * arrangements' pictures, the recent-file list and the commands that every menu shares.
 */
class CMainApp : public QObject, public AppServices {
    Q_OBJECT
public:
    static constexpr int RecentFileCount = 10;

    CMainApp(Prompter& prompter, FileChooser& chooser, QObject* parent = nullptr);
    ~CMainApp() override;

    /// Creates the main frame and shows it maximised with no document.
    bool iniciar();
    CMainFrame* mainFrame() const { return m_mainFrame.get(); }

    Prompter& prompter() override { return m_prompter; }
    FileChooser& fileChooser() override { return m_chooser; }
    QPrinter& impressora();

    const std::vector<DocumentTemplate>& modelos() const { return m_modelos; }
    /// First template whose document name equals `name` exactly, or nullptr.
    const DocumentTemplate* modeloPorNome(const QString& name) const;

    /// Opens `path` with the first template whose document name equals `extension` exactly
    /// (case-sensitive). A path already open activates its frame. Returns the frame showing the
    /// document, or nullptr when nothing was opened.
    CChildFrame* abrirPorExtensao(const QString& path, const QString& extension) override;
    CChildFrame* abrirGravado(const QString& path, const QString& extension) override;
    QString filtroDoTipo(const QString& name) const override;
    /// The files named on a command line after `--open`; none without it, so a bare command line
    /// opens nothing.
    static QStringList arquivosParaAbrir(const QStringList& arguments);
    /// Opens each file as "&Abrir..." would; unlike the dialog's dispatch, a file whose type no
    /// template opens is named in a message rather than passed over in silence.
    void abrirArquivos(const QStringList& paths);
    /// A new, empty drawing in its own frame.
    CDesFrame* novoDesenho();
    CGraphDoc* abrirGrafico(const tarvex::graphs::GraphData& data) override;
    CGraphDoc* mostrarGrafico(const tarvex::graphs::GraphData& data, CGraphDoc* existente) override;
    void fecharGrafico(const CGraphDoc* grafico) override;
    /// "Tipo 1".."Tipo 4" (`tipo` 0..3): a new drawing in the split arrangement layout. The
    /// arrangement's picture is painted from its geometry, so no picture file is read.
    CDesFrame* abrirArranjo(int tipo);

    /// Most recent first, at most RecentFileCount paths.
    QStringList arquivosRecentes() const;
    void adicionarRecente(const QString& path) override;
    void removerRecente(const QString& path);
    void listarRecentes(QMenu* menu, QAction* before) override;

    /// Commands shared by the main frame's and the documents' menus.
    QAction* acaoNovo() const override { return m_acaoNovo; }
    QAction* acaoAbrir() const override { return m_acaoAbrir; }
    QAction* acaoAjustarImpressora() const override { return m_acaoImpressora; }
    QAction* acaoFim() const override { return m_acaoFim; }
    QAction* acaoSobre() const override { return m_acaoSobre; }
    QAction* acaoManual() const override { return m_acaoManual; }
    /// The guide's window while it is open.
    QDialog* janelaManual() const { return m_manual; }
    QAction* acaoTipo(int tipo) const override
    {
        return m_acaoTipo.at(static_cast<std::size_t>(tipo));
    }

public slots:
    void novo();
    void abrir();
    void ajustarImpressora();
    void sair();
    void sobre();
    /// "&Manual do Usuário": the guide shipped with the program, in its own window.
    void manual();

private:
    /// `tipoArranjo` 0..3 lays the frame out beside arrangement 1..4; any other value, not.
    CDesFrame* criarFrameDesenho(std::unique_ptr<CDesDoc> doc, int tipoArranjo);
    CDesFrame* novoDesenho(int tipoArranjo);
    CChildFrame* frameAberto(const QString& path) const;
    CGraphFrame* frameDoGrafico(const CGraphDoc* grafico) const;
    template <typename Doc, typename Frame> CChildFrame* abrirDocumento(const QString& path);
    QSize tamanhoInicialFilho() const;
    void criarAcoes();

    Prompter& m_prompter;
    FileChooser& m_chooser;
    std::vector<DocumentTemplate> m_modelos;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<QPrinter> m_impressora;
    int m_proximoSemNome = 1;
    int m_proximoGrafico = 1;

    QAction* m_acaoNovo = nullptr;
    QAction* m_acaoAbrir = nullptr;
    QAction* m_acaoImpressora = nullptr;
    QAction* m_acaoFim = nullptr;
    QAction* m_acaoSobre = nullptr;
    QAction* m_acaoManual = nullptr;
    QPointer<QDialog> m_manual;
    std::array<QAction*, ArrangementCount> m_acaoTipo = {};
};
