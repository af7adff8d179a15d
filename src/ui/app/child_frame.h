#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

QT_BEGIN_NAMESPACE
class QMenu;
QT_END_NAMESPACE

/// A document's frame inside the main window's MDI area. Each frame carries its own menus; the
/// main window shows them in its menu bar while the frame is active.
class CChildFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr) : QMainWindow(parent) {}

    virtual QList<QMenu*> menus() const = 0;
    /// Path of the document shown, empty for a new document.
    virtual QString documentPath() const = 0;
};
