#include "phonebook/core/book_merge.h"

#include "phonebook/core/completion_placeholders.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_slots.h"
#include "phonebook/core/match_keys.h"
#include "phonebook/core/merge_plan.h"
#include "phonebook/core/reading_classes.h"

#include <QHash>

#include <cstring>
#include <memory>

namespace {

// Only the "****" the import writes for an entry without a number, in every filled slot.
bool holdsOnlyPlaceholderNumbers(const TelEntry& entry)
{
    const int filled = filledSlots(entry, SlotList::Tel);
    for (int s = 0; s < filled; ++s)
        if (!isCompletionNumber(entry.tel[s].number))
            return false;
    return filled > 0;
}

// Adds the incoming slots whose key the entry lacks into its free slots; the rest are notes.
void mergeSlots(TelEntry& entry, const TelEntry& incoming, SlotList list, MatchClass match,
                int incomingIndex, int bookIndex, std::vector<MergeNote>& notes)
{
    const bool tel = list == SlotList::Tel;
    const int slotCount = tel ? TEL_SLOTS : MAIL_SLOTS;
    auto keyOf = [list](const char* text) { return slotKey(list, fromCp932(text)); };
    packSlots(entry, list);
    for (int s = 0; s < slotCount; ++s) {
        const char* text = slotText(incoming, list, s);
        if (!text[0] || (tel && isCompletionNumber(text)))
            continue;
        const QString key = keyOf(text);
        bool present = false;
        for (int e = 0; e < slotCount && !present; ++e) {
            const char* held = slotText(entry, list, e);
            present = held[0] && keyOf(held) == key;
        }
        if (present)
            continue;
        // A real number takes the place of the placeholders the import wrote.
        if (tel && holdsOnlyPlaceholderNumbers(entry))
            while (filledSlots(entry, list) > 0)
                removeSlotRow(entry, list, 0);
        const int nextSlot = filledSlots(entry, list);
        const QString value = fromCp932(text);
        if (nextSlot < slotCount &&
            storeSlot(entry, list, nextSlot, slotKind(incoming, list, s), value))
            continue;
        notes.push_back({MergeNoteKind::Overflow, match, incomingIndex, bookIndex,
                         QString::fromLatin1(tel ? "number" : "address"), value});
    }
}

void noteConflict(std::vector<MergeNote>& notes, MatchClass match, int incomingIndex, int bookIndex,
                  const char* field, const QString& value)
{
    notes.push_back({MergeNoteKind::Conflict, match, incomingIndex, bookIndex,
                     QString::fromLatin1(field), value});
}

// The two readings are one as the matching compares them: kana type, width and blanks aside.
bool sameReading(const char* a, const char* b)
{
    ReadingClasses readings;
    const int first = readings.add(readingMatchText(fromCp932(a)));
    const int second = readings.add(readingMatchText(fromCp932(b)));
    readings.classify();
    return readings.classOf(first) == readings.classOf(second);
}

// A pair the user took by hand may name someone otherwise or read otherwise: the book entry keeps
// its own, and the incoming name or reading is listed.
void mergeNameAndReading(TelEntry& bookEntry, const TelEntry& incoming, MatchClass match,
                         int incomingIndex, int bookIndex, std::vector<MergeNote>& notes)
{
    const QString name = fromCp932(incoming.name);
    const QString nameKey = nameMatchKey(name);
    if (!nameKey.isEmpty() && nameKey != nameMatchKey(fromCp932(bookEntry.name)))
        noteConflict(notes, match, incomingIndex, bookIndex, "name", name);
    if (!incoming.furigana[0] || isCompletionReading(incoming) ||
        std::strcmp(bookEntry.furigana, incoming.furigana) == 0)
        return;
    if (!bookEntry.furigana[0] || isCompletionReading(bookEntry))
        std::memcpy(bookEntry.furigana, incoming.furigana, sizeof bookEntry.furigana);
    else if (!sameReading(bookEntry.furigana, incoming.furigana))
        noteConflict(notes, match, incomingIndex, bookIndex, "furigana",
                     fromCp932(incoming.furigana));
}

MergeNote entryNote(MergeNoteKind kind, MatchClass match, int incoming, int book,
                    const TelEntry& entry)
{
    MergeNote note{kind, match, incoming, book, {}, {}};
    note.entry = entry;
    return note;
}

} // namespace

