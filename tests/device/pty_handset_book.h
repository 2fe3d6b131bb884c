#pragma once
// The simulated handset's book and command log as the sync tests look at them.

#include "device/emulator/pty_handset.h"

#include <vector>

inline std::vector<TelEntry> entriesOf(PtyHandset& handset)
{
    return handset.withHandset([](SimulatedHandset& h) { return h.entries(); });
}

inline void hold(PtyHandset& handset, const std::vector<TelEntry>& entries)
{
    handset.withHandset([&](SimulatedHandset& h) { h.entries() = entries; });
}

// Commands of the handset from position from on that erase its book or write an entry.
inline int writingCommands(PtyHandset& handset, qsizetype from = 0)
{
    return handset.withHandset([from](SimulatedHandset& h) {
        int count = 0;
        for (qsizetype i = from; i < h.commands().size(); ++i)
            count += h.commands()[i] == "<3:1H>" || h.commands()[i].startsWith("<1:1:") ? 1 : 0;
        return count;
    });
}

inline qsizetype commandCount(PtyHandset& handset)
{
    return handset.withHandset([](SimulatedHandset& h) { return h.commands().size(); });
}
