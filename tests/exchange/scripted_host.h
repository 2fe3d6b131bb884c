#pragma once
// A file-task host without windows for the tests: a cancel is pending at the polls the test
// names, questions are answered from a queue, and everything shown is recorded.

#include "exchange/core/file_task.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

#include <set>

class ScriptedHost final : public FileTaskHost {
public:
    bool pollCancel() override { return cancelAtPolls.count(polls++) > 0; }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unscripted question: " << text.toStdString();
            return false;
        }
        return answers.takeFirst();
    }
    void showMessage(const QString& text) override { shown << text; }

    std::set<int> cancelAtPolls; // 0-based numbers of the polls that find a cancel request
    QList<bool> answers;         // taken from the front
    int polls = 0;
    QStringList questions;
    QStringList shown;
};
