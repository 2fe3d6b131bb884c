#include "phonebook/core/merge_plan.h"

#include "phonebook/core/completion_placeholders.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_slots.h"

#include <QStringList>

#include <cstring>
#include <memory>

namespace {

bool preselected(MatchClass kind)
{
    return kind == MatchClass::Update || kind == MatchClass::New;
}

// Adds the entry as one of its own; counts past the capacity so that the caller can say by how
// much the book would overflow.
void addEntry(TelBook& book, const TelEntry& entry)
{
    if (book.count < MAX_TEL_ENTRIES)
        book.entries[book.count] = entry;
    ++book.count;
}

// The numbers (or addresses) of an entry as shown, and their match keys.
struct SlotTexts {
    QStringList shown;
    QStringList keys;
};

SlotTexts slotTexts(const TelEntry& entry, bool numbers)
{
    SlotTexts texts;
    for (int s = 0; s < (numbers ? TEL_SLOTS : MAIL_SLOTS); ++s) {
        const char* text = numbers ? entry.tel[s].number : entry.mail[s].address;
        if (!text[0] || (numbers && isCompletionNumber(text)))
            continue;
        const QString shown = fromCp932(text);
        texts.shown << shown;
        texts.keys << slotKey(numbers ? SlotList::Tel : SlotList::Mail, shown);
    }
    return texts;
}

void addSlotDifference(std::vector<FieldDifference>& out, const char* field, const TelEntry& book,
                       const TelEntry& incoming, bool numbers)
{
    const SlotTexts had = slotTexts(book, numbers);
    const SlotTexts comes = slotTexts(incoming, numbers);
    for (const QString& key : comes.keys) {
        if (!had.keys.contains(key)) {
            const QString separator = QStringLiteral(", ");
            out.push_back(
                {QString::fromUtf8(field), had.shown.join(separator), comes.shown.join(separator)});
            return;
        }
    }
}

void addTextDifference(std::vector<FieldDifference>& out, const char* field, const char* book,
                       const char* incoming)
{
    if (incoming[0] && std::strcmp(book, incoming) != 0)
        out.push_back({QString::fromUtf8(field), fromCp932(book), fromCp932(incoming)});
}

void addNumberDifference(std::vector<FieldDifference>& out, const char* field, int book,
                         int incoming)
{
    if (incoming != 0 && incoming != book)
        out.push_back({QString::fromUtf8(field), QString::number(book), QString::number(incoming)});
}

} // namespace

MergePlan planMerge(std::span<const TelEntry> book, std::span<const TelEntry> incoming)
{
    MergePlan plan;
    std::vector<bool> paired(book.size(), false);
    for (const EntryMatch& match : matchEntries(book, incoming)) {
        plan.entries.push_back({match, preselected(match.kind), MergeChoice::Merge});
        if (match.book >= 0)
            paired[match.book] = true;
    }
    for (int b = 0; b < static_cast<int>(book.size()); ++b)
        if (!paired[b])
            plan.bookOnly.push_back(b);
    return plan;
}

MergeOutcome applyMergePlan(TelBook& book, std::span<const TelEntry> incoming,
                            const MergePlan& plan)
{
    MergeOutcome outcome;
    const auto result = std::make_unique<TelBook>(book);
    for (const PlannedEntry& planned : plan.entries) {
        const EntryMatch& match = planned.match;
        outcome.matches.push_back(match);
        ++outcome.classes[static_cast<int>(match.kind)];
        const TelEntry& entry = incoming[match.incoming];
        const bool taken = planned.take && planned.choice != MergeChoice::Skip;
        if (!taken) {
            if (match.kind != MatchClass::Same)
                outcome.notes.push_back({MergeNoteKind::LeftOut,
                                         match.kind,
                                         match.incoming,
                                         match.book,
                                         {},
                                         {},
                                         entry});
        } else if (planned.choice == MergeChoice::AddAsNew || match.book < 0) {
            addEntry(*result, entry);
            ++outcome.added;
        } else if (match.kind != MatchClass::Same) {
            TelEntry& target = result->entries[match.book];
            const TelEntry before = target;
            mergeEntryInto(target, entry, match.kind, match.incoming, match.book, outcome.notes);
            outcome.updated += sameEntry(before, target) ? 0 : 1;
        }
    }
    outcome.resultCount = result->count;
    outcome.refused = result->count > MAX_TEL_ENTRIES;
    if (!outcome.refused)
        book = *result;
    return outcome;
}

std::vector<FieldDifference> fieldDifferences(const TelEntry& book, const TelEntry& incoming)
{
    std::vector<FieldDifference> out;
    addTextDifference(out, "名前", book.name, incoming.name);
    if (!isCompletionReading(incoming))
        addTextDifference(out, "フリガナ", book.furigana, incoming.furigana);
    addSlotDifference(out, "電話番号", book, incoming, true);
    addSlotDifference(out, "メール", book, incoming, false);
    addNumberDifference(out, "グループ", book.group, incoming.group);
    addNumberDifference(out, "シークレット", book.secret, incoming.secret);
    addTextDifference(out, "メモ", book.memo, incoming.memo);
    return out;
}

QString overCapacityMessage(std::uint32_t count)
{
    return QStringLiteral("まとめると%1件になり、%2件を超えます").arg(count).arg(MAX_TEL_ENTRIES);
}
