#pragma once
// The open book as the list shows it: one row per entry in 16 columns, as far as the record
// check lets the book through. The row of the first entry that fails the check is the last one,
// filled up to and including the rejected field. A secret entry's name carries a mark. The model
// follows the document's signals.

#include <QAbstractTableModel>

#include "phonebook/core/tel_book.h"

class BookDocument;

constexpr int BOOK_COLUMN_COUNT = 16;

// The header of a column and the longest text it shows whole (UTF-8).
const char* bookColumnHeader(int column);
const char* bookColumnWidestText(int column);
// The text of one cell of entry as the list shows it.
QString bookCellText(const TelEntry& entry, int column);

// How much of book the record check lets through.
struct BookListing {
    int rows;
    int lastColumn;      // of the last row
    const char* message; // what the check said about the last row (UTF-8); null when all passed
};
BookListing listBook(const TelBook& book);

class BookTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit BookTableModel(const BookDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What the record check said about the last row (UTF-8), or null when every entry passed.
    const char* checkMessage() const { return listed_.message; }

private:
    void onEntryChanged(int index);
    void resetFromDocument();

    const BookDocument& document_;
    BookListing listed_;
};
