#include "phonebook/core/book_table_model.h"

#include "phonebook/core/book_document.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"

#include <QBrush>
#include <QColor>
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

constexpr int MARK_SIZE = 32;

// A mark for a cell: draw paints it, antialiased, on a transparent square of MARK_SIZE.
template <typename Draw> QIcon paintedMark(Draw draw)
{
    QImage image(MARK_SIZE, MARK_SIZE, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

// The mark beside the name of a secret entry: 秘 in a red circle.
const QIcon& secretMark()
{
    static const QIcon mark = paintedMark([](QPainter& painter) {
        painter.setPen(QPen(QColor(0xC0, 0x20, 0x20), 3));
        painter.drawEllipse(QRectF(2, 2, MARK_SIZE - 4, MARK_SIZE - 4));
        QFont font = painter.font();
        font.setPixelSize(MARK_SIZE / 2);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, MARK_SIZE, MARK_SIZE), Qt::AlignCenter, QStringLiteral("秘"));
    });
    return mark;
}

// The mark in a cell whose field breaks its rule: an exclamation mark in an orange triangle,
// seen also by those who do not tell the cell's colour apart.
const QIcon& ruleBrokenMark()
{
    static const QIcon mark = paintedMark([](QPainter& painter) {
        constexpr double SIZE = MARK_SIZE;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xE0, 0x70, 0x00));
        const QPointF corners[] = {{SIZE / 2, 1}, {SIZE - 1, SIZE - 2}, {1, SIZE - 2}};
        painter.drawPolygon(corners, 3);
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(SIZE / 2 - 2, 10, 4, 12));
        painter.drawEllipse(QPointF(SIZE / 2, SIZE - 6.5), 2.2, 2.2);
    });
    return mark;
}

const QColor RULE_BROKEN_BACKGROUND(0xFF, 0xD8, 0xD0);

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

CheckedField checkedFieldOfColumn(int column)
{
    if (column == 1)
        return CheckedField::Furigana;
    if (column >= 4 && column <= 8 && column % 2 == 0)
        return static_cast<CheckedField>(static_cast<int>(CheckedField::Tel1) + (column - 4) / 2);
    if (column >= 10 && column <= 14 && column % 2 == 0)
        return static_cast<CheckedField>(static_cast<int>(CheckedField::Mail1) + (column - 10) / 2);
    return CheckedField::None;
}

BookTableModel::BookTableModel(const BookDocument& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document)
{
    checkEveryEntry();
    connect(&document, &BookDocument::bookReset, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryInserted, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryRemoved, this, &BookTableModel::resetFromDocument);
    connect(&document, &BookDocument::entryChanged, this, &BookTableModel::onEntryChanged);
}

int BookTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int BookTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : BOOK_COLUMN_COUNT;
}

QVariant BookTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const TelEntry& entry = document_.entry(static_cast<std::uint32_t>(index.row()));
    if (index.column() == 0 && entry.secret) {
        if (role == Qt::DecorationRole)
            return secretMark();
        if (role == Qt::ToolTipRole)
            return QStringLiteral("シークレット");
    }
    const CheckedField field = checkedFieldOfColumn(index.column());
    if (field != CheckedField::None &&
        (failing_[static_cast<std::size_t>(index.row())] & fieldBit(field))) {
        if (role == Qt::BackgroundRole)
            return QBrush(RULE_BROKEN_BACKGROUND);
        if (role == Qt::ForegroundRole) // readable on the light background in a dark theme too
            return QBrush(Qt::black);
        if (role == Qt::DecorationRole)
            return ruleBrokenMark();
        if (role == Qt::ToolTipRole)
            return QString::fromUtf8(checkedFieldRule(field));
    }
    if (role != Qt::DisplayRole)
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

QString BookTableModel::checkMessage() const
{
    int first = -1;
    int others = 0;
    for (int row = 0; row < rows_; ++row) {
        if (failing_[static_cast<std::size_t>(row)] == 0)
            continue;
        if (first < 0)
            first = row;
        else
            ++others;
    }
    if (first < 0)
        return {};
    QString message = entryProblem(document_.entry(static_cast<std::uint32_t>(first)), first,
                                   failing_[static_cast<std::size_t>(first)]);
    if (others > 0)
        message += QStringLiteral("\nほかに%1件のデータにも直す所があります。印の付いた欄を確か"
                                  "めてください。")
                       .arg(others);
    return message;
}

void BookTableModel::checkEveryEntry()
{
    const TelBook& book = document_.book();
    rows_ = static_cast<int>(std::min(book.count, MAX_TEL_ENTRIES));
    failing_.assign(static_cast<std::size_t>(rows_), 0);
    for (int row = 0; row < rows_; ++row)
        failing_[static_cast<std::size_t>(row)] = failingFields(book.entries[row]);
}

void BookTableModel::resetFromDocument()
{
    beginResetModel();
    checkEveryEntry();
    endResetModel();
}

void BookTableModel::onEntryChanged(int index)
{
    if (index < 0 || index >= rows_)
        return;
    failing_[static_cast<std::size_t>(index)] =
        failingFields(document_.entry(static_cast<std::uint32_t>(index)));
    emit dataChanged(this->index(index, 0), this->index(index, BOOK_COLUMN_COUNT - 1));
}
