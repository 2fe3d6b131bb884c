#include "phonebook/core/sync_plan.h"

#include "phonebook/core/sync_fields.h"
#include "phonebook/core/sync_identity.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>

namespace {

int pairedCount(const std::vector<int>& pairs)
{
    return static_cast<int>(
        std::count_if(pairs.begin(), pairs.end(), [](int p) { return p >= 0; }));
}

class Planner {
public:
    Planner(std::span<const TelEntry> state, std::span<const TelEntry> handset,
            std::span<const TelEntry> pc, const StoredFormOf& storedForm)
        : state_(state), handset_(handset), pc_(pc)
    {
        pcStored_.reserve(pc.size());
        for (const TelEntry& entry : pc)
            pcStored_.push_back(storedForm(entry));
    }

    const std::vector<TelEntry>& pcStored() const { return pcStored_; }

    // The three-way part: each entry of the state with what became of it on each side.
    void mergeState(const std::vector<int>& stateToHandset, const std::vector<int>& stateToPc)
    {
        handsetUsed_.assign(handset_.size(), false);
        pcUsed_.assign(pc_.size(), false);
        for (int s = 0; s < static_cast<int>(state_.size()); ++s) {
            const int h = stateToHandset[s];
            const int p = stateToPc[s];
            if (h >= 0)
                handsetUsed_[h] = true;
            if (p >= 0)
                pcUsed_[p] = true;
            if (h >= 0 && p >= 0) {
                addPerson(s, h, p);
            } else if (h >= 0) {
                // Deleted on the PC: it goes unless the handset changed it since.
                if (!sameStoredEntry(handset_[h], state_[s]))
                    addOneSided(s, h, -1);
            } else if (p >= 0) {
                if (!sameStoredEntry(pcStored_[p], state_[s]))
                    addOneSided(s, -1, p);
            }
        }
    }

    // Entries the state does not hold: added on one side, or on both (then one entry).
    void mergeAdded()
    {
        handsetUsed_.resize(handset_.size(), false);
        pcUsed_.resize(pc_.size(), false);
        const UnusedEntries addedHandset = unusedEntries(handset_, handsetUsed_);
        const UnusedEntries addedPc = unusedEntries(pcStored_, pcUsed_);
        const std::vector<int> pairs =
            pairEntries(addedHandset.entries, addedPc.entries, PairingOf::NewEntries);
        std::vector<bool> pcPaired(addedPc.at.size(), false);
        for (std::size_t i = 0; i < addedHandset.at.size(); ++i) {
            if (pairs[i] >= 0) {
                pcPaired[pairs[i]] = true;
                addPerson(-1, addedHandset.at[i], addedPc.at[pairs[i]]);
            } else {
                addOneSided(-1, addedHandset.at[i], -1);
            }
        }
        for (std::size_t j = 0; j < addedPc.at.size(); ++j)
            if (!pcPaired[j])
                addOneSided(-1, -1, addedPc.at[j]);
    }

    std::vector<SyncPerson> takePeople() { return std::move(people_); }

private:
    void addPerson(int s, int h, int p)
    {
        FieldMerge fields =
            mergeFields(s >= 0 ? &state_[s] : nullptr, handset_[h], pc_[p], pcStored_[p]);
        people_.push_back(
            {s, h, p, fields.merged, fields.handsetSide, std::move(fields.conflicts)});
    }

    void addOneSided(int s, int h, int p)
    {
        const TelEntry& entry = h >= 0 ? handset_[h] : pc_[p];
        people_.push_back({s, h, p, entry, entry, {}});
    }

    std::span<const TelEntry> state_;
    std::span<const TelEntry> handset_;
    std::span<const TelEntry> pc_;
    std::vector<TelEntry> pcStored_;
    std::vector<bool> handsetUsed_;
    std::vector<bool> pcUsed_;
    std::vector<SyncPerson> people_;
};

} // namespace

SyncPlan planSync(std::span<const TelEntry> state, bool hasState, std::span<const TelEntry> handset,
                  std::span<const TelEntry> pc, const StoredFormOf& storedForm)
{
    SyncPlan plan;
    plan.hadState = hasState;
    plan.stateCount = static_cast<int>(state.size());
    Planner planner(state, handset, pc, storedForm);

    const std::vector<int> stateToHandset = pairEntries(state, handset, PairingOf::StateAndSide);
    const int handsetInState = pairedCount(stateToHandset);
    plan.lostFromState = plan.stateCount - handsetInState;
    plan.slowSync =
        !hasState || (!handset.empty() && handsetInState * 2 < static_cast<int>(handset.size()));

    if (hasState && !state.empty() && handset.empty())
        plan.stop = SyncStop::HandsetEmpty;
    else if (!plan.slowSync && plan.lostFromState * 3 > plan.stateCount)
        plan.stop = SyncStop::HandsetLostEntries;
    if (plan.stop != SyncStop::None)
        return plan;

    if (!plan.slowSync)
        planner.mergeState(stateToHandset,
                           pairEntries(state, planner.pcStored(), PairingOf::StateAndSide));
    planner.mergeAdded();
    plan.people = planner.takePeople();
    for (int i = 0; i < static_cast<int>(plan.people.size()); ++i)
        for (const SyncField field : plan.people[i].conflicts)
            plan.conflicts.push_back({i, field});
    if (plan.people.size() > MAX_TEL_ENTRIES)
        plan.stop = SyncStop::TooMany;
    return plan;
}
