#include "phonebook/core/sync_result.h"

#include "phonebook/core/sync_fields.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>
#include <numeric>

namespace {

// The entries a person becomes: one, or two when a conflict keeps both values (the PC's first).
std::vector<TelEntry> entriesOf(const SyncPlan& plan, int person,
                                const std::vector<ConflictChoice>& choices)
{
    const SyncPerson& p = plan.people[person];
    TelEntry chosen = p.merged;
    TelEntry handsetCopy = p.merged;
    bool both = false;
    for (std::size_t c = 0; c < plan.conflicts.size(); ++c) {
        const SyncConflict& conflict = plan.conflicts[c];
        if (conflict.person != person)
            continue;
        const ConflictChoice choice = c < choices.size() ? choices[c] : ConflictChoice::Pc;
        if (choice == ConflictChoice::Handset)
            copyField(chosen, p.handsetSide, conflict.field);
        if (choice != ConflictChoice::Pc)
            copyField(handsetCopy, p.handsetSide, conflict.field);
        both = both || choice == ConflictChoice::Both;
    }
    if (both)
        return {chosen, handsetCopy};
    return {chosen};
}

// The people in the order of one side: those it held in its order, then the rest in the order of
// the other side.
std::vector<int> orderFor(const SyncPlan& plan, int SyncPerson::*side, int SyncPerson::*other)
{
    std::vector<int> order(plan.people.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const SyncPerson& pa = plan.people[a];
        const SyncPerson& pb = plan.people[b];
        const bool heldA = pa.*side >= 0;
        const bool heldB = pb.*side >= 0;
        if (heldA != heldB)
            return heldA;
        return heldA ? pa.*side < pb.*side : pa.*other < pb.*other;
    });
    return order;
}

// The book of one side with what changes in it against before (compared through compareForm).
template <typename CompareForm>
void buildSide(const SyncPlan& plan, const std::vector<std::vector<TelEntry>>& entries,
               int SyncPerson::*side, int SyncPerson::*other, std::span<const TelEntry> before,
               CompareForm compareForm, std::vector<TelEntry>& book,
               std::vector<SyncChange>& changes)
{
    std::vector<bool> kept(before.size(), false);
    for (const int person : orderFor(plan, side, other)) {
        const int at = plan.people[person].*side;
        const std::vector<TelEntry>& list = entries[person];
        for (std::size_t i = 0; i < list.size(); ++i) {
            book.push_back(list[i]);
            if (at < 0 || i > 0) {
                changes.push_back({SyncChange::Kind::Added, list[i], {}});
                continue;
            }
            kept[at] = true;
            std::vector<SyncField> fields = differentFields(compareForm(list[i]), before[at]);
            if (!fields.empty())
                changes.push_back({SyncChange::Kind::Changed, list[i], std::move(fields)});
        }
    }
    for (std::size_t i = 0; i < before.size(); ++i)
        if (!kept[i])
            changes.push_back({SyncChange::Kind::Deleted, before[i], {}});
}

} // namespace

SyncResult resolveSync(const SyncPlan& plan, std::span<const TelEntry> handset,
                       std::span<const TelEntry> pc, const std::vector<ConflictChoice>& choices,
                       const StoredFormOf& storedForm)
{
    SyncResult result;
    std::vector<std::vector<TelEntry>> entries;
    entries.reserve(plan.people.size());
    for (int person = 0; person < static_cast<int>(plan.people.size()); ++person)
        entries.push_back(entriesOf(plan, person, choices));
    buildSide(plan, entries, &SyncPerson::handset, &SyncPerson::pc, handset, storedForm,
              result.handsetBook, result.toHandset);
    buildSide(
        plan, entries, &SyncPerson::pc, &SyncPerson::handset, pc,
        [](const TelEntry& entry) { return entry; }, result.pcBook, result.toPc);
    result.tooMany = std::max(result.handsetBook.size(), result.pcBook.size()) > MAX_TEL_ENTRIES;
    return result;
}

std::vector<ConflictChoice> sameChoiceForAll(const SyncPlan& plan, ConflictChoice choice)
{
    return std::vector<ConflictChoice>(plan.conflicts.size(), choice);
}
