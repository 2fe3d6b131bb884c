#pragma once
// Two-way sync of the handset's book with the PC book, planned as a three-way merge against the
// book the handset held after the last sync (the state). The handset keeps no entry IDs and no
// change log, so an entry is recognised by its content: first by an equal stored form, then by
// the matcher, one to one.
//
// The state and the handset's book are in the form the handset stores (cut fields, no memo on a
// model without one); the PC book is compared in that form too, so what the handset cannot hold
// never counts as a change.

#include "phonebook/core/tel_entry.h"

#include <functional>
#include <span>
#include <vector>

// The form in which the handset would keep an entry written to it.
using StoredFormOf = std::function<TelEntry(const TelEntry&)>;

enum class SyncField { Name, Reading, Group, Secret, Numbers, Addresses, Memo };
constexpr int SYNC_FIELD_COUNT = 7;

// "名前", "フリガナ", "グループ", "シークレット", "電話番号", "メールアドレス", "メモ".
const char* syncFieldText(SyncField field);

enum class SyncStop {
    None,
    HandsetEmpty,       // the handset holds nothing although the state holds entries
    HandsetLostEntries, // the handset lost more than a third of the state's entries
    TooMany,            // the synced book would hold more than MAX_TEL_ENTRIES entries
};

// One person the books hold after the sync: where the entry is in each input (-1 for none) and
// its merged fields. A field both sides changed differently is a conflict; merged holds the PC's
// value there and handsetSide the handset's.
struct SyncPerson {
    int state = -1;
    int handset = -1;
    int pc = -1;
    TelEntry merged{};
    TelEntry handsetSide{};
    std::vector<SyncField> conflicts;
};

struct SyncConflict {
    int person; // position in SyncPlan::people
    SyncField field;
};

struct SyncPlan {
    bool hadState = false;
    // No state, or fewer than half of the handset's entries are in it (another handset of the
    // model, a reset one): the books are merged and nothing is deleted.
    bool slowSync = false;
    SyncStop stop = SyncStop::None;
    int stateCount = 0;
    int lostFromState = 0; // entries of the state the handset no longer holds
    std::vector<SyncPerson> people;
    std::vector<SyncConflict> conflicts; // per person, in field order
};

// Plans the sync of handset (H) and pc (P) against state (S); hasState false when there is no
// state at all (an empty one is a state).
SyncPlan planSync(std::span<const TelEntry> state, bool hasState, std::span<const TelEntry> handset,
                  std::span<const TelEntry> pc, const StoredFormOf& storedForm);
