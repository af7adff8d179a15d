#include "common/message_box_prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString captionText()
{
    return QStringLiteral("Tarvex");
}

} // namespace

void MessageBoxPrompter::warn(const QString& text)
{
    QMessageBox::warning(QApplication::activeWindow(), captionText(), text);
}

void MessageBoxPrompter::inform(const QString& text)
{
    QMessageBox::information(QApplication::activeWindow(), captionText(), text);
}

Prompter::Answer MessageBoxPrompter::askToSave(const QString& documentName)
{
    const auto button = QMessageBox::question(QApplication::activeWindow(), captionText(),
        QStringLiteral("Gravar as alterações em %1 ?").arg(documentName),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    switch (button) {
    case QMessageBox::Save:
        return Answer::Save;
    case QMessageBox::Discard:
        return Answer::Discard;
    default:
        return Answer::Cancel;
    }
}

Prompter::YesNo MessageBoxPrompter::ask(const QString& text)
{
    const auto button = QMessageBox::question(QApplication::activeWindow(), captionText(), text,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? YesNo::Yes : YesNo::No;
}
