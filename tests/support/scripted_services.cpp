#include "tests/support/scripted_services.h"

#include <gtest/gtest.h>

void ScriptedMessages::showMessage(const QString& text, QWidget*)
{
    shown << text;
    if (whileShown)
        whileShown(text);
}

void ScriptedMessages::showInformation(const QString& text, QWidget* owner)
{
    informed << text;
    showMessage(text, owner);
}

bool ScriptedMessages::askYesNo(const QString& text, QWidget*)
{
    questions << text;
    if (whileShown)
        whileShown(text);
    if (answers.isEmpty()) {
        ADD_FAILURE() << "unscripted question: " << text.toStdString();
        return false;
    }
    return answers.dequeue();
}

bool ScriptedMessages::confirmLoss(const QString& text, QWidget* owner)
{
    lossQuestions << text;
    return askYesNo(text, owner);
}

int ScriptedMessages::askChoice(const QString& text, const QStringList& buttons, int, int escape,
                                QWidget*)
{
    questions << text;
    choiceButtons << buttons;
    if (whileShown)
        whileShown(text);
    QString pressed;
    if (!choices.isEmpty())
        pressed = choices.dequeue();
    else if (!answers.isEmpty())
        pressed = answers.dequeue() ? QStringLiteral("はい(&Y)") : QStringLiteral("いいえ(&N)");
    if (pressed == CLOSED_BOX)
        return escape;
    const qsizetype index = buttons.indexOf(pressed);
    if (index < 0) {
        // The last button is the one that does nothing (キャンセル, いいえ): a test that did
        // not expect the question goes on instead of opening what the question leads to.
        ADD_FAILURE() << "unscripted choice: " << text.toStdString();
        return static_cast<int>(buttons.size()) - 1;
    }
    return static_cast<int>(index);
}

static QString nextFile(ScriptedFileDialogs& dialogs, const QString& filter)
{
    ++dialogs.asked;
    dialogs.filters << filter;
    if (dialogs.nextFiles.isEmpty()) {
        ADD_FAILURE() << "unscripted file dialog";
        return {};
    }
    return dialogs.nextFiles.dequeue();
}

QString ScriptedFileDialogs::openFileName(QWidget*, const QString& filter, const QString& title,
                                          const QString& directory)
{
    titles << title;
    directories << directory;
    return nextFile(*this, filter);
}

QString ScriptedFileDialogs::saveFileName(QWidget*, const QString& filter, const QString&,
                                          const QString& title)
{
    saveTitles << title;
    return nextFile(*this, filter);
}
