#include "phonebook/core/gojuon_key.h"

#include "phonebook/core/cp932_text.h"

#include <algorithm>
#include <array>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr char16_t HIRAGANA_FIRST = 0x3041;
constexpr char16_t HIRAGANA_LAST = 0x3096;
constexpr char16_t HIRAGANA_TO_KATAKANA = 0x60;
constexpr char16_t KATAKANA_FIRST = 0x30A1; // ァ
constexpr char16_t KATAKANA_LAST = 0x30F6;  // ヶ
constexpr char16_t VOICED_MARK = 0x3099;
constexpr char16_t SEMI_VOICED_MARK = 0x309A;
constexpr char16_t LONG_MARK = 0x30FC;
// Letters and digits are moved above every kana into the private use area, keeping their order.
constexpr char16_t AFTER_KANA = 0xE000;
constexpr char16_t LAST_KEY = 0xF8FF;

// The plain kana of a small one (ァ→ア, ッ→ツ, ャ→ヤ, ヮ→ワ, ヵ→カ, ヶ→ケ), other kana as they are.
char16_t plainKana(char16_t kana)
{
    switch (kana) {
    case 0x30A1:
    case 0x30A3:
    case 0x30A5:
    case 0x30A7:
    case 0x30A9:
    case 0x30C3:
    case 0x30E3:
    case 0x30E5:
    case 0x30E7:
    case 0x30EE:
        return kana + 1;
    case 0x30F5:
        return 0x30AB;
    case 0x30F6:
        return 0x30B1;
    default:
        return kana;
    }
}

// The first kana of each row: ア カ サ タ ナ ハ マ ヤ ラ ワ, and the end of the katakana.
constexpr std::array<char16_t, GOJUON_ROW_COUNT> ROW_STARTS = {
    0x30A1, 0x30AB, 0x30B5, 0x30BF, 0x30CA, 0x30CF, 0x30DE, 0x30E4, 0x30E9, 0x30EF, 0x30F7};

} // namespace

QString foldKana(const QString& text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= HIRAGANA_FIRST && u <= HIRAGANA_LAST)
            c = QChar(static_cast<char16_t>(u + HIRAGANA_TO_KATAKANA));
    }
    return folded.toCaseFolded();
}

QString gojuonKey(const QString& reading)
{
    const QString parts = foldKana(reading).normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(parts.size());
    for (QChar c : parts) {
        const char16_t u = c.unicode();
        if (u == VOICED_MARK || u == SEMI_VOICED_MARK || u == LONG_MARK)
            continue;
        if (u >= KATAKANA_FIRST && u <= KATAKANA_LAST)
            key.append(QChar(plainKana(u)));
        else if (c.isLetterOrNumber())
            key.append(QChar(static_cast<char16_t>(AFTER_KANA + std::min<char16_t>(u, 0x0FFF))));
    }
    if (key.isEmpty())
        key.append(QChar(LAST_KEY));
    return key;
}

int gojuonRowOf(const QString& key)
{
    if (key.isEmpty())
        return GOJUON_OTHER_ROW;
    const char16_t first = key.front().unicode();
    if (first < ROW_STARTS.front() || first >= ROW_STARTS.back())
        return GOJUON_OTHER_ROW;
    return static_cast<int>(std::upper_bound(ROW_STARTS.begin(), ROW_STARTS.end(), first) -
                            ROW_STARTS.begin()) -
           1;
}

bool readingOrderLess(const QString& keyA, const QString& nameA, const QString& keyB,
                      const QString& nameB)
{
    if (const int byReading = QString::compare(keyA, keyB); byReading != 0)
        return byReading < 0;
    return QString::compare(nameA, nameB) < 0;
}

void sortBookByReading(TelBook& book)
{
    const std::uint32_t count = std::min(book.count, MAX_TEL_ENTRIES);
    std::vector<QString> readingKeys(count);
    std::vector<QString> names(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        readingKeys[i] = gojuonKey(fromCp932(book.entries[i].furigana));
        names[i] = fromCp932(book.entries[i].name);
    }
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return readingOrderLess(readingKeys[a], names[a], readingKeys[b], names[b]);
    });
    const auto before = std::make_unique<TelBook>(book);
    for (std::uint32_t i = 0; i < count; ++i)
        book.entries[i] = before->entries[order[i]];
}
