#pragma once

#include <QDialog>

QT_BEGIN_NAMESPACE
class QPushButton;
QT_END_NAMESPACE

/**
 * The question asked when a symmetry of the other kind is already defined: "Troca simetria para
 * XY" (or "ANTI-XY"). OK switches the kind and keeps the segments; "Deleta Simetria  Atual"
 * closes with the result Deleta; Cancel keeps everything.
 */
class CDlgTrocaSimetria : public QDialog {
    Q_OBJECT
public:
    static constexpr int Deleta = 2;

    CDlgTrocaSimetria(const QString& pergunta, QWidget* parent = nullptr);

    QPushButton* botaoOk() const { return m_ok; }
    QPushButton* botaoDeleta() const { return m_deleta; }

private:
    QPushButton* m_ok;
    QPushButton* m_deleta;
};
