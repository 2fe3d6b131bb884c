#pragma once
// A file task host for tests: requests a cancel at chosen polls, answers the task's questions
// from a queue and records what the task showed and asked.

#include "exchange/core/file_task.h"

#include <QQueue>
#include <QSet>
#include <QStringList>

class ScriptedTaskHost final : public FileTaskHost {
  public:
    bool pollCancel() override { return cancelAtPolls.contains(++polls); }
    bool askYesNo(const QString& text) override {
        questions << text;
        return !answers.isEmpty() && answers.dequeue();
    }
    void showMessage(const QString& text) override { shown << text; }

    int polls = 0;
    QSet<int> cancelAtPolls; // 1-based numbers of the polls that report a cancel
    QQueue<bool> answers;    // an unscripted question is answered No
    QStringList questions;
    QStringList shown;
};
