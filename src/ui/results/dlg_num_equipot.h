#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
class QPushButton;
QT_END_NAMESPACE

class CMeshView;
class Prompter;

/**
 * "Número de Equipotenciais": the number of lines traced, 2 to 5000. OK keeps the typed count
 * for the next trace; "Recalcula" stores it in the view and traces again at once, leaving the
 * dialog open. A count outside the range is refused with a warning and the dialog stays open.
 */
class CDlgNumEquipot : public QDialog {
    Q_OBJECT
public:
    CDlgNumEquipot(CMeshView& view, Prompter& prompter, QWidget* parent = nullptr);

    QLineEdit* campoNumero() const { return m_numero; }
    QPushButton* botaoRecalcula() const { return m_recalcula; }
    /// The count of the last successful OK or "Recalcula" (the view's count before that).
    int numero() const { return m_valor; }

public slots:
    void accept() override;
    /// "Recalcula".
    void recalcula();

private:
    bool validar();

    CMeshView& m_view;
    Prompter& m_prompter;
    QLineEdit* m_numero;
    QPushButton* m_recalcula;
    int m_valor;
};
