#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class Prompter;

/**
 * "Número de Equipotenciais": the number of lines traced, 2 to 5000. OK keeps the typed count
 * for the next trace; "Recalcula" asks the view (through recalculoPedido) to store it and trace
 * again at once, leaving the dialog open. A count outside the range is refused with a warning
 * and the dialog stays open.
 */
class CDlgNumEquipot : public QDialog {
    Q_OBJECT
public:
    /// Opens with `numero`, the view's current count.
    CDlgNumEquipot(int numero, Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* campoNumero() const { return m_numero; }
    QPushButton* botaoRecalcula() const { return m_recalcula; }
    /// The count of the last successful OK or "Recalcula" (the view's count before that).
    int numero() const { return m_valor; }

signals:
    /// "Recalcula" with a valid count: the lines are to be traced again with `numero`.
    void recalculoPedido(int numero);

public slots:
    void accept() override;
    /// "Recalcula".
    void recalcula();

private:
    bool validar();

    Prompter& m_prompter;
    QLineEdit* m_numero;
    QPushButton* m_recalcula;
    int m_valor;
};