bool sameEntry(const TelEntry& a, const TelEntry& b)
{
    return std::memcmp(&a, &b, sizeof(TelEntry)) == 0;
}

void mergeEntryInto(TelEntry& bookEntry, const TelEntry& incoming, MatchClass match,
                    int incomingIndex, int bookIndex, std::vector<MergeNote>& notes)
{
    mergeNameAndReading(bookEntry, incoming, match, incomingIndex, bookIndex, notes);
    mergeSlots(bookEntry, incoming, SlotList::Tel, match, incomingIndex, bookIndex, notes);
    mergeSlots(bookEntry, incoming, SlotList::Mail, match, incomingIndex, bookIndex, notes);
    if (incoming.memo[0] && std::strcmp(bookEntry.memo, incoming.memo) != 0) {
        if (!bookEntry.memo[0])
            std::memcpy(bookEntry.memo, incoming.memo, sizeof bookEntry.memo);
        else
            noteConflict(notes, match, incomingIndex, bookIndex, "memo", fromCp932(incoming.memo));
    }
    if (incoming.group != 0 && incoming.group != bookEntry.group) {
        if (bookEntry.group == 0)
            bookEntry.group = incoming.group;
        else
            noteConflict(notes, match, incomingIndex, bookIndex, "group",
                         QString::number(incoming.group));
    }
    if (incoming.secret != 0 && bookEntry.secret == 0)
        noteConflict(notes, match, incomingIndex, bookIndex, "secret",
                     QString::number(incoming.secret));
}

namespace {

// The incoming entries alone; book entries that no incoming entry repeats go to the notes.
MergeOutcome replaceBook(TelBook& book, std::span<const TelEntry> incoming)
{
    MergeOutcome outcome;
    outcome.matches = matchEntries(std::span<const TelEntry>(book.entries, book.count), incoming);
    for (const EntryMatch& match : outcome.matches)
        ++outcome.classes[static_cast<int>(match.kind)];
    std::vector<bool> kept(book.count, false);
    for (const EntryMatch& match : outcome.matches)
        if (match.kind == MatchClass::Same &&
            sameEntry(book.entries[match.book], incoming[match.incoming]))
            kept[match.book] = true;
    for (std::uint32_t b = 0; b < book.count; ++b)
        if (!kept[b])
            outcome.notes.push_back(entryNote(MergeNoteKind::Replaced, MatchClass::New, -1,
                                              static_cast<int>(b), book.entries[b]));
    outcome.resultCount = static_cast<std::uint32_t>(incoming.size());
    if (incoming.size() > MAX_TEL_ENTRIES) {
        outcome.refused = true;
        return outcome;
    }
    const auto result = std::make_unique<TelBook>();
    clearBook(*result);
    std::copy(incoming.begin(), incoming.end(), result->entries);
    result->count = outcome.resultCount;
    outcome.added = static_cast<int>(incoming.size());
    book = *result;
    return outcome;
}

} // namespace

MergeOutcome mergeIntoBook(TelBook& book, std::span<const TelEntry> incoming, MergeMode mode)
{
    if (mode == MergeMode::Replace)
        return replaceBook(book, incoming);
    // Merging is the preview's plan with the entries the mode takes selected.
    MergePlan plan = planMerge(std::span<const TelEntry>(book.entries, book.count), incoming);
    for (PlannedEntry& planned : plan.entries)
        planned.take = planned.match.kind == MatchClass::New ||
                       (mode == MergeMode::Safe && planned.match.kind == MatchClass::Update);
    return applyMergePlan(book, incoming, plan);
}

QString mergeNoteReason(const MergeNote& note)
{
    static const QHash<QString, QString> fieldTexts{
        {QStringLiteral("number"), QStringLiteral("電話番号")},
        {QStringLiteral("address"), QStringLiteral("メール")},
        {QStringLiteral("name"), QStringLiteral("名前")},
        {QStringLiteral("furigana"), QStringLiteral("フリガナ")},
        {QStringLiteral("memo"), QStringLiteral("メモ")},
        {QStringLiteral("group"), QStringLiteral("グループ")},
        {QStringLiteral("secret"), QStringLiteral("シークレット")},
    };
    const QString format = note.kind == MergeNoteKind::Overflow
                               ? QStringLiteral("%1「%2」は空きがないため入りません")
                               : QStringLiteral("%1「%2」は電話帳の値と食い違うため入りません");
    return format.arg(fieldTexts.value(note.field, note.field), note.value);
}
