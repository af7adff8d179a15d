#pragma once

#include <QDialog>

/// The about box: program title, version and rights.
class CDlgSobre : public QDialog {
    Q_OBJECT
public:
    explicit CDlgSobre(QWidget* parent = nullptr);
};
