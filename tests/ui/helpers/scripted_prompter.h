#pragma once

#include "common/prompter.h"

#include <QStringList>
#include <deque>

/// Records every message and question, and answers from preset queues (Cancel / No when a queue
/// runs dry, so a forgotten answer never discards work silently).
class ScriptedPrompter : public Prompter {
public:
    void warn(const QString& text) override { warnings << text; }
    void inform(const QString& text) override { informations << text; }
    Answer askToSave(const QString& documentName) override
    {
        saveQuestions << documentName;
        if (saveAnswers.empty())
            return Answer::Cancel;
        const Answer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    YesNo ask(const QString& text) override
    {
        questions << text;
        if (yesNoAnswers.empty())
            return YesNo::No;
        const YesNo answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }

    QStringList warnings;
    QStringList informations;
    QStringList saveQuestions;
    QStringList questions;
    std::deque<Answer> saveAnswers;
    std::deque<YesNo> yesNoAnswers;
};
