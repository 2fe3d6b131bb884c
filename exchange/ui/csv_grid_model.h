#pragma once
// The rows of a CSV cell table as a table model: cell texts are decoded only when the view
// asks for them, so a full file of 1000 rows x 256 columns opens at once.

#include "exchange/core/csv_assignment.h"

#include <QAbstractTableModel>

#include <functional>

class CsvGridModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // Shows the first rowCount rows of grid, headed by the categories; all three are read, not
    // owned, and must outlive the model.
    CsvGridModel(const CsvGrid& grid, const int& rowCount, const CsvColumnCategories& categories,
                 QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Runs change, which rewrites the rows of the grid or their number, as a reset of the model.
    void replaceRows(const std::function<void()>& change);
    // The categories of some columns changed.
    void categoriesChanged();
    // The column the keyboard is in, whose header is drawn in bold (-1: none).
    void setFocusedColumn(int column);

private:
    const CsvGrid& grid_;
    const int& rowCount_;
    const CsvColumnCategories& categories_;
    int focusedColumn_ = -1;
};
