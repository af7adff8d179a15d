#pragma once

#include <QString>

/// Every message box and question of the program goes through this interface, so that tests can
/// answer them. Windows receive a Prompter& in their constructor; nothing reaches a global.
class Prompter {
public:
    enum class Answer { Save, Discard, Cancel };
    enum class YesNo { Yes, No };

    virtual ~Prompter() = default;
    /// A modal message with an OK button (warnings, refusals, errors).
    virtual void warn(const QString& text) = 0;
    /// A modal information message with an OK button.
    virtual void inform(const QString& text) { warn(text); }
    /// "Save the changes to <documentName>?" with Save / Discard / Cancel.
    virtual Answer askToSave(const QString& documentName) = 0;
    /// A yes/no question with the system's own text.
    virtual YesNo ask(const QString& text) = 0;
};
