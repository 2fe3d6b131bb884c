#include "phonebook/core/sync_identity.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_match.h"
#include "phonebook/core/match_keys.h"

#include <QByteArray>
#include <QHash>

#include <cstring>

namespace {

QByteArray bytesOf(const TelEntry& entry)
{
    return QByteArray(reinterpret_cast<const char*>(&entry), sizeof entry);
}

// A number that tells one person: not a family's fixed line, not a company's service number.
bool personalNumber(const QString& key)
{
    return !key.isEmpty() && !isLandline(key) && !isServiceNumber(key);
}

// Whether a pair the matcher proposes is close enough to be one entry: a shared personal number
// or address, or against the last synced book the same name. A shared home number alone is not.
bool closeEnough(const TelEntry& a, const TelEntry& b, MatchClass kind, PairingOf pairing)
{
    if (kind != MatchClass::MaybeSame)
        return kind != MatchClass::New;
    const QString nameA = nameMatchKey(fromCp932(a.name));
    if (pairing == PairingOf::StateAndSide && !nameA.isEmpty() &&
        nameA == nameMatchKey(fromCp932(b.name)))
        return true;
    for (const TelNumber& ta : a.tel) {
        const QString key = numberMatchKey(fromCp932(ta.number));
        if (!personalNumber(key))
            continue;
        for (const TelNumber& tb : b.tel)
            if (numberMatchKey(fromCp932(tb.number)) == key)
                return true;
    }
    for (const MailAddress& ma : a.mail) {
        const QString key = addressMatchKey(fromCp932(ma.address));
        if (key.isEmpty())
            continue;
        for (const MailAddress& mb : b.mail)
            if (addressMatchKey(fromCp932(mb.address)) == key)
                return true;
    }
    return false;
}

} // namespace

UnusedEntries unusedEntries(std::span<const TelEntry> entries, const std::vector<bool>& used)
{
    UnusedEntries unused;
    for (int i = 0; i < static_cast<int>(entries.size()); ++i)
        if (!used[i]) {
            unused.entries.push_back(entries[i]);
            unused.at.push_back(i);
        }
    return unused;
}

bool sameStoredEntry(const TelEntry& a, const TelEntry& b)
{
    return std::memcmp(&a, &b, sizeof(TelEntry)) == 0;
}

std::vector<int> pairEntries(std::span<const TelEntry> a, std::span<const TelEntry> b,
                             PairingOf pairing)
{
    std::vector<int> pairs(a.size(), -1);
    QHash<QByteArray, std::vector<int>> unpairedB;
    for (int j = static_cast<int>(b.size()) - 1; j >= 0; --j)
        unpairedB[bytesOf(b[j])].push_back(j);
    std::vector<bool> bTaken(b.size(), false);
    for (int i = 0; i < static_cast<int>(a.size()); ++i) {
        const auto found = unpairedB.find(bytesOf(a[i]));
        if (found == unpairedB.end() || found->empty())
            continue;
        pairs[i] = found->back();
        bTaken[found->back()] = true;
        found->pop_back();
    }

    std::vector<bool> aTaken(a.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        aTaken[i] = pairs[i] >= 0;
    const UnusedEntries restA = unusedEntries(a, aTaken);
    const UnusedEntries restB = unusedEntries(b, bTaken);
    if (restA.entries.empty() || restB.entries.empty())
        return pairs;
    for (const EntryMatch& match : matchEntries(restA.entries, restB.entries)) {
        if (match.book < 0 || !closeEnough(restA.entries[match.book], restB.entries[match.incoming],
                                           match.kind, pairing))
            continue;
        pairs[restA.at[match.book]] = restB.at[match.incoming];
    }
    return pairs;
}
