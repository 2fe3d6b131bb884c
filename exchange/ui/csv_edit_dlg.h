#pragma once
// The CSV column assignment dialog: shows the rows read from a CSV file, lets the user delete
// rows and give the categories of an entry to columns (a click on a column header gives it the
// category chosen in the box), and on 決定 replaces the phone book with the remaining rows.

#include "exchange/core/csv_assignment.h"

#include <QDialog>
#include <QHash>

class CsvGridModel;
class QAction;
class QComboBox;
class QMenuBar;
class QTableView;

// Menu command identifiers of the dialog.
enum CsvEditCommandId {
    ID_CSV_DECIDE = 32817,
    ID_CSV_CANCEL = 32818,
    ID_CSV_DELETE = 32821,
    ID_CSV_HELP = 57670,
};

class CCsvEdit final : public QDialog {
    Q_OBJECT
public:
    // Takes the cells of csv as its working rows; nothing is written back before 決定, which fills
    // book with the rows as assigned. Without a reading column, 決定 gives the entries
    // proposer's readings of their names.
    explicit CCsvEdit(CsvImport& csv, TelBook& book, ReadingProposer proposer = {},
                      QWidget* parent = nullptr);

    QTableView* list() const { return list_; }
    QComboBox* categoryBox() const { return categoryBox_; }
    QAction* commandAction(int id) const { return actions_.value(id); }
    int editRowCount() const { return editRowCount_; }
    const CsvColumnCategories& columnCategory() const { return columnCategory_; }

public slots:
    // キャンセル, Escape and the window's close button: asks first when rows were deleted or
    // columns assigned.
    void reject() override;

protected:
    // Enter or Space in the list gives the column of the cell in focus the category chosen in
    // the box, as a click on its header does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    QAction* addCommand(int id, const char* text);

    void onHeaderClicked(int column);
    void onDelete();
    void onDecide();
    bool isChanged() const;

    CsvImport& csv_;
    TelBook& book_;
    ReadingProposer proposer_;
    QMenuBar* menuBar_ = nullptr;
    QTableView* list_ = nullptr;
    QComboBox* categoryBox_ = nullptr;
    CsvGridModel* model_ = nullptr;
    QHash<int, QAction*> actions_;
    CsvColumnCategories columnCategory_{};
    int editRowCount_ = 0; // rows in csv_.work()
    int openedRowCount_ = 0;
};
