#pragma once

#include <QWidget>

/// The picture of a typical arrangement beside its form: the generator's own cross-section at
/// the form's initial dimensions, with the dimension letters, fitted to the pane.
class CTrafoView : public QWidget {
    Q_OBJECT
public:
    /// `tipoArranjo` 0 to 3 selects arrangement 1 to 4.
    explicit CTrafoView(int tipoArranjo, QWidget* parent = nullptr);

    int tipoArranjo() const { return m_tipoArranjo; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_tipoArranjo;
};
