#include "phonebook/core/entry_match.h"

#include "phonebook/core/completion_placeholders.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/match_keys.h"
#include "phonebook/core/reading_classes.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

struct EntryKeys {
    QString name;
    QString nameVariant;
    int readingPosition = -1; // position in ReadingClasses, -1 when the entry has no reading key
    int reading = -1;         // class of the reading, -1 when none
    std::vector<QString> numbers;
    std::vector<QString> addresses;
};

void addDistinct(std::vector<QString>& keys, const QString& key)
{
    if (!key.isEmpty() && std::find(keys.begin(), keys.end(), key) == keys.end())
        keys.push_back(key);
}

EntryKeys keysOf(const TelEntry& entry, ReadingClasses& readings)
{
    EntryKeys keys;
    keys.name = nameMatchKey(fromCp932(entry.name));
    keys.nameVariant = nameVariantKey(keys.name);
    if (entry.furigana[0] && !isCompletionReading(entry)) {
        const QString reading = readingMatchText(fromCp932(entry.furigana));
        if (!reading.isEmpty())
            keys.readingPosition = readings.add(reading);
    }
    for (const TelNumber& tel : entry.tel)
        addDistinct(keys.numbers, numberMatchKey(fromCp932(tel.number)));
    for (const MailAddress& mail : entry.mail)
        addDistinct(keys.addresses, addressMatchKey(fromCp932(mail.address)));
    return keys;
}

std::vector<EntryKeys> keysOf(std::span<const TelEntry> entries, ReadingClasses& readings)
{
    std::vector<EntryKeys> keys;
    keys.reserve(entries.size());
    for (const TelEntry& entry : entries)
        keys.push_back(keysOf(entry, readings));
    return keys;
}

// Numbers that say little about who holds them: service numbers, and fixed lines that entries
// of more than one name hold (a family's home number).
QSet<QString> weakNumbers(const std::vector<EntryKeys>& book,
                          const std::vector<EntryKeys>& incoming)
{
    QSet<QString> weak;
    QHash<QString, QString> firstHolder;
    for (const std::vector<EntryKeys>* side : {&book, &incoming}) {
        for (const EntryKeys& keys : *side) {
            for (const QString& number : keys.numbers) {
                if (isServiceNumber(number)) {
                    weak.insert(number);
                } else if (isLandline(number)) {
                    const auto holder = firstHolder.constFind(number);
                    if (holder == firstHolder.cend())
                        firstHolder.insert(number, keys.name);
                    else if (*holder != keys.name)
                        weak.insert(number);
                }
            }
        }
    }
    return weak;
}

int sharedCount(const std::vector<QString>& a, const std::vector<QString>& b,
                const QSet<QString>* only, bool inOnly)
{
    int count = 0;
    for (const QString& key : a)
        if (std::find(b.begin(), b.end(), key) != b.end() &&
            (!only || only->contains(key) == inOnly))
            ++count;
    return count;
}

bool contains(const std::vector<QString>& all, const std::vector<QString>& part)
{
    return std::all_of(part.begin(), part.end(), [&all](const QString& key) {
        return std::find(all.begin(), all.end(), key) != all.end();
    });
}

int unionSize(const std::vector<QString>& a, const std::vector<QString>& b)
{
    return static_cast<int>(a.size()) + static_cast<int>(b.size()) -
           sharedCount(a, b, nullptr, true);
}

// Group 0 and an unset secret flag are what an entry from a file without them holds: they give
// way to the other side's value. Two set values that differ, and two different memos, conflict.
bool singleFieldsConflict(const TelEntry& book, const TelEntry& incoming)
{
    const bool groups = book.group != 0 && incoming.group != 0 && book.group != incoming.group;
    const bool secret = incoming.secret != 0 && book.secret == 0;
    const bool memos =
        book.memo[0] && incoming.memo[0] && std::strcmp(book.memo, incoming.memo) != 0;
    return groups || secret || memos;
}

// Every number of incoming is one the book entry dials too: the match keys leave out the part from
// a pause on and a caller-ID prefix, so two numbers with one key may still dial differently.
bool dialsEveryNumber(const TelEntry& book, const TelEntry& incoming)
{
    for (const TelNumber& tel : incoming.tel) {
        const QString form = numberDialForm(fromCp932(tel.number));
        if (form.isEmpty())
            continue;
        const bool held =
            std::any_of(std::begin(book.tel), std::end(book.tel), [&](const TelNumber& own) {
                return numberDialForm(fromCp932(own.number)) == form;
            });
        if (!held)
            return false;
    }
    return true;
}

