#pragma once
// The book as the list shows it after sorting and searching: the book's own order (the default),
// reading order or the order of a column, narrowed to the entries a search text finds. The book
// itself never changes; mapToSource gives the book's row of a row shown.

#include <QSortFilterProxyModel>

#include <vector>

class BookDocument;
class BookTableModel;

// The column the reading is shown in; sorting by it is reading order.
constexpr int READING_COLUMN = 1;

class BookSortFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    BookSortFilterModel(BookTableModel& source, const BookDocument& document,
                        QObject* parent = nullptr);

    // Shows only the entries whose name, reading, numbers or mail addresses hold text, kana
    // written any way and hyphens in numbers left out; all for an empty text.
    void setSearchText(const QString& text);
    const QString& searchText() const { return searchText_; }

    bool inReadingOrder() const;
    // The first row shown whose reading starts in gojuonRow (or, when none does, in a later
    // row), or -1 when no row is. Meant for reading order.
    int firstRowOfGojuonRow(int gojuonRow) const;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    // What sorting and searching look at in one entry, worked out once per change of the book.
    struct RowKeys {
        QString name;
        QString readingKey;
        // Folded name, reading, mail addresses and numbers without hyphens, one per line.
        QString text;
    };
    const RowKeys& keys(int sourceRow) const;
    RowKeys keysOf(int sourceRow) const;
    void onSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    const BookDocument& document_;
    mutable std::vector<RowKeys> keys_;
    mutable bool keysStale_ = true;
    QString searchText_;
    QString foldedSearch_;
    QString digitSearch_;
};
