#pragma once
// The open book as the list shows it: one row per entry in 16 columns. A cell whose field breaks
// the record check's rule is marked (a background colour and a mark, the rule as its tooltip);
// a secret entry's name carries a mark. The model follows the document's signals.

#include <QAbstractTableModel>

#include "phonebook/core/record_check.h"
#include "phonebook/core/tel_book.h"

#include <vector>

class BookDocument;

constexpr int BOOK_COLUMN_COUNT = 16;

// The header of a column and the longest text it shows whole (UTF-8).
const char* bookColumnHeader(int column);
const char* bookColumnWidestText(int column);
// The text of one cell of entry as the list shows it.
QString bookCellText(const TelEntry& entry, int column);

// The field a column shows, or None for a column the record check does not look at.
CheckedField checkedFieldOfColumn(int column);

class BookTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BookTableModel(const BookDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The message about the entries that break a rule: the first of them with its fields
    // ("2件目「佐藤花子」の電話番号１に使えない文字があります") and how many more there are;
    // empty when every entry passes.
    QString checkMessage() const;

private:
    void onEntryChanged(int index);
    void resetFromDocument();
    void checkEveryEntry();

    const BookDocument& document_;
    std::vector<FieldSet> failing_; // per row, the fields that break their rule
    int rows_ = 0;
};
