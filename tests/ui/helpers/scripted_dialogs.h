#pragma once

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

/**
 * Answers the modal dialogs a view opens, from a script: each dialog shown takes the next step
 * (a function that acts on it and returns its result); with no step left it is rejected. The
 * title of every dialog shown is kept, in order.
 */
struct ScriptedDialogs {
    using Step = std::function<int(QDialog&)>;

    std::deque<Step> steps;
    QStringList titles;

    int run(QDialog& dialog)
    {
        titles << dialog.windowTitle();
        if (steps.empty())
            return QDialog::Rejected;
        const Step step = steps.front();
        steps.pop_front();
        return step(dialog);
    }

    void clear()
    {
        steps.clear();
        titles.clear();
    }
};
