#pragma once

#include <QImage>
#include <QWidget>

/// Shows a typical arrangement's picture stretched over the whole pane.
class CTrafoView : public QWidget {
    Q_OBJECT
public:
    explicit CTrafoView(QImage figura, QWidget* parent = nullptr);

    const QImage& figura() const { return m_figura; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_figura;
};
