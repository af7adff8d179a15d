#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

/**
 * "Teclado" of the path commands: the start and end points (X1, Y1, X2, Y2), opening with the
 * view's last ones; "Calcula" accepts, "Cancel" rejects. The fields are read by the view.
 */
class CDlgTecladoCaminho : public QDialog {
    Q_OBJECT
public:
    CDlgTecladoCaminho(double x1, double y1, double x2, double y2, QWidget* parent = nullptr);

    QLineEdit* campoX1() const { return m_x1; }
    QLineEdit* campoY1() const { return m_y1; }
    QLineEdit* campoX2() const { return m_x2; }
    QLineEdit* campoY2() const { return m_y2; }

private:
    QLineEdit* m_x1;
    QLineEdit* m_y1;
    QLineEdit* m_x2;
    QLineEdit* m_y2;
};

/**
 * "Curvas de Campo Admissível": the materials-style files whose curves replace the built-in
 * allowable fields of oil gaps and of creepage. An empty field keeps the built-in formula.
 */
class CDlgCurvasAdmissiveis : public QDialog {
    Q_OBJECT
public:
    CDlgCurvasAdmissiveis(
        const QString& oleo, const QString& escoamento, QWidget* parent = nullptr);

    QLineEdit* campoOleo() const { return m_oleo; }
    QLineEdit* campoEscoamento() const { return m_escoamento; }

private:
    QLineEdit* m_oleo;
    QLineEdit* m_escoamento;
};
