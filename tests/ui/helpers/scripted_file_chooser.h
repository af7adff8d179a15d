#pragma once

#include "common/file_chooser.h"

#include <QStringList>
#include <deque>
#include <vector>

/// Answers file dialogs from a preset queue (an empty answer, i.e. Cancel, when it runs dry) and
/// records how each dialog was asked for.
class ScriptedFileChooser : public FileChooser {
public:
    struct Request {
        bool save = false;
        QString filter;
        QString defaultSuffix;
        bool mustExist = false;
        QString proposedPath;
    };

    QString openFile(
        QWidget*, const QString& filter, const QString& defaultSuffix, bool mustExist) override
    {
        requests.push_back({ false, filter, defaultSuffix, mustExist, {} });
        return next();
    }
    QString saveFile(QWidget*, const QString& filter, const QString& defaultSuffix,
        const QString& proposedPath) override
    {
        requests.push_back({ true, filter, defaultSuffix, false, proposedPath });
        return next();
    }

    std::deque<QString> answers;
    std::vector<Request> requests;

private:
    QString next()
    {
        if (answers.empty())
            return {};
        const QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
