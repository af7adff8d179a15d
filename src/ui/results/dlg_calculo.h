#pragma once

#include "solver/runs.h"

#include <QDialog>

QT_BEGIN_NAMESPACE
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;
QT_END_NAMESPACE

class CMeshDoc;
class Prompter;

/// What a calculation dialog needs of the results view: the document and the run settings, the
/// running flag that "Interrompe" clears, and where a finished run goes. The view implements it,
/// so the dialogs do not depend on the view.
class CalculationTarget {
public:
    virtual ~CalculationTarget() = default;
    virtual CMeshDoc& documento() = 0;
    virtual tarvex::solver::RunSettings& runSettings() = 0;
    virtual int equipotentialCount() const = 0;
    virtual bool executando() const = 0;
    virtual void setExecutando(bool executando) = 0;
    /// The run's result shown (lines, summary) after the dialog's handler returns from the run.
    virtual void concluirCalculo(const tarvex::solver::RunResult& resultado) = 0;
    /// "Interrompe": the run stops at its next check once the running flag is cleared.
    virtual void interromperCalculo() = 0;
};

/**
 * What the three calculation dialogs share: "Calcula" reads and checks the fields, stores them
 * in the view's run settings and runs the calculation on the GUI thread inside its own handler;
 * at every check of the run the dialog's status, bar and iteration line are updated, pending
 * events are handled, and the view's running flag decides whether the run goes on. While a run
 * goes on only "Interrompe" is enabled and the dialog cannot be closed. The dialog stays open
 * after the run; "Encerra" closes it.
 */
class CDlgProCalcBase : public QDialog {
    Q_OBJECT
public:
    ~CDlgProCalcBase() override;

    QPushButton* botaoCalcula() const { return m_calcula; }
    QPushButton* botaoEncerra() const { return m_encerra; }
    QPushButton* botaoInterrompe() const { return m_interrompe; }
    QString textoStatus() const;
    /// The progress bar's position (0 for a dialog without one).
    int posicao() const;
    /// How the last run ended (Failed before any run).
    tarvex::solver::RunEnd fimUltimaExecucao() const { return m_fim; }
    /// "Método:": conjugate gradients or direct, remembered in the user's settings.
    QComboBox* campoMetodo() const { return m_metodo; }

public slots:
    /// "Calcula".
    void calcula();
    /// "Interrompe".
    void interrompe();
    void reject() override;

signals:
    /// The run checks whether to go on (after pending events were handled).
    void verificando();
    /// The run moved the progress bar.
    void posicaoAlterada(int percentual);

protected:
    CDlgProCalcBase(CalculationTarget& view, Prompter& prompter, const QString& titulo,
        bool comBarra, QWidget* parent);

    /// Reads and checks the fields; on success stores them (view settings, model) and returns
    /// true, otherwise warns and returns false.
    virtual bool lerCampos() = 0;
    virtual tarvex::solver::RunResult executar(tarvex::solver::RunReporter& reporter) = 0;
    virtual void mostrarIteracao(const QString&) { }
    /// What a finished run leaves in the dialog: the status line with the iterations and the
    /// relative residual of the run's solve.
    virtual void mostrarConclusao(const tarvex::solver::RunResult& resultado);

    void mostrarStatus(const QString& texto);
    /// Adds a labelled edit field above the status line.
    QLineEdit* novoCampo(const QString& rotulo, const QString& nome);
    /// Adds a text line above the status line.
    QLabel* novaLinha(const QString& texto);

    /// A number typed in `campo` within [minimo, maximo]; warns with the range otherwise.
    bool lerNoIntervalo(const QLineEdit* campo, double minimo, double maximo, double& valor);
    /// Any number typed in `campo`; warns otherwise.
    bool lerNumero(const QLineEdit* campo, double& valor);

    CalculationTarget& m_view;
    Prompter& m_prompter;

private:
    class Reporter;

    QVBoxLayout* m_campos;
    QLabel* m_status;
    QComboBox* m_metodo;
    QProgressBar* m_barra = nullptr;
    QPushButton* m_calcula;
    QPushButton* m_encerra;
    QPushButton* m_interrompe;
    tarvex::solver::RunEnd m_fim = tarvex::solver::RunEnd::Failed;
};

/// "Cálculo Estático Linear": the error in percent of the linear tolerance.
class CDlgProCalcLinear : public CDlgProCalcBase {
    Q_OBJECT
public:
    CDlgProCalcLinear(CalculationTarget& view, Prompter& prompter, QWidget* parent = nullptr);
    QLineEdit* campoErro() const { return m_erro; }

protected:
    bool lerCampos() override;
    tarvex::solver::RunResult executar(tarvex::solver::RunReporter& reporter) override;

private:
    QLineEdit* m_erro;
};

/// "Cálculo Estático Não-Linear": the iteration limit and the error target in percent.
class CDlgProCalculo : public CDlgProCalcBase {
    Q_OBJECT
public:
    CDlgProCalculo(CalculationTarget& view, Prompter& prompter, QWidget* parent = nullptr);
    QLineEdit* campoIteracoes() const { return m_iteracoes; }
    QLineEdit* campoErro() const { return m_erro; }
    QString textoIteracao() const;

protected:
    bool lerCampos() override;
    tarvex::solver::RunResult executar(tarvex::solver::RunReporter& reporter) override;
    void mostrarIteracao(const QString& texto) override;
    /// The last step and its error stay in the iteration line.
    void mostrarConclusao(const tarvex::solver::RunResult& resultado) override;

private:
    QLineEdit* m_iteracoes;
    QLineEdit* m_erro;
    QLabel* m_iteracao;
};

/// "Cálculo Linear + Cor. Induzidas": the linear tolerance (shown × 500) and the frequency.
class CDlgProCalcLinearCorInd : public CDlgProCalcBase {
    Q_OBJECT
public:
    CDlgProCalcLinearCorInd(CalculationTarget& view, Prompter& prompter, QWidget* parent = nullptr);
    QLineEdit* campoErro() const { return m_erro; }
    QLineEdit* campoFrequencia() const { return m_frequencia; }

protected:
    bool lerCampos() override;
    tarvex::solver::RunResult executar(tarvex::solver::RunReporter& reporter) override;

private:
    QLineEdit* m_erro;
    QLineEdit* m_frequencia;
};
