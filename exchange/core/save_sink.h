#pragma once
// Where a save puts its bytes. The new file is written beside the target and takes its place
// only when it is complete, so a save that is stopped or fails leaves the old file as it was.

#include <QByteArrayView>
#include <QSaveFile>

class SaveSink {
public:
    virtual ~SaveSink() = default;
    // Starts the new file; false when it cannot be created.
    virtual bool open() = 0;
    // Appends bytes; false when they could not all be written (see lastError).
    virtual bool write(QByteArrayView bytes) = 0;
    // Completes the new file and puts it in place of the target; false on failure.
    virtual bool commit() = 0;
    // Drops the new file; the target is not touched.
    virtual void discard() = 0;
    // The system error number (errno) of the last failed open, write or commit; 0 when unknown.
    virtual int lastError() const = 0;
};

// A file on disk, replaced atomically.
class SaveFileSink final : public SaveSink {
public:
    explicit SaveFileSink(const QString& path) : file_(path) {}
    bool open() override;
    bool write(QByteArrayView bytes) override;
    bool commit() override;
    void discard() override;
    int lastError() const override { return lastError_; }

private:
    QSaveFile file_;
    int lastError_ = 0;
};

// The message (UTF-8) that tells the user why a write failed, by its system error number.
const char* saveErrorMessage(int errorNumber);
// True when saveErrorMessage names a reason for errorNumber rather than "その他のエラー…".
bool saveErrorHasReason(int errorNumber);
