#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QLineEdit;
QT_END_NAMESPACE

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
