#pragma once

#include "common/prompter.h"

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

/// The production Prompter: modal message boxes over the active window.
class MessageBoxPrompter : public Prompter {
public:
    void warn(const QString& text) override;
    void inform(const QString& text) override;
    Answer askToSave(const QString& documentName) override;
    YesNo ask(const QString& text) override;
};
