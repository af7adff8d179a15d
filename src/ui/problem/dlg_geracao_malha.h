#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLabel;
class QProgressBar;
class QPushButton;
QT_END_NAMESPACE

class CDatDoc;
class Prompter;

namespace tarvex::problem {
class MeshObserver;
struct OpcoesMalha;
} // namespace tarvex::problem

/// What the mesh-generation dialog needs of the problem view: the document and the mesh options,
/// the view following the growing mesh, and what it shows after the run. The view implements it,
/// so the dialog does not depend on the view.
class MeshGenerationTarget {
public:
    virtual ~MeshGenerationTarget() = default;
    virtual CDatDoc& documento() = 0;
    virtual tarvex::problem::OpcoesMalha opcoesMalha() const = 0;
    /// A run starts: the display mode is saved and the growing mesh is shown through the
    /// returned observer until terminaGeracao().
    virtual tarvex::problem::MeshObserver* iniciaGeracao() = 0;
    virtual void terminaGeracao() = 0;
    /// Back to the display mode saved by iniciaGeracao().
    virtual void restauraModo() = 0;
    /// A completed run: the mesh and its information.
    virtual void mostraMalhaGerada() = 0;
    virtual void informacoesMalhaAtual() = 0;
};

/**
 * "Geração da Malha": runs the mesh generator of the view's problem on the GUI thread, inside the
 * handler of "Inicia". At each checkpoint the run shows its status and position, handles pending
 * events and asks whether to go on; "Interrompe" answers no from then on and puts the view's
 * display mode back. While a run is going only "Interrompe" is enabled, and the dialog cannot be
 * closed. A completed run shows the mesh and its information; a failure shows its message.
 */
class CDlgGeracaoMalha : public QDialog {
    Q_OBJECT
public:
    CDlgGeracaoMalha(MeshGenerationTarget& view, Prompter& prompter, QWidget* parent = nullptr);

    QPushButton* botaoInicia() const { return m_inicia; }
    QPushButton* botaoInterrompe() const { return m_interrompe; }
    QPushButton* botaoEncerra() const { return m_encerra; }
    QString textoStatus() const;
    int posicao() const;
    bool executando() const { return m_executando; }

public slots:
    /// "Inicia".
    void inicia();
    /// "Interrompe".
    void interrompe();
    void reject() override;

signals:
    /// A checkpoint was reached (before the run asks whether to go on).
    void posicaoAlterada(int percentual);

private:
    class Progresso;

    MeshGenerationTarget& m_view;
    Prompter& m_prompter;
    QLabel* m_status;
    QProgressBar* m_barra;
    QPushButton* m_inicia;
    QPushButton* m_interrompe;
    QPushButton* m_encerra;
    bool m_continuar = false;
    bool m_executando = false;
};
