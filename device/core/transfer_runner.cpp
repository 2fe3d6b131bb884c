#include "device/core/transfer_runner.h"

TransferRunner::TransferRunner(OperationCode operation, bool answerYes, TransferOptions options,
                               const TelBook* bookToWrite)
    : answerYes_(answerYes), driver_(operation, options, *this, bookToWrite)
{
}

bool TransferRunner::run(const QString& device, int tickIntervalMs)
{
    if (!driver_.openPort(device))
        return false;
    driver_.runOpened(tickIntervalMs);
    return true;
}

bool TransferRunner::succeeded() const
{
    return outcome() == TransferOutcome::Copied || outcome() == TransferOutcome::Verified;
}

void TransferRunner::showMessage(const QString& text)
{
    messages_ << text;
    if (onMessage)
        onMessage(text);
}

bool TransferRunner::askYesNo(const QString& text)
{
    questions_ << text;
    if (onMessage)
        onMessage(text);
    return answerYes_;
}

void TransferRunner::showProgress(const QString& text)
{
    progress_.append({ticks(), text});
}

void TransferRunner::showBackupSaved(const QString& path)
{
    if (onBackupSaved)
        onBackupSaved(path);
}
