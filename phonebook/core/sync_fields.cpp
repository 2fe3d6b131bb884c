#include "phonebook/core/sync_fields.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_slots.h"

#include <QString>
#include <QStringList>

#include <cstring>

namespace {

constexpr SyncField ALL_FIELDS[] = {SyncField::Name,   SyncField::Reading, SyncField::Group,
                                    SyncField::Secret, SyncField::Numbers, SyncField::Addresses,
                                    SyncField::Memo};

bool sameSlots(const TelEntry& a, const TelEntry& b, SlotList list)
{
    const int count = list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS;
    for (int s = 0; s < count; ++s) {
        const char* ta = slotText(a, list, s);
        if (std::strcmp(ta, slotText(b, list, s)) != 0 ||
            (ta[0] && slotKind(a, list, s) != slotKind(b, list, s)))
            return false;
    }
    return true;
}

QString slotKey(const TelEntry& entry, SlotList list, int slot)
{
    return ::slotKey(list, fromCp932(slotText(entry, list, slot)));
}

int findSlot(const TelEntry& entry, SlotList list, const QString& key)
{
    const int count = list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS;
    for (int s = 0; s < count; ++s)
        if (slotText(entry, list, s)[0] && slotKey(entry, list, s) == key)
            return s;
    return -1;
}

// The numbers (or addresses) of p and h as sets against s: what one side removed from s goes,
// what either side added comes; p's slots first, in p's order and with p's kinds. False when the
// result needs more slots than the entry has.
bool mergeSlotSets(const TelEntry* s, const TelEntry& h, const TelEntry& p, SlotList list,
                   TelEntry& merged)
{
    const int count = list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS;
    TelEntry result = merged;
    if (list == SlotList::Tel)
        std::memset(result.tel, 0, sizeof result.tel);
    else
        std::memset(result.mail, 0, sizeof result.mail);
    int next = 0;
    auto take = [&](const TelEntry& from, int slot) {
        if (next >= count)
            return false;
        const QString text = fromCp932(slotText(from, list, slot));
        return storeSlot(result, list, next++, slotKind(from, list, slot), text);
    };
    for (const TelEntry* side : {&p, &h}) {
        const TelEntry& other = side == &p ? h : p;
        for (int slot = 0; slot < count; ++slot) {
            if (!slotText(*side, list, slot)[0])
                continue;
            const QString key = slotKey(*side, list, slot);
            if (side == &h && findSlot(p, list, key) >= 0)
                continue; // taken from p already
            const bool inState = s && findSlot(*s, list, key) >= 0;
            const bool removedByOther = inState && findSlot(other, list, key) < 0;
            if (removedByOther)
                continue;
            if (!take(*side, slot))
                return false;
        }
    }
    merged = result;
    return true;
}

} // namespace

const char* syncFieldText(SyncField field)
{
    switch (field) {
    case SyncField::Name:
        return "名前";
    case SyncField::Reading:
        return "フリガナ";
    case SyncField::Group:
        return "グループ";
    case SyncField::Secret:
        return "シークレット";
    case SyncField::Numbers:
        return "電話番号";
    case SyncField::Addresses:
        return "メールアドレス";
    case SyncField::Memo:
        break;
    }
    return "メモ";
}

void copyField(TelEntry& target, const TelEntry& source, SyncField field)
{
    switch (field) {
    case SyncField::Name:
        std::memcpy(target.name, source.name, sizeof target.name);
        break;
    case SyncField::Reading:
        std::memcpy(target.furigana, source.furigana, sizeof target.furigana);
        break;
    case SyncField::Group:
        target.group = source.group;
        break;
    case SyncField::Secret:
        target.secret = source.secret;
        break;
    case SyncField::Numbers:
        std::memcpy(target.tel, source.tel, sizeof target.tel);
        break;
    case SyncField::Addresses:
        std::memcpy(target.mail, source.mail, sizeof target.mail);
        break;
    case SyncField::Memo:
        std::memcpy(target.memo, source.memo, sizeof target.memo);
        break;
    }
}

bool sameField(const TelEntry& a, const TelEntry& b, SyncField field)
{
    switch (field) {
    case SyncField::Name:
        return std::strcmp(a.name, b.name) == 0;
    case SyncField::Reading:
        return std::strcmp(a.furigana, b.furigana) == 0;
    case SyncField::Group:
        return a.group == b.group;
    case SyncField::Secret:
        return a.secret == b.secret;
    case SyncField::Numbers:
        return sameSlots(a, b, SlotList::Tel);
    case SyncField::Addresses:
        return sameSlots(a, b, SlotList::Mail);
    case SyncField::Memo:
        break;
    }
    return std::strcmp(a.memo, b.memo) == 0;
}

std::vector<SyncField> differentFields(const TelEntry& a, const TelEntry& b)
{
    std::vector<SyncField> fields;
    for (const SyncField field : ALL_FIELDS)
        if (!sameField(a, b, field))
            fields.push_back(field);
    return fields;
}

FieldMerge mergeFields(const TelEntry* s, const TelEntry& h, const TelEntry& p,
                       const TelEntry& pcStored)
{
    FieldMerge result;
    result.merged = p;
    for (const SyncField field : ALL_FIELDS) {
        const bool handsetKept = s && sameField(h, *s, field);
        const bool pcKept = s && sameField(pcStored, *s, field);
        if (handsetKept || sameField(h, pcStored, field))
            continue; // p's value stands
        if (pcKept) {
            copyField(result.merged, h, field);
            continue;
        }
        const bool slotLists = field == SyncField::Numbers || field == SyncField::Addresses;
        if (slotLists &&
            mergeSlotSets(s, h, p, field == SyncField::Numbers ? SlotList::Tel : SlotList::Mail,
                          result.merged))
            continue;
        result.conflicts.push_back(field);
    }
    result.handsetSide = result.merged;
    for (const SyncField field : result.conflicts)
        copyField(result.handsetSide, h, field);
    return result;
}

QString fieldValueText(const TelEntry& entry, SyncField field)
{
    QStringList parts;
    switch (field) {
    case SyncField::Name:
        return fromCp932(entry.name);
    case SyncField::Reading:
        return fromCp932(entry.furigana);
    case SyncField::Group:
        return QString::number(entry.group);
    case SyncField::Secret:
        return entry.secret ? QStringLiteral("あり") : QStringLiteral("なし");
    case SyncField::Numbers:
    case SyncField::Addresses: {
        const SlotList list = field == SyncField::Numbers ? SlotList::Tel : SlotList::Mail;
        for (int s = 0; s < (list == SlotList::Tel ? TEL_SLOTS : MAIL_SLOTS); ++s)
            if (slotText(entry, list, s)[0])
                parts << fromCp932(slotText(entry, list, s));
        return parts.join(QStringLiteral("、"));
    }
    case SyncField::Memo:
        break;
    }
    return fromCp932(entry.memo);
}
