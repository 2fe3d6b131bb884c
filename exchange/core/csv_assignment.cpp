#include "exchange/core/csv_assignment.h"

#include "exchange/core/text_conversions.h"
#include "phonebook/core/tel_book.h"

#include <algorithm>
#include <cstring>

#include <QStringList>

namespace {

constexpr const char* CATEGORY_TEXTS[CSV_CATEGORY_COUNT] = {
    "名前",       "フリガナ",   "グループ番号",     "シークレット",     "電話番号１",
    "電話番号２", "電話番号３", "メールアドレス１", "メールアドレス２", "メールアドレス３",
    "メモ",
};

constexpr std::size_t SHORT_FIELD_TEXT = NAME_FIELD_SIZE - 1; // name, furigana, numbers: 32
static_assert(FURIGANA_FIELD_SIZE - 1 == SHORT_FIELD_TEXT);
static_assert(NUMBER_FIELD_SIZE - 1 == SHORT_FIELD_TEXT);

// A single "1" marks a secret entry; "PUBLIC" and "PRIVATE" anywhere in the cell win over it.
std::uint8_t secretFlag(const char* text)
{
    if (std::strstr(text, "PUBLIC"))
        return 0;
    if (std::strstr(text, "PRIVATE"))
        return 1;
    return std::strcmp(text, "1") == 0 ? 1 : 0;
}

void applyCell(TelEntry& entry, std::uint8_t category, const char* text)
{
    const std::size_t length = std::strlen(text);
    switch (category) {
    case CSV_CAT_NAME:
        cutToField(entry.name, SHORT_FIELD_TEXT, text);
        break;
    case CSV_CAT_FURIGANA:
        cutToField(entry.furigana, SHORT_FIELD_TEXT, text);
        break;
    case CSV_CAT_GROUP:
        // Only a single character counts: "7" is group 7, "07" and "" are group 0.
        entry.group = length == 1 ? static_cast<std::uint8_t>(text[0] - '0') : 0;
        break;
    case CSV_CAT_SECRET:
        entry.secret = secretFlag(text);
        break;
    case CSV_CAT_TEL1:
    case CSV_CAT_TEL2:
    case CSV_CAT_TEL3:
        cutToField(entry.tel[category - CSV_CAT_TEL1].number, SHORT_FIELD_TEXT, text);
        break;
    case CSV_CAT_MAIL1:
    case CSV_CAT_MAIL2:
    case CSV_CAT_MAIL3:
        // An address cut short would be a wrong address, so a too-long one is left out.
        if (length >= 1 && length < ADDRESS_FIELD_SIZE)
            std::memcpy(entry.mail[category - CSV_CAT_MAIL1].address, text, length + 1);
        break;
    case CSV_CAT_MEMO:
        if (const char* colon = std::strchr(text, ':'))
            text = colon + 1;
        cutToField(entry.memo, MEMO_FIELD_SIZE - 1, text);
        break;
    default:
        break;
    }
}

} // namespace

const char* csvCategoryText(std::uint8_t code)
{
    return code < CSV_CATEGORY_COUNT ? CATEGORY_TEXTS[code] : "設定なし";
}

void assignCsvCategory(CsvColumnCategories& categories, int column, std::uint8_t category)
{
    for (std::uint8_t& other : categories)
        if (other == category)
            other = CSV_CAT_NONE;
    categories[static_cast<std::size_t>(column)] = category;
}

bool hasCsvFuriganaColumn(const CsvColumnCategories& categories)
{
    return std::find(categories.begin(), categories.end(), CSV_CAT_FURIGANA) != categories.end();
}

bool hasRequiredCsvCategories(const CsvColumnCategories& categories)
{
    return missingCsvCategoriesMessage(categories).isEmpty();
}

QString missingCsvCategoriesMessage(const CsvColumnCategories& categories)
{
    auto has = [&categories](std::uint8_t category) {
        return std::find(categories.begin(), categories.end(), category) != categories.end();
    };
    QStringList missing;
    if (!has(CSV_CAT_NAME))
        missing << QStringLiteral("名前");
    if (!has(CSV_CAT_TEL1) && !has(CSV_CAT_MAIL1))
        missing << QStringLiteral("電話番号１またはメールアドレス１");
    if (missing.isEmpty())
        return QString();
    return missing.join(QStringLiteral("、")) + QStringLiteral("が設定されていません");
}

int startCsvEdit(CsvImport& csv)
{
    copyCsvGrid(csv.work(), csv.cells());
    csv.assignment.fill(CSV_CAT_NONE);
    return csv.rowCount;
}

int deleteCsvRows(CsvGrid& work, int rowCount, std::span<const int> rows, CsvGrid& scratch)
{
    const int kept = copyCsvRowsExcept(scratch, work, rowCount, rows);
    copyCsvRows(work, scratch, rowCount);
    return kept;
}

void decideCsvEdit(CsvImport& csv, int rowCount, const CsvColumnCategories& categories)
{
    copyCsvGrid(csv.cells(), csv.work());
    csv.rowCount = rowCount;
    csv.assignment = categories;
}

void applyCsvAssignment(const CsvImport& csv, TelBook& book, const ReadingProposer& proposer)
{
    clearBook(book);
    const CsvGrid& grid = csv.cells();
    const CsvColumnCategories& categories = csv.assignment;
    // The assigned columns, in column order, so a row visits only them.
    std::array<int, MAX_CSV_COLUMNS> assigned;
    int assignedCount = 0;
    for (int column = 0; column < MAX_CSV_COLUMNS; ++column)
        if (categories[static_cast<std::size_t>(column)] != CSV_CAT_NONE)
            assigned[static_cast<std::size_t>(assignedCount++)] = column;
    const bool proposeReadings = proposer && !hasCsvFuriganaColumn(categories);
    const int rows = std::clamp(csv.rowCount, 0, MAX_CSV_ROWS);
    for (int row = 0; row < rows; ++row) {
        TelEntry& entry = book.entries[row];
        for (int i = 0; i < assignedCount; ++i) {
            const int column = assigned[static_cast<std::size_t>(i)];
            applyCell(entry, categories[static_cast<std::size_t>(column)], grid.cell(row, column));
        }
        if (proposeReadings) {
            // CSV インポート shows no report of its changes: the proposal's note goes nowhere.
            EntryReport notShown;
            fillMissingReading(entry, proposer, notShown);
        }
    }
    book.count = static_cast<std::uint32_t>(rows);
}
