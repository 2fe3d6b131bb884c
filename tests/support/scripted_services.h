#pragma once
// Scripted stand-ins for the message boxes and the file dialogs: they record what was shown and
// answer from a queue, so no test ever waits on a modal box.

#include "window_services/file_dialog_service.h"
#include "window_services/message_service.h"

#include <QQueue>
#include <QStringList>

#include <functional>

// The question before a book comes into one with entries, and the answer that replaces the book.
inline const QString INCOMING_QUESTION = QStringLiteral(
    "電話帳にデータがあります。取り込むデータを電話帳にまとめますか、電話帳を置き換えますか？");
inline const QString REPLACE_CHOICE = QStringLiteral("置き換える(&R)");
// Scripted as a choice: the box closed with Esc or its title bar's close button.
inline const QString CLOSED_BOX = QStringLiteral("(Esc)");

class ScriptedMessages final : public MessageService {
public:
    ScriptedMessages() { setMessageService(this); }
    ~ScriptedMessages() override { setMessageService(nullptr); }

    void showMessage(const QString& text, QWidget*) override;
    // Kept in shown, and in informed.
    void showInformation(const QString& text, QWidget* owner) override;
    // Answers from the queue; a question nobody scripted fails the test and is answered No.
    bool askYesNo(const QString& text, QWidget*) override;
    // As askYesNo, and the question is also kept in lossQuestions.
    bool confirmLoss(const QString& text, QWidget* owner) override;
    // Presses the button named by the next of choices, or closes the box for CLOSED_BOX;
    // without a choice, the Yes or No button (はい / いいえ) by the next answer; unscripted, the
    // test fails and the last button is pressed. Kept in questions, its buttons in
    // choiceButtons.
    int askChoice(const QString& text, const QStringList& buttons, int preset, int escape,
                  QWidget* owner) override;

    void answer(bool yes) { answers.enqueue(yes); }

    // Runs while each box is "open", e.g. to spin the event loop as a real modal box does.
    std::function<void(const QString&)> whileShown;

    QStringList shown;         // OK boxes, in order
    QStringList informed;      // those of them with the information icon
    QStringList questions;     // Yes/No boxes, in order
    QStringList lossQuestions; // those of them with No as the default
    QQueue<bool> answers;
    QQueue<QString> choices; // button texts, for askChoice
    QList<QStringList> choiceButtons;
};

class ScriptedFileDialogs final : public FileDialogService {
public:
    ScriptedFileDialogs() { setFileDialogService(this); }
    ~ScriptedFileDialogs() override { setFileDialogService(nullptr); }

    QString openFileName(QWidget*, const QString& filter, const QString& title,
                         const QString& directory) override;
    QString saveFileName(QWidget*, const QString& filter, const QString&,
                         const QString& title) override;

    QQueue<QString> nextFiles; // an empty string stands for Cancel
    int asked = 0;
    QStringList filters;
    QStringList titles;      // of the file-open dialogs
    QStringList saveTitles;  // of the file-save dialogs
    QStringList directories; // they open in (empty: the working directory)
};
