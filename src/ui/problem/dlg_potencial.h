#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class Prompter;

/**
 * "Potencial Imposto ": one value ("Valor :"). Plain, or with a button that removes the imposed
 * potential ("Elimina Pot. Segmento" or "Elimina Potencial Ponto"), which closes the dialog with
 * the result Elimina.
 */
class CDlgPotencial : public QDialog {
    Q_OBJECT
public:
    enum class Variante { Simples, EliminaSegmento, EliminaPonto };
    /// The dialog's result after the removal button (OK is Accepted, Cancel Rejected).
    static constexpr int Elimina = 2;

    CDlgPotencial(Variante variante, double valor, Prompter& prompter, QWidget* parent = nullptr);

    double valor() const { return m_valor; }
    QLineEdit* campoValor() const { return m_campo; }
    /// The removal button; null in the plain variant.
    QPushButton* botaoElimina() const { return m_elimina; }

public slots:
    void accept() override;
    void elimina() { done(Elimina); }

private:
    Prompter& m_prompter;
    double m_valor;
    QLineEdit* m_campo;
    QPushButton* m_elimina = nullptr;
};
