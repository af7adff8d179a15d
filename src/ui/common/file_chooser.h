#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

/// Every file dialog of the program goes through this interface, so that tests can choose the
/// files. Filters use Qt's syntax ("Description (*.a *.b);;Other (*.c)"); the default suffix is
/// given without its dot. An empty result means the user cancelled.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString openFile(
        QWidget* parent, const QString& filter, const QString& defaultSuffix, bool mustExist)
        = 0;
    virtual QString saveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
        const QString& proposedPath)
        = 0;
};

/// The production FileChooser: modal QFileDialog instances.
class DialogFileChooser : public FileChooser {
public:
    QString openFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
        bool mustExist) override;
    QString saveFile(QWidget* parent, const QString& filter, const QString& defaultSuffix,
        const QString& proposedPath) override;
};