bool singleFieldsUnchanged(const TelEntry& book, const TelEntry& incoming)
{
    return (incoming.group == 0 || incoming.group == book.group) &&
           (incoming.secret == 0 || book.secret != 0) &&
           (!incoming.memo[0] || std::strcmp(book.memo, incoming.memo) == 0);
}

struct Candidate {
    int score;
    int book;
    int incoming;
    MatchClass kind;
};

int rankOf(MatchClass kind)
{
    switch (kind) {
    case MatchClass::Same:
        return 4;
    case MatchClass::Update:
        return 3;
    case MatchClass::Confirm:
        return 2;
    case MatchClass::MaybeSame:
        return 1;
    case MatchClass::New:
        break;
    }
    return 0;
}

class PairJudge {
public:
    PairJudge(std::span<const TelEntry> book, std::span<const TelEntry> incoming,
              const std::vector<EntryKeys>& bookKeys, const std::vector<EntryKeys>& incomingKeys,
              const QSet<QString>& weak)
        : book_(book), incoming_(incoming), bookKeys_(bookKeys), incomingKeys_(incomingKeys),
          weak_(weak)
    {
    }

    // The class and score of a pair, or nothing (New) when the two share no key.
    Candidate judge(int b, int i) const
    {
        const EntryKeys& bk = bookKeys_[b];
        const EntryKeys& ik = incomingKeys_[i];
        const bool name = !bk.name.isEmpty() && bk.name == ik.name;
        const bool variant = !name && !bk.nameVariant.isEmpty() && bk.nameVariant == ik.nameVariant;
        const bool reading = bk.reading >= 0 && bk.reading == ik.reading;
        const int strong = sharedCount(bk.numbers, ik.numbers, &weak_, false) +
                           sharedCount(bk.addresses, ik.addresses, nullptr, true);
        const int weak = sharedCount(bk.numbers, ik.numbers, &weak_, true);

        MatchClass kind = MatchClass::New;
        if (name && (reading || ik.reading < 0) && contains(bk.numbers, ik.numbers) &&
            contains(bk.addresses, ik.addresses) && dialsEveryNumber(book_[b], incoming_[i]) &&
            singleFieldsUnchanged(book_[b], incoming_[i]))
            kind = MatchClass::Same;
        else if (name && reading && strong > 0)
            kind = singleFieldsConflict(book_[b], incoming_[i]) ||
                           unionSize(bk.numbers, ik.numbers) > TEL_SLOTS ||
                           unionSize(bk.addresses, ik.addresses) > MAIL_SLOTS
                       ? MatchClass::Confirm
                       : MatchClass::Update;
        else if (name || variant || reading || strong > 0 || weak > 0)
            kind = MatchClass::MaybeSame;
        const int score = rankOf(kind) * 1000 + strong * 16 + (name ? 8 : 0) + (reading ? 8 : 0) +
                          weak * 4 + (variant ? 2 : 0);
        return {score, b, i, kind};
    }

private:
    std::span<const TelEntry> book_;
    std::span<const TelEntry> incoming_;
    const std::vector<EntryKeys>& bookKeys_;
    const std::vector<EntryKeys>& incomingKeys_;
    const QSet<QString>& weak_;
};

// Book entries by each of their keys, to find the few candidates of an incoming entry.
struct BookIndex {
    QHash<QString, std::vector<int>> names;
    QHash<QString, std::vector<int>> variants;
    QHash<int, std::vector<int>> readings;
    QHash<QString, std::vector<int>> numbers;
    QHash<QString, std::vector<int>> addresses;

    explicit BookIndex(const std::vector<EntryKeys>& keys)
    {
        for (int b = 0; b < static_cast<int>(keys.size()); ++b) {
            const EntryKeys& k = keys[b];
            if (!k.name.isEmpty()) {
                names[k.name].push_back(b);
                variants[k.nameVariant].push_back(b);
            }
            if (k.reading >= 0)
                readings[k.reading].push_back(b);
            for (const QString& number : k.numbers)
                numbers[number].push_back(b);
            for (const QString& address : k.addresses)
                addresses[address].push_back(b);
        }
    }

