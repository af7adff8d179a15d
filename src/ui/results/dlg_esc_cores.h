#pragma once

#include <QDialog>
#include <QList>

#include <cstdint>

QT_BEGIN_NAMESPACE
class QPushButton;
QT_END_NAMESPACE

/**
 * The colour-scale strip: one row of the six map buttons and "OK". Each button asks for its map
 * (mapaPedido), which the view draws with the map command's checks while the strip stays open;
 * "OK" closes it.
 */
class CDlgEscCores : public QDialog {
    Q_OBJECT
public:
    explicit CDlgEscCores(QWidget* parent = nullptr);

    /// The button with this text, or null.
    QPushButton* botao(const QString& texto) const;
    QList<QPushButton*> botoesMapa() const { return m_botoes; }

signals:
    /// A map button: the colour map of `quantidade` (a tarvex::results map kind).
    void mapaPedido(std::int32_t quantidade);

private:
    QList<QPushButton*> m_botoes;
};
