#pragma once
// The one door through which every message box of the program passes. The application installs
// the real boxes; tests install a scripted service that records the texts and answers Yes or No.

#include <QString>
#include <QStringList>

class QWidget;

class MessageService {
public:
    virtual ~MessageService() = default;
    // An OK box with the exclamation icon, for a warning or an error. owner is the window the box
    // belongs to; without one the box belongs to the program's active window.
    virtual void showMessage(const QString& text, QWidget* owner = nullptr) = 0;
    // An OK box with the information icon, for a task that ended as the user wanted it to.
    virtual void showInformation(const QString& text, QWidget* owner = nullptr)
    {
        showMessage(text, owner);
    }
    // A Yes/No box with the question icon; true only for Yes.
    virtual bool askYesNo(const QString& text, QWidget* owner = nullptr) = 0;
    // A Yes/No box whose Yes loses data (an erase, a book discarded, changes left unsaved):
    // No is the default button, so Enter keeps the data. True only for Yes.
    virtual bool confirmLoss(const QString& text, QWidget* owner = nullptr) = 0;
    // A question with the given buttons (texts with their access keys), the one at preset being
    // the default (Enter); the index of the button pressed, or escape when the box was closed
    // with Esc or its title bar's close button.
    virtual int askChoice(const QString& text, const QStringList& buttons, int preset, int escape,
                          QWidget* owner = nullptr) = 0;
};

// The service in use; the real message boxes unless another was installed.
MessageService& messages();
// Installs service (not owned) in place of the current one; nullptr restores the real boxes.
void setMessageService(MessageService* service);

// Shorthands for the fixed UTF-8 texts of the program.
inline void showMessage(const char* utf8)
{
    messages().showMessage(QString::fromUtf8(utf8));
}
inline bool askYesNo(const char* utf8)
{
    return messages().askYesNo(QString::fromUtf8(utf8));
}
inline bool confirmLoss(const char* utf8)
{
    return messages().confirmLoss(QString::fromUtf8(utf8));
}
