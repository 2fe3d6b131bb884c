#include "device/emulator/simulated_handset.h"

#include "device/core/device_record.h"

#include <array>
#include <cstring>
#include <utility>

namespace {

const QByteArray LINE_END("\r\n");
const QByteArray ESCAPE("+++");

constexpr std::array<std::pair<HandsetStep, const char*>, 8> STEP_NAMES = {{
    {HandsetStep::Attention, "attention"},
    {HandsetStep::Identify, "identify"},
    {HandsetStep::EnterData, "enter-data"},
    {HandsetStep::QueryBook, "query-book"},
    {HandsetStep::Erase, "erase"},
    {HandsetStep::WriteEntry, "write-entry"},
    {HandsetStep::ReadEntry, "read-entry"},
    {HandsetStep::LeaveData, "leave-data"},
}};

QByteArray failureReply(HandsetStep step)
{
    switch (step) {
    case HandsetStep::Identify:
        return "XYZ MODEM\r\nOK\r\n";
    case HandsetStep::QueryBook:
    case HandsetStep::Erase:
    case HandsetStep::WriteEntry:
    case HandsetStep::ReadEntry:
        return "<1b>\r\n";
    default:
        return "ERROR\r\n";
    }
}

bool reached(const HandsetFault& fault, HandsetStep step, int occurrence)
{
    return fault.step == step && occurrence >= fault.occurrence;
}

// One byte of the name changed (its last; the first character of an empty name), so that the
// check after a write has something to find.
void corruptName(TelEntry& entry)
{
    const std::size_t length = std::strlen(entry.name);
    if (length == 0)
        entry.name[0] = '?';
    else
        entry.name[length - 1] ^= 0x01;
}

} // namespace

std::optional<HandsetFault> parseHandsetFault(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() > 2)
        return std::nullopt;
    HandsetFault fault;
    if (parts.size() == 2) {
        bool ok = false;
        fault.occurrence = parts[1].toInt(&ok);
        if (!ok || fault.occurrence < 1)
            return std::nullopt;
    }
    for (auto [step, name] : STEP_NAMES)
        if (parts[0] == QLatin1String(name)) {
            fault.step = step;
            return fault;
        }
    return std::nullopt;
}

QString handsetStepNames()
{
    QStringList names;
    for (auto [step, name] : STEP_NAMES)
        names << QLatin1String(name);
    return names.join(QLatin1String(", "));
}

SimulatedHandset::SimulatedHandset(HandsetOptions options) : options_(std::move(options)) {}

void SimulatedHandset::holdBook(const TelBook& book)
{
    entries_.assign(book.entries, book.entries + book.count);
}

void SimulatedHandset::copyBook(TelBook& book) const
{
    clearBook(book);
    for (const TelEntry& entry : entries_) {
        if (book.count == MAX_TEL_ENTRIES)
            break;
        book.entries[book.count++] = entry;
    }
}

QByteArray SimulatedHandset::receive(QByteArrayView bytes)
{
    pending_.append(bytes);
    QByteArray reply;
    for (;;) {
        // The line end of the previous command may trail behind it.
        while (pending_.startsWith('\n') || pending_.startsWith('\r'))
            pending_.remove(0, 1);
        QByteArray command;
        if (pending_.startsWith(ESCAPE)) {
            command = ESCAPE;
            pending_.remove(0, ESCAPE.size());
        } else {
            const qsizetype end = pending_.indexOf('\r');
            if (end < 0)
                break;
            command = pending_.left(end);
            pending_.remove(0, end + 1);
        }
        commands_.append(command);
        reply += answer(command);
    }
    return reply;
}

HandsetStep SimulatedHandset::stepOf(const QByteArray& command) const
{
    if (command == ESCAPE)
        return HandsetStep::LeaveData;
    if (!dataMode_) {
        if (command == "AT")
            return HandsetStep::Attention;
        if (command == "ATI3")
            return HandsetStep::Identify;
        if (command == "AT@S")
            return HandsetStep::EnterData;
        return HandsetStep::None;
    }
    if (command == "<1F>")
        return HandsetStep::QueryBook;
    if (command == "<3:1H>")
        return HandsetStep::Erase;
    if (command == "<2:1H>")
        return HandsetStep::ReadEntry;
    if (command.startsWith("<1:1:"))
        return HandsetStep::WriteEntry;
    return HandsetStep::None;
}

QByteArray SimulatedHandset::answer(const QByteArray& command)
{
    const HandsetStep step = stepOf(command);
    const int occurrence = ++seen_[step];
    if (reached(options_.silentFrom, step, occurrence))
        silent_ = true;
    if (reached(options_.hangUpAt, step, occurrence))
        hungUp_ = true;
    if (silent_ || hungUp_)
        return {};
    if (step != HandsetStep::None && options_.failAt.step == step &&
        occurrence == options_.failAt.occurrence)
        return failureReply(step);

    switch (step) {
    case HandsetStep::None:
        return "ERROR\r\n";
    case HandsetStep::Attention:
        return "OK\r\n";
    case HandsetStep::Identify:
        return "QVR " + options_.model + "\r\nOK\r\n";
    case HandsetStep::EnterData:
        dataMode_ = true;
        return "OK\r\n";
    case HandsetStep::QueryBook:
        return bookInfo();
    case HandsetStep::Erase:
        entries_.clear();
        storedSinceErase_ = 0;
        incoming_ = TelEntry{};
        incomingTelSlot_ = incomingMailSlot_ = 0;
        return "<2h>\r\n";
    case HandsetStep::WriteEntry:
        return storeFrame(command);
    case HandsetStep::ReadEntry:
        return nextRecord();
    case HandsetStep::LeaveData:
        dataMode_ = false;
        served_ = 0;
        servedParts_ = 0;
        return "OK\r\n";
    }
    return {};
}

QByteArray SimulatedHandset::bookInfo() const
{
    const QByteArray count = options_.reportedCount.value_or(
        QByteArray::number(static_cast<qulonglong>(entries_.size())));
    QByteArray reply = "<1:1:" + count + "/1000:00:";
    for (char c : options_.model)
        reply += QByteArray::number(static_cast<unsigned char>(c)).rightJustified(3, '0');
    return reply + "f>" + LINE_END;
}

QByteArray SimulatedHandset::storeFrame(const QByteArray& command)
{
    DeviceRecord record;
    if (!parseRecordReply(command, record))
        return "<0b>\r\n";
    RecordSlots filled{incomingTelSlot_, incomingMailSlot_};
    const RecordFlags flags = decodeEntryRecord(record, incoming_, filled);
    incomingTelSlot_ = filled.telSlot;
    incomingMailSlot_ = filled.mailSlot;
    if (!flags.continued) {
        if (++storedSinceErase_ == options_.corruptEntry)
            corruptName(incoming_);
        entries_.push_back(incoming_);
        incoming_ = TelEntry{};
        incomingTelSlot_ = incomingMailSlot_ = 0;
    }
    return "<2h>\r\n";
}

QByteArray SimulatedHandset::nextRecord()
{
    if (served_ >= entries_.size())
        return "<1b>\r\n";
    SentParts parts(servedParts_);
    DeviceRecord record =
        encodeEntryRecord(entries_[served_], static_cast<int>(served_), "", parts);
    servedParts_ = static_cast<unsigned>(parts.to_ulong());
    if (parts.all()) {
        ++served_;
        servedParts_ = 0;
        if (served_ == entries_.size() ||
            served_ == static_cast<std::size_t>(options_.lastRecordAt))
            record.bytes[RECORD_FLAGS_OFFSET] |= RECORD_LAST;
    }
    return entryFrame(record);
}
