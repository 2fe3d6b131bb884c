#pragma once
// The handset side of the link, without any I/O: fed the bytes the PC sends, it answers as one
// of the maker's handsets would (identity, book information, erase, acknowledged entry frames,
// records on request with the last-record flag, "+++"). It can be told to fail at a chosen
// command, to fall silent from one on, or to cut the line at one. Tests, the demo and vemblor-cli
// emulate use it.

#include "phonebook/core/tel_book.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <map>
#include <optional>
#include <vector>

// The commands a handset answers, one step of the transfer each.
enum class HandsetStep {
    None,
    Attention,  // "AT"
    Identify,   // "ATI3"
    EnterData,  // "AT@S"
    QueryBook,  // "<1F>"
    Erase,      // "<3:1H>"
    WriteEntry, // an entry frame
    ReadEntry,  // "<2:1H>"
    LeaveData,  // "+++"
};

// The occurrence-th command (from 1) of step.
struct HandsetFault {
    HandsetStep step = HandsetStep::None;
    int occurrence = 1;
};

struct HandsetOptions {
    QByteArray model = "VN650R";
    HandsetFault failAt;     // this command gets an error reply
    HandsetFault silentFrom; // from this command on nothing is answered
    HandsetFault hangUpAt;   // this command is not answered and the line is cut
    int corruptEntry = 0; // from 1: the entry of a write stored with one byte of its name changed
    // The count field of the book information as sent ("0", "" ...); by default the number of
    // entries held.
    std::optional<QByteArray> reportedCount;
    // From 1: the record of this entry carries the last-record flag, ending a read early.
    int lastRecordAt = 0;
    // On a pseudo-terminal: each line of a reply is sent this many milliseconds after the one
    // before it (or after the command), so that "QVR ..." and its "OK" arrive apart.
    int lineGapMs = 0;
};

// "identify", "write-entry:3" and so on; nothing for an unknown name.
std::optional<HandsetFault> parseHandsetFault(const QString& text);
QString handsetStepNames();

class SimulatedHandset {
public:
    explicit SimulatedHandset(HandsetOptions options = {});

    // Takes bytes from the PC and returns the handset's answer (empty while a command is still
    // incomplete, or when silent).
    QByteArray receive(QByteArrayView bytes);

    std::vector<TelEntry>& entries() { return entries_; }
    const std::vector<TelEntry>& entries() const { return entries_; }
    // The handset's phone book replaced by the entries of book.
    void holdBook(const TelBook& book);
    // book cleared and filled with the handset's entries (the first MAX_TEL_ENTRIES of them).
    void copyBook(TelBook& book) const;
    // Every command received, in order, without its line end.
    const QList<QByteArray>& commands() const { return commands_; }
    bool inDataMode() const { return dataMode_; }
    // The line was cut (hangUpAt): whoever carries it must close it.
    bool hungUp() const { return hungUp_; }

private:
    QByteArray answer(const QByteArray& command);
    HandsetStep stepOf(const QByteArray& command) const;
    QByteArray bookInfo() const;
    QByteArray storeFrame(const QByteArray& command);
    QByteArray nextRecord();

    HandsetOptions options_;
    std::vector<TelEntry> entries_;
    QByteArray pending_;
    QList<QByteArray> commands_;
    std::map<HandsetStep, int> seen_;
    bool dataMode_ = false;
    bool silent_ = false;
    bool hungUp_ = false;
    // The entry being written, and the entry being served to a read with its progress.
    TelEntry incoming_{};
    std::uint8_t incomingTelSlot_ = 0;
    std::uint8_t incomingMailSlot_ = 0;
    int storedSinceErase_ = 0;
    std::size_t served_ = 0;
    unsigned servedParts_ = 0;
};
