#include "readings/reading_ranker.h"

#include "readings/kana_text.h"

#include <algorithm>
#include <vector>

namespace {

// Points for the evidence behind a reading of one part.
constexpr int TABLE_IN_ROLE = 10;        // the names table lists it for this role
constexpr int TABLE_OTHER_ROLE = 4;      // ... only for the other role
constexpr int MECAB_ENTRY = 2;           // each entry of MeCab's dictionary with this reading
constexpr int MECAB_NAME_IN_ROLE = 18;   // MeCab's dictionary lists it as a personal name of
                                         // the role the part plays
constexpr int MECAB_NAME_OTHER_ROLE = 4; // ... of the other role
constexpr int COMMON_COST = 11000;       // ... and up to MAX_COST_POINTS more for a word cost below
constexpr int COST_STEP = 1000;          //     this, one for each COST_STEP
constexpr int MAX_COST_POINTS = 8;
constexpr int MECAB_AGREES = 22;       // MeCab's best split of the part reads it so
constexpr int MECAB_AGREES_SPLIT = 20; // ... and splits a name without a blank there
constexpr int SINGLE_WORD = 14;        // MeCab reads the whole text as one ordinary word
constexpr int WORDS = 8;               // MeCab reads the text as a run of known words
constexpr int PART_COST = 25;          // what each part of a reading costs
// Readings of each part carried into the combinations; more only lengthens the list.
constexpr std::size_t PART_CANDIDATES = 6;

bool allOf(const QString& text, NameChar kind)
{
    return std::all_of(text.begin(), text.end(),
                       [kind](QChar c) { return nameCharClass(c) == kind; });
}

bool isSingleKanji(const MecabWord& word)
{
    return word.surface.size() == 1 && nameCharClass(word.surface.front()) == NameChar::Kanji;
}

// MeCab's reading of a run of words, or empty when it is only a guess: a word it does not know,
// or two single kanji side by side, which is how it takes apart a word it does not hold.
QString trustedReading(const std::vector<MecabWord>& words)
{
    QString reading;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i].katakana.isEmpty())
            return {};
        if (i > 0 && isSingleKanji(words[i]) && isSingleKanji(words[i - 1]) && !words[i].affix &&
            !words[i - 1].affix)
            return {};
        reading += words[i].katakana;
    }
    return reading;
}

void raise(std::map<QString, int>& scores, const QString& reading, int points)
{
    auto [it, inserted] = scores.try_emplace(reading, points);
    if (!inserted)
        it->second = std::max(it->second, points);
}

std::vector<std::pair<QString, int>> best(const std::map<QString, int>& scores, std::size_t count)
{
    std::vector<std::pair<QString, int>> sorted(scores.begin(), scores.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (sorted.size() > count)
        sorted.resize(count);
    return sorted;
}

} // namespace

ReadingRanker::ReadingRanker(const NamesTable& names, const MecabTagger& tagger)
    : names_(names), tagger_(tagger)
{
}

ReadingRanker::Scores ReadingRanker::partReadings(const QString& part, NameRole role,
                                                  PartPlace place) const
{
    Scores scores;
    if (allOf(part, NameChar::Kana)) {
        scores.emplace(toKatakana(part), TABLE_IN_ROLE + MECAB_NAME_IN_ROLE);
        return scores;
    }
    const NameRole other = role == NameRole::Surname ? NameRole::Given : NameRole::Surname;
    for (const NameReading& r : names_.readings(part, other))
        raise(scores, r.katakana, TABLE_OTHER_ROLE + (r.popularity + r.fit) / 2);
    for (const NameReading& r : names_.readings(part, role))
        raise(scores, r.katakana, TABLE_IN_ROLE + r.popularity + r.fit);

    // MeCab's entries written as the part: a personal name adds its reading, the more common
    // (by the dictionary's cost) the more points; every other entry backs a reading up.
    std::map<QString, int> mecab;
    for (const MecabWord& entry : tagger_.entries(part)) {
        int points = MECAB_ENTRY;
        if (entry.personalName)
            points += (entry.surname == (role == NameRole::Surname) ? MECAB_NAME_IN_ROLE
                                                                    : MECAB_NAME_OTHER_ROLE) +
                      std::clamp((COMMON_COST - entry.cost) / COST_STEP, 0, MAX_COST_POINTS);
        auto [it, inserted] = mecab.try_emplace(entry.katakana, points);
        if (!inserted)
            it->second = std::max(it->second, points) + MECAB_ENTRY;
        if (entry.personalName)
            scores.try_emplace(entry.katakana, 0);
    }
    for (auto& [reading, points] : scores)
        if (auto it = mecab.find(reading); it != mecab.end())
            points += it->second;

    // MeCab's best reading of the part, as one word or several.
    const QString path = trustedReading(tagger_.words(part));
    if (path.isEmpty())
        return scores;
    if (auto it = scores.find(path); it != scores.end())
        it->second += MECAB_AGREES;
    else if (place == PartPlace::OwnPart && !allOf(part, NameChar::Kanji))
        // Kana with kanji (ゆう子): MeCab reads the kana as they stand.
        scores.emplace(path, TABLE_OTHER_ROLE + MECAB_AGREES);
    return scores;
}

