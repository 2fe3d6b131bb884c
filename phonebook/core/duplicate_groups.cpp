#include "phonebook/core/duplicate_groups.h"

#include <algorithm>
#include <map>
#include <memory>
#include <numeric>

namespace {

int rootOf(std::vector<int>& parent, int entry)
{
    while (parent[entry] != entry)
        entry = parent[entry] = parent[parent[entry]];
    return entry;
}

} // namespace

std::vector<DuplicateGroup> findDuplicateGroups(std::span<const TelEntry> book)
{
    const std::vector<EntryPair> pairs = matchingPairs(book);
    std::map<std::pair<int, int>, MatchClass> directKinds;
    for (const EntryPair& pair : pairs)
        directKinds.emplace(std::pair{pair.first, pair.second}, pair.kind);
    std::vector<int> parent(book.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (const EntryPair& pair : pairs) {
        const int a = rootOf(parent, pair.first);
        const int b = rootOf(parent, pair.second);
        if (a != b)
            parent[std::max(a, b)] = std::min(a, b); // the earliest entry stays the root
    }
    std::vector<DuplicateGroup> groups;
    std::vector<int> groupOf(book.size(), -1);
    for (int e = 0; e < static_cast<int>(book.size()); ++e) {
        const int root = rootOf(parent, e);
        if (root == e)
            continue;
        if (groupOf[root] < 0) {
            groupOf[root] = static_cast<int>(groups.size());
            groups.push_back({root, {}});
        }
        const auto direct = directKinds.find({root, e});
        const MatchClass kind =
            direct == directKinds.end() ? MatchClass::MaybeSame : direct->second;
        const bool take = kind == MatchClass::Same || kind == MatchClass::Update;
        groups[groupOf[root]].others.push_back({e, kind, take});
    }
    return groups;
}

DuplicateOutcome mergeDuplicateGroups(TelBook& book, const std::vector<DuplicateGroup>& groups)
{
    DuplicateOutcome outcome;
    const auto result = std::make_unique<TelBook>(book);
    std::vector<bool> removed(book.count, false);
    for (const DuplicateGroup& group : groups) {
        TelEntry& first = result->entries[group.first];
        for (const DuplicateMember& member : group.others) {
            if (!member.take)
                continue;
            // Tried on a copy: the member goes only when all of it fits into the first entry.
            TelEntry merged = first;
            std::vector<MergeNote> notes;
            mergeEntryInto(merged, book.entries[member.entry], member.kind, member.entry,
                           group.first, notes);
            if (notes.empty()) {
                first = merged;
                removed[member.entry] = true;
                ++outcome.merged;
            } else {
                ++outcome.kept;
                outcome.notes.insert(outcome.notes.end(), notes.begin(), notes.end());
            }
        }
    }
    std::uint32_t count = 0;
    for (std::uint32_t e = 0; e < result->count; ++e)
        if (!removed[e])
            result->entries[count++] = result->entries[e];
    std::fill(result->entries + count, result->entries + result->count, TelEntry{});
    result->count = count;
    book = *result;
    return outcome;
}
