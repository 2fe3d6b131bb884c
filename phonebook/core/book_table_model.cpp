#include "phonebook/core/book_table_model.h"

#include "phonebook/core/book_document.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace {

struct ColumnSpec {
    const char* header;
    const char* widest;
};

// The columns in their order. Each is as wide as its header or its widest usual content,
// whichever is wider, at the font in use: a name of eight kanji, a reading of fourteen
// half-width kana, an eleven-digit number, a twenty-character address with capitals.
constexpr ColumnSpec COLUMNS[BOOK_COLUMN_COUNT] = {
    {"名前", "漢字漢字漢字漢字"},
    {"フリガナ", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾ"},
    {"グループ", "9"},
    {"種別", "携帯電話"},
    {"電話番号１", "09012345678"},
    {"種別", "携帯電話"},
    {"電話番号２", "09012345678"},
    {"種別", "携帯電話"},
    {"電話番号３", "09012345678"},
    {"種別", "会社ＰＣ"},
    {"メールアドレス１", "Watanabe.M@Email.com"},
    {"種別", "会社ＰＣ"},
    {"メールアドレス２", "Watanabe.M@Email.com"},
    {"種別", "会社ＰＣ"},
    {"メールアドレス３", "Watanabe.M@Email.com"},
    {"メモ", "予約は平日の午前中のみ"},
};

// The last column a row gets when the record check stops at a field: the rejected field's own
// column is still filled, the ones after it stay empty.
int lastColumnFor(CheckedField failed)
{
    switch (failed) {
    case CheckedField::None:
        return BOOK_COLUMN_COUNT - 1;
    case CheckedField::Furigana:
        return 1;
    case CheckedField::Tel1:
    case CheckedField::Tel2:
    case CheckedField::Tel3:
        return 2 * (static_cast<int>(failed) - static_cast<int>(CheckedField::Tel1) + 1) + 2;
    case CheckedField::Mail1:
    case CheckedField::Mail2:
    case CheckedField::Mail3:
        return 2 * (static_cast<int>(failed) - static_cast<int>(CheckedField::Mail1) + 1) + 8;
    }
    return BOOK_COLUMN_COUNT - 1;
}

// The kind texts as the list shows them, converted once for every code.
template <const char* (*TEXT)(std::uint8_t)> const QString& kindLabel(std::uint8_t kind)
{
    static const std::array<QString, 256> labels = [] {
        std::array<QString, 256> all;
        for (int code = 0; code < 256; ++code)
            all[static_cast<std::size_t>(code)] =
                QString::fromUtf8(TEXT(static_cast<std::uint8_t>(code)));
        return all;
    }();
    return labels[kind];
}

// The mark beside the name of a secret entry: 秘 in a red circle.
const QIcon& secretMark()
{
    static const QIcon mark = [] {
        constexpr int SIZE = 32;
        QImage image(SIZE, SIZE, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3));
        painter.drawEllipse(QRectF(2, 2, SIZE - 4, SIZE - 4));
        QFont font = painter.font();
        font.setPixelSize(SIZE / 2);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, SIZE, SIZE), Qt::AlignCenter, QStringLiteral("秘"));
        painter.end();
        return QIcon(QPixmap::fromImage(image));
    }();
    return mark;
}

} // namespace

const char* bookColumnHeader(int column)
{
    return COLUMNS[column].header;
}

const char* bookColumnWidestText(int column)
{
    return COLUMNS[column].widest;
}

QString bookCellText(const TelEntry& entry, int column)
{
    if (column == 0)
        return fromCp932(entry.name);
    if (column == 1)
        return fromCp932(entry.furigana);
    if (column == 2)
        return QString::number(entry.group);
    if (column <= 8) {
        const TelNumber& slot = entry.tel[(column - 3) / 2];
        if (column % 2 == 0)
            return fromCp932(slot.number);
        return slot.number[0] ? kindLabel<telKindText>(slot.kind) : QString();
    }
    if (column <= 14) {
        const MailAddress& slot = entry.mail[(column - 9) / 2];
        if (column % 2 == 0)
            return fromCp932(slot.address);
        return slot.address[0] ? kindLabel<mailKindText>(slot.kind) : QString();
    }
    return fromCp932(entry.memo);
}

BookListing listBook(const TelBook& book)
{
    const int entries = static_cast<int>(std::min(book.count, MAX_TEL_ENTRIES));
    for (int i = 0; i < entries; ++i) {
        const EntryCheck check = checkEntry(book.entries[i]);
        if (!check.ok())
            return {i + 1, lastColumnFor(check.failed), check.message};
    }
    return {entries, BOOK_COLUMN_COUNT - 1, nullptr};
}

BookTableModel::BookTableModel(const BookDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document), listed_(listBook(document.book()))
{
    connect(&document, &BookDocument::bookReset, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryInserted, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryRemoved, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryChanged, this, &BookTableModel::onEntryChanged);
}

int BookTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : listed_.rows;
}

int BookTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : BOOK_COLUMN_COUNT;
}

QVariant BookTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= listed_.rows)
        return {};
    const TelEntry& entry = document_.entry(static_cast<std::uint32_t>(index.row()));
    if (index.column() == 0 && entry.secret) {
        if (role == Qt::DecorationRole)
            return secretMark();
        if (role == Qt::ToolTipRole)
            return QStringLiteral("シークレット");
    }
    if (role != Qt::DisplayRole)
        return {};
    if (index.row() + 1 == listed_.rows && index.column() > listed_.lastColumn)
        return {};
    return bookCellText(entry, index.column());
}

QVariant BookTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < BOOK_COLUMN_COUNT) {
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(COLUMNS[section].header);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

void BookTableModel::resetFromDocument()
{
    beginResetModel();
    listed_ = listBook(document_.book());
    endResetModel();
}

// A changed entry can end the check earlier or let more of the book through; only when the
// rows stay as they were is it one row's worth of news.
void BookTableModel::onEntryChanged(int index)
{
    const BookListing now = listBook(document_.book());
    if (now.rows != listed_.rows || now.lastColumn != listed_.lastColumn) {
        resetFromDocument();
        return;
    }
    listed_ = now;
    if (index < listed_.rows)
        emit dataChanged(this->index(index, 0), this->index(index, BOOK_COLUMN_COUNT - 1));
}
