#pragma once
// The phone book list window: every entry of the book in 16 columns, sorted and searched as the
// user chooses, and the menu from which every operation on the book starts.

#include "phonebook/core/book_document.h"
#include "phonebook/ui/list_commands.h"

#include <QDialog>
#include <QHash>

#include <vector>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTableView;
class QVBoxLayout;
class BookSortFilterModel;
class BookTableModel;
class IndexBar;

// Menu command identifiers of the list window.
enum ListCommandId {
    ID_LIST_NEW = 32802,
    ID_LIST_IMPORT_VCARD = 32803,
    ID_LIST_IMPORT_CSV = 32804,
    ID_LIST_SAVE = 32805,
    ID_LIST_SAVE_AS = 32806,
    ID_LIST_EDIT = 32807,
    ID_LIST_ADD = 32808,
    ID_LIST_DELETE = 32809,
    ID_LIST_UNDO = 32860, // 元に戻す
    ID_LIST_REDO = 32861, // やり直し
    ID_LIST_IMPORT_CONTACTS = 32840,
    ID_LIST_EXPORT_SMARTPHONE = 32841,
    ID_LIST_REVIEW_READINGS = 32850, // フリガナを付け直す…
    ID_LIST_DEVICE_READ = 32823,
    ID_LIST_DEVICE_WRITE = 32824,
    ID_LIST_DEVICE_SYNC = 32856,     // 携帯電話と同期
    ID_LIST_RESTORE_BACKUP = 32851,  // バックアップから書き戻す…
    ID_LIST_SORT_BY_READING = 32852, // 読みの順に並べ替える (the book itself)
    ID_VIEW_BOOK_ORDER = 32853,      // 電話帳の順に表示
    ID_VIEW_READING_ORDER = 32854,   // 読みの順に表示
    ID_VIEW_SEARCH = 32855,          // 検索
    ID_LIST_TIDY_DUPLICATES = 32857, // 重複の整理…
    ID_LIST_CANCEL = 32791,
    ID_HELP = 57670,
};

class CTelListDlg : public QDialog {
    Q_OBJECT
public:
    // Shows document, which the window follows as it changes; commands carry out the menu's
    // commands that other windows serve.
    explicit CTelListDlg(BookDocument& document, ListCommands commands = {},
                         QWidget* parent = nullptr);

    BookDocument& document() const { return document_; }
    // Before a command that replaces the book (an import, 読み込み, 新規): asks
    // "電話帳データを破棄してよろしいでしょうか？" (No as the default) when the book holds
    // entries. True when the book may go; the command replaces it only once it has the new one.
    bool mayReplaceBook();
    enum class IncomingUse { Replace, Merge, Cancel };
    // Before a command that brings in a book (an import, 読み込み): an empty book is simply
    // replaced; for one with entries the user chooses まとめる (the default) or 置き換える,
    // which then asks mayReplaceBook's question as before.
    IncomingUse askIncomingUse();
    // The row holding the focus (the one last clicked or moved to), or -1.
    int focusedRow() const;
    // The book's rows of the selected entries, ascending; the focused row when none is selected.
    std::vector<std::uint32_t> selectedRows() const;

    QTableView* list() const { return list_; }
    QLineEdit* searchField() const { return search_; }
    IndexBar* indexBar() const { return indexBar_; }
    QStatusBar* statusLine() const { return statusLine_; }
    // Shows message in the status line for a few seconds ("保存しました").
    void showStatusMessage(const QString& message);
    QAction* commandAction(int id) const { return actions_.value(id); }
    // The command's text without its access key ("(&X)"), as the title of a window it opens.
    QString commandTitle(int id) const;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter on a row of the list opens it, as a double-click does; Escape does not close the
    // window (キャンセル does).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenu();
    void initColumns();
    // Pixels a cell needs to show text whole.
    int contentWidth(const QString& text) const;
    void updateMenuState();
    // After any change of the book: no row selected, the menu updated and the record check's
    // message due once the window is on the screen.
    void onBookChanged();
    // The record check's message, when it is due and an entry breaks a rule, over the shown
    // window with the list in focus.
    void showCheckMessage();
    void queueCheckMessage();
    QAction* addCommand(QMenu* menu, int id, const char* text);
    QAction* addBarCommand(int id, const char* text);

    void updateStatus();
    void updateTitle();
    void updateOrderChecks();
    void buildViewMenu();
    void buildSearchBar(QVBoxLayout* layout);
    void showInReadingOrder();
    void jumpToGojuonRow(int gojuonRow);

    void onNew();
    void onDelete();
    void onSortBookByReading();
    void runTableCommand(int id);

    QMenuBar* menuBar_ = nullptr;
    BookDocument& document_;
    const ListCommands commands_;
    BookTableModel* model_ = nullptr;
    BookSortFilterModel* shown_ = nullptr;
    QTableView* list_ = nullptr;
    QLineEdit* search_ = nullptr;
    IndexBar* indexBar_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QHash<int, QAction*> actions_;
    bool checkMessageDue_ = false;
};
