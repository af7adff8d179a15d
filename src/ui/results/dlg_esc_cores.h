#pragma once

#include <QDialog>
#include <QList>

QT_BEGIN_NAMESPACE
class QPushButton;
QT_END_NAMESPACE

class CMeshView;

/**
 * The colour-scale strip: one row of the six map buttons and "OK". Each button draws its map on
 * the view (with the map command's checks) while the strip stays open; "OK" closes it.
 */
class CDlgEscCores : public QDialog {
    Q_OBJECT
public:
    explicit CDlgEscCores(CMeshView& view, QWidget* parent = nullptr);

    /// The button with this text, or null.
    QPushButton* botao(const QString& texto) const;
    QList<QPushButton*> botoesMapa() const { return m_botoes; }

private:
    CMeshView& m_view;
    QList<QPushButton*> m_botoes;
};