    template <typename Visit> void candidates(const EntryKeys& k, Visit visit) const
    {
        auto each = [&visit](const auto& map, const auto& key) {
            const auto found = map.constFind(key);
            if (found != map.cend())
                for (int b : *found)
                    visit(b);
        };
        if (!k.name.isEmpty())
            each(variants, k.nameVariant); // holds every equal name as well
        if (k.reading >= 0)
            each(readings, k.reading);
        for (const QString& number : k.numbers)
            each(numbers, number);
        for (const QString& address : k.addresses)
            each(addresses, address);
    }
};

// Gives each key its reading class once every reading of both sides is known.
void classifyReadings(ReadingClasses& readings,
                      std::initializer_list<std::vector<EntryKeys>*> sides)
{
    readings.classify();
    for (std::vector<EntryKeys>* side : sides)
        for (EntryKeys& keys : *side)
            if (keys.readingPosition >= 0)
                keys.reading = readings.classOf(keys.readingPosition);
}

} // namespace

std::vector<EntryMatch> matchEntries(std::span<const TelEntry> book,
                                     std::span<const TelEntry> incoming)
{
    ReadingClasses readings;
    std::vector<EntryKeys> bookKeys = keysOf(book, readings);
    std::vector<EntryKeys> incomingKeys = keysOf(incoming, readings);
    classifyReadings(readings, {&bookKeys, &incomingKeys});

    const QSet<QString> weak = weakNumbers(bookKeys, incomingKeys);
    const PairJudge judge(book, incoming, bookKeys, incomingKeys, weak);
    const BookIndex index(bookKeys);

    std::vector<Candidate> candidates;
    std::vector<int> seenFor(book.size(), -1);
    for (int i = 0; i < static_cast<int>(incoming.size()); ++i) {
        index.candidates(incomingKeys[i], [&](int b) {
            if (seenFor[b] == i)
                return;
            seenFor[b] = i;
            const Candidate candidate = judge.judge(b, i);
            if (candidate.kind != MatchClass::New)
                candidates.push_back(candidate);
        });
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        if (a.score != b.score)
            return a.score > b.score;
        if (a.book != b.book)
            return a.book < b.book;
        return a.incoming < b.incoming;
    });

    std::vector<EntryMatch> matches;
    matches.reserve(incoming.size());
    for (int i = 0; i < static_cast<int>(incoming.size()); ++i)
        matches.push_back({i, -1, MatchClass::New});
    std::vector<bool> bookTaken(book.size(), false);
    for (const Candidate& candidate : candidates) {
        EntryMatch& match = matches[candidate.incoming];
        if (match.book >= 0 || bookTaken[candidate.book])
            continue;
        bookTaken[candidate.book] = true;
        match.book = candidate.book;
        match.kind = candidate.kind;
    }
    return matches;
}

std::vector<EntryPair> matchingPairs(std::span<const TelEntry> book)
{
    ReadingClasses readings;
    std::vector<EntryKeys> keys = keysOf(book, readings);
    classifyReadings(readings, {&keys});
    const QSet<QString> weak = weakNumbers(keys, keys);
    // The earlier entry stands as the book's, the later one as the incoming entry.
    const PairJudge judge(book, book, keys, keys, weak);
    const BookIndex index(keys);
    std::vector<EntryPair> pairs;
    std::vector<int> seenFor(book.size(), -1);
    for (int second = 0; second < static_cast<int>(book.size()); ++second) {
        index.candidates(keys[second], [&](int first) {
            if (first >= second || seenFor[first] == second)
                return;
            seenFor[first] = second;
            const Candidate candidate = judge.judge(first, second);
            if (candidate.kind != MatchClass::New)
                pairs.push_back({first, second, candidate.kind});
        });
    }
    std::sort(pairs.begin(), pairs.end(), [](const EntryPair& a, const EntryPair& b) {
        return a.first != b.first ? a.first < b.first : a.second < b.second;
    });
    return pairs;
}

const char* matchClassText(MatchClass kind)
{
    switch (kind) {
    case MatchClass::Same:
        return "同じ";
    case MatchClass::Update:
        return "更新";
    case MatchClass::Confirm:
        return "確認";
    case MatchClass::MaybeSame:
        return "同じ人かも";
    case MatchClass::New:
        break;
    }
    return "新規";
}
