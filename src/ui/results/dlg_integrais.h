#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

QT_BEGIN_NAMESPACE
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
QT_END_NAMESPACE

class Prompter;

namespace tarvex::solver {
struct SolverModel;
}

/**
 * "Integrais da Região" (or of the whole model): the integrals as "label value" lines in a
 * read-only text that can be selected and copied, and "Copiar", which copies every line.
 */
class CDlgIntegrais : public QDialog {
    Q_OBJECT
public:
    CDlgIntegrais(const QString& titulo,
        const std::vector<std::pair<std::string_view, std::string>>& campos,
        QWidget* parent = nullptr);

    /// The lines as shown (and as "Copiar" puts them on the clipboard).
    QString texto() const;

public slots:
    void copiar();

private:
    QPlainTextEdit* m_texto;
};

/**
 * "Indutância / Capacitância": L = 2W / I² of a magnetic result for the current typed (opening
 * with the current of the last region whose integrals were shown), or C = 2W / V² of an electric
 * one for the voltage typed (opening with the span of the imposed potentials), W the energy of
 * the whole model; with a device length in metres the results are for the device, per metre
 * when the length is left empty. "Calcula" shows the result and keeps the dialog open.
 */
class CDlgIndutancia : public QDialog {
    Q_OBJECT
public:
    /// `model` holds the calculated result; `ultimaCorrente` is the current of the last region
    /// whose integrals were shown (0 when none).
    CDlgIndutancia(const tarvex::solver::SolverModel& model, double ultimaCorrente,
        Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* campoExcitacao() const { return m_excitacao; }
    QLineEdit* campoComprimento() const { return m_comprimento; }
    QLabel* resultado() const { return m_resultado; }

public slots:
    /// False, with a message, for a field without a number, a zero current or voltage, or a
    /// length that is not positive.
    bool calcula();

private:
    const tarvex::solver::SolverModel& m_model;
    Prompter& m_prompter;
    bool m_magnetico;
    QLineEdit* m_excitacao;
    QLineEdit* m_comprimento;
    QLabel* m_resultado;
};
