#include "phonebook/core/book_sort_filter_model.h"

#include "phonebook/core/book_document.h"
#include "phonebook/core/book_table_model.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/gojuon_key.h"

namespace {

constexpr int GROUP_COLUMN = 2;

// A number as searched: digits and the rest without hyphens and blanks.
QString withoutSeparators(QString text)
{
    text.remove(QLatin1Char('-'));
    text.remove(QLatin1Char(' '));
    return text;
}

} // namespace

BookSortFilterModel::BookSortFilterModel(BookTableModel& source, const BookDocument& document,
                                         QObject* parent)
    : QSortFilterProxyModel(parent), document_(document)
{
    // Connected before the source is set, so the keys are current when this model re-sorts.
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { keysStale_ = true; });
    connect(&source, &QAbstractItemModel::dataChanged, this,
            &BookSortFilterModel::onSourceDataChanged);
    setSourceModel(&source);
    setDynamicSortFilter(true);
    // The book's own order until the user picks another.
    sort(-1);
}

void BookSortFilterModel::setSearchText(const QString& text)
{
    if (text == searchText_)
        return;
    searchText_ = text;
    foldedSearch_ = foldKana(text.trimmed());
    digitSearch_ = withoutSeparators(foldedSearch_);
    invalidateRowsFilter();
}

bool BookSortFilterModel::inReadingOrder() const
{
    return sortColumn() == READING_COLUMN && sortOrder() == Qt::AscendingOrder;
}

int BookSortFilterModel::firstRowOfGojuonRow(int gojuonRow) const
{
    const int rows = rowCount();
    for (int row = 0; row < rows; ++row) {
        const int sourceRow = mapToSource(index(row, 0)).row();
        if (gojuonRowOf(keys(sourceRow).readingKey) >= gojuonRow)
            return row;
    }
    return -1;
}

bool BookSortFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int column = left.column();
    if (column == READING_COLUMN) {
        const RowKeys& a = keys(left.row());
        const RowKeys& b = keys(right.row());
        return readingOrderLess(a.readingKey, a.name, b.readingKey, b.name);
    }
    const TelEntry& a = document_.entry(static_cast<std::uint32_t>(left.row()));
    const TelEntry& b = document_.entry(static_cast<std::uint32_t>(right.row()));
    if (column == GROUP_COLUMN)
        return a.group < b.group;
    // An empty cell sorts after every filled one.
    const QString textA = bookCellText(a, column);
    const QString textB = bookCellText(b, column);
    if (textA.isEmpty() != textB.isEmpty())
        return textB.isEmpty();
    return QString::compare(textA, textB) < 0;
}

bool BookSortFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (foldedSearch_.isEmpty())
        return true;
    const QString& text = keys(sourceRow).text;
    return text.contains(foldedSearch_) || (!digitSearch_.isEmpty() && text.contains(digitSearch_));
}

const BookSortFilterModel::RowKeys& BookSortFilterModel::keys(int sourceRow) const
{
    if (keysStale_) {
        const int rows = sourceModel()->rowCount();
        keys_.clear();
        keys_.reserve(static_cast<std::size_t>(rows));
        for (int row = 0; row < rows; ++row)
            keys_.push_back(keysOf(row));
        keysStale_ = false;
    }
    return keys_[static_cast<std::size_t>(sourceRow)];
}

BookSortFilterModel::RowKeys BookSortFilterModel::keysOf(int sourceRow) const
{
    const TelEntry& entry = document_.entry(static_cast<std::uint32_t>(sourceRow));
    RowKeys keys;
    keys.name = fromCp932(entry.name);
    const QString reading = fromCp932(entry.furigana);
    keys.readingKey = gojuonKey(reading);
    QString text = keys.name + QLatin1Char('\n') + reading + QLatin1Char('\n') +
                   QString(reading).remove(QLatin1Char(' '));
    for (const MailAddress& mail : entry.mail)
        if (mail.address[0])
            text += QLatin1Char('\n') + fromCp932(mail.address);
    for (const TelNumber& tel : entry.tel)
        if (tel.number[0])
            text += QLatin1Char('\n') + withoutSeparators(fromCp932(tel.number));
    keys.text = foldKana(text);
    // Kept for every entry until the book changes: no room beyond the text itself.
    keys.text.squeeze();
    keys.readingKey.squeeze();
    return keys;
}

void BookSortFilterModel::onSourceDataChanged(const QModelIndex& topLeft,
                                              const QModelIndex& bottomRight)
{
    if (keysStale_)
        return;
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
        keys_[static_cast<std::size_t>(row)] = keysOf(row);
}
