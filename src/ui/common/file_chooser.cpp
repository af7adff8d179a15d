#include "common/file_chooser.h"

#include <QFileDialog>

namespace {

QString runDialog(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString DialogFileChooser::openFile(
    QWidget* parent, const QString& filter, const QString& defaultSuffix, bool mustExist)
{
    QFileDialog dialog(parent, QStringLiteral("Abrir"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    return runDialog(dialog);
}

QString DialogFileChooser::saveFile(QWidget* parent, const QString& filter,
    const QString& defaultSuffix, const QString& proposedPath)
{
    QFileDialog dialog(parent, QStringLiteral("Gravar Como"), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposedPath.isEmpty())
        dialog.selectFile(proposedPath);
    return runDialog(dialog);
}
