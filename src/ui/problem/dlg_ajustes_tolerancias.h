#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

class Prompter;

/**
 * "Ajustes das Tolerâncias": the arc tolerance ("tolerância nos arcos :", 1e-12 to 1e12) and the
 * largest angle one chord of an arc may span ("ângulo mínimo arcos :", 0.5 to 60 degrees). OK
 * refuses a value out of its range with a warning and stays open.
 */
class CDlgAjustesTolerancias : public QDialog {
    Q_OBJECT
public:
    CDlgAjustesTolerancias(
        double toleranciaArcos, double anguloArco, Prompter& prompter, QWidget* parent = nullptr);

    double toleranciaArcos() const { return m_tolerancia; }
    double anguloArco() const { return m_angulo; }
    QLineEdit* campoTolerancia() const { return m_campoTolerancia; }
    QLineEdit* campoAngulo() const { return m_campoAngulo; }

public slots:
    void accept() override;

private:
    Prompter& m_prompter;
    double m_tolerancia;
    double m_angulo;
    QLineEdit* m_campoTolerancia;
    QLineEdit* m_campoAngulo;
};
