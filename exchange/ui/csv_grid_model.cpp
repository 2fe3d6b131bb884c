#include "exchange/ui/csv_grid_model.h"

#include "phonebook/core/cp932_text.h"

#include <QFont>

CsvGridModel::CsvGridModel(const CsvGrid& grid, const int& rowCount,
                           const CsvColumnCategories& categories, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), rowCount_(rowCount), categories_(categories)
{
}

int CsvGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rowCount_;
}

int CsvGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MAX_CSV_COLUMNS;
}

QVariant CsvGridModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount_)
        return {};
    return fromCp932(grid_.cell(index.row(), index.column()));
}

QVariant CsvGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= MAX_CSV_COLUMNS)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(csvCategoryText(categories_[static_cast<std::size_t>(section)]));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    if (role == Qt::FontRole && section == focusedColumn_) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

void CsvGridModel::replaceRows(const std::function<void()>& change)
{
    beginResetModel();
    change();
    endResetModel();
}

void CsvGridModel::categoriesChanged()
{
    emit headerDataChanged(Qt::Horizontal, 0, MAX_CSV_COLUMNS - 1);
}

void CsvGridModel::setFocusedColumn(int column)
{
    if (column == focusedColumn_)
        return;
    const int before = focusedColumn_;
    focusedColumn_ = column;
    for (int section : {before, column})
        if (section >= 0)
            emit headerDataChanged(Qt::Horizontal, section, section);
}
