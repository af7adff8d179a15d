#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

class Prompter;

/// "Tolerâncias": the export's minimum distance between points. Accepts only a positive number.
class CDlgTolerancias : public QDialog {
    Q_OBJECT
public:
    CDlgTolerancias(double distanciaMinima, Prompter& prompter, QWidget* parent = nullptr);

    /// The accepted value (the initial one until OK succeeds).
    double distanciaMinima() const { return m_valor; }
    QLineEdit* campo() const { return m_campo; }

    /// Reads the field; false when it does not hold a number greater than zero.
    static bool lerDistancia(const QString& texto, double& valor);

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    QLineEdit* m_campo = nullptr;
    double m_valor;
};