ReadingRanker::Scores ReadingRanker::wordReadings(const QString& text) const
{
    Scores scores;
    const std::vector<MecabWord> words = tagger_.words(text);
    const QString reading = trustedReading(words);
    if (!reading.isEmpty())
        scores.emplace(reading, words.size() == 1 ? SINGLE_WORD : WORDS);
    return scores;
}

ReadingRanker::Scores ReadingRanker::wholeReadings(const QString& part) const
{
    Scores scores;
    for (const auto& [reading, points] : wordReadings(part))
        raise(scores, reading, points - PART_COST);
    bool knownName = false;
    for (NameRole role : {NameRole::Surname, NameRole::Given})
        for (const auto& [reading, points] : partReadings(part, role, PartPlace::OwnPart)) {
            raise(scores, reading, points - PART_COST);
            knownName = true;
        }
    // A surname and a given name written without a blank, the surname in kanji only; not
    // looked for in a text that is a name of its own (高橋, 小鳥遊) or that MeCab knows as one
    // ordinary word (学校, 先生).
    const std::vector<MecabWord> words = tagger_.words(part);
    if (knownName || (words.size() == 1 && !words.front().katakana.isEmpty()))
        return scores;
    const QString path = trustedReading(words);
    for (qsizetype split = 1; split < part.size(); ++split) {
        if (nameCharClass(part[split - 1]) != NameChar::Kanji)
            break;
        const QString given = part.mid(split);
        if (!allOf(given, NameChar::Kanji) && !allOf(given, NameChar::Kana))
            continue;
        const Scores surnames = partReadings(part.left(split), NameRole::Surname, PartPlace::Split);
        if (surnames.empty())
            continue;
        const Scores givens = partReadings(given, NameRole::Given, PartPlace::Split);
        for (const auto& [surname, s] : best(surnames, PART_CANDIDATES))
            for (const auto& [given, g] : best(givens, PART_CANDIDATES))
                raise(scores, surname + given,
                      s + g - 2 * PART_COST + (surname + given == path ? MECAB_AGREES_SPLIT : 0));
    }
    return scores;
}

QStringList ReadingRanker::rank(const QString& name) const
{
    const QStringList parts = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty() || std::any_of(name.begin(), name.end(),
                                       [](QChar c) { return nameCharClass(c) == NameChar::Other; }))
        return {};

    Scores scores;
    if (parts.size() == 1) {
        scores = wholeReadings(parts.front());
    } else {
        // Blank-separated: a surname, then given names.
        scores.emplace(QString(), 0);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const Scores readings = partReadings(
                parts[i], i == 0 ? NameRole::Surname : NameRole::Given, PartPlace::OwnPart);
            Scores combined;
            for (const auto& [before, b] : best(scores, PART_CANDIDATES * PART_CANDIDATES))
                for (const auto& [reading, r] : best(readings, PART_CANDIDATES))
                    raise(combined,
                          before.isEmpty() ? reading : before + QLatin1Char(' ') + reading,
                          b + r - PART_COST);
            scores = std::move(combined);
        }
    }
    QStringList ranked;
    for (const auto& [reading, points] : best(scores, scores.size()))
        ranked.append(reading);
    return ranked;
}
