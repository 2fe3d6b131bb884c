#include "window_services/message_service.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

// Captioned with the application name and owned by the active window, as every box of the
// program is.
class MessageBoxService final : public MessageService {
public:
    void showMessage(const QString& text) override
    {
        QMessageBox box(QMessageBox::Warning, caption(), text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }

    bool askYesNo(const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No,
                        QApplication::activeWindow());
        box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
        return box.exec() == QMessageBox::Yes;
    }

private:
    static QString caption() { return QStringLiteral("Vemblor"); }
};

MessageBoxService realBoxes;
MessageService* current = &realBoxes;

} // namespace

MessageService& messages()
{
    return *current;
}

void setMessageService(MessageService* service)
{
    current = service ? service : &realBoxes;
}
