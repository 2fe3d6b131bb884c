#include "phonebook/ui/tel_list_dlg.h"

#include "phonebook/core/app_state.h"
#include "phonebook/core/book_table_model.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/book_list_view.h"
#include "phonebook/ui/list_commands.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"
#include "window_services/window_placement.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStyle>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

CTelListDlg::CTelListDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("電話帳一覧"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    model_ = new BookTableModel(document_, this);
    list_ = new BookTableView(this);
    list_->setModel(model_);
    list_->setObjectName(QStringLiteral("list1002"));
    status_ = new QLabel(this);
    status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    buildMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addWidget(list_);
    layout->addWidget(status_);
    // The layout's size, but never more than the smallest screen holds with the window's frame
    // and a panel: at the usual fonts of the desktops the layout would be wider than that.
    DialogUnits units(this);
    const QSize layoutSize(units.x(749), units.y(261) + menuBar_->sizeHint().height());
    resize(layoutSize.boundedTo(SMALLEST_SCREEN - WINDOW_FRAME_ROOM));

    initColumns();
    refreshList();
    appState().selectedIndex = -1;
    appState().filePath.clear();
    updateMenuState();

    connect(list_, &QTableView::clicked, this, &CTelListDlg::onClicked);
    connect(list_, &QTableView::doubleClicked, this, [this] { runTableCommand(ID_LIST_EDIT); });
    list_->installEventFilter(this);
}

QAction* CTelListDlg::addCommand(QMenu* menu, int id, const char* text)
{
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(QStringLiteral("command%1").arg(id));
    actions_.insert(id, action);
    return action;
}

QAction* CTelListDlg::addBarCommand(int id, const char* text)
{
    QAction* action = menuBar_->addAction(QString::fromUtf8(text));
    action->setObjectName(QStringLiteral("command%1").arg(id));
    actions_.insert(id, action);
    return action;
}

void CTelListDlg::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu(QStringLiteral("ファイル"));
    connect(addCommand(file, ID_LIST_NEW, "新規"), &QAction::triggered, this, &CTelListDlg::onNew);
    file->addSeparator();
    for (auto [id, text] : {std::pair{ID_LIST_IMPORT_VCARD, "vCard インポート"},
                            std::pair{ID_LIST_IMPORT_CSV, "CSV インポート"},
                            std::pair{ID_LIST_IMPORT_CONTACTS, "連絡先の取り込み…"},
                            std::pair{ID_LIST_EXPORT_SMARTPHONE, "スマートフォン用に書き出し…"},
                            std::pair{ID_LIST_SAVE, "保存"}})
        connect(addCommand(file, id, text), &QAction::triggered, this,
                [this, id = id] { runTableCommand(id); });
    file->addSeparator();
    connect(addCommand(file, ID_LIST_SAVE_AS, "名前を付けて保存"), &QAction::triggered, this,
            [this] { runTableCommand(ID_LIST_SAVE_AS); });
    connect(file, &QMenu::aboutToShow, this, &CTelListDlg::updateMenuState);

    QMenu* edit = menuBar_->addMenu(QStringLiteral("編集"));
    for (int id : {ID_LIST_EDIT, ID_LIST_ADD})
        connect(addCommand(edit, id, id == ID_LIST_EDIT ? "編集" : "追加"), &QAction::triggered,
                this, [this, id] { runTableCommand(id); });
    connect(addCommand(edit, ID_LIST_DELETE, "削除"), &QAction::triggered, this,
            &CTelListDlg::onDelete);
    edit->addSeparator();
    connect(addCommand(edit, ID_LIST_REVIEW_READINGS, "フリガナを付け直す…"), &QAction::triggered,
            this, [this] { runTableCommand(ID_LIST_REVIEW_READINGS); });

    for (int id : {ID_LIST_DEVICE_READ, ID_LIST_DEVICE_WRITE})
        connect(addBarCommand(id, id == ID_LIST_DEVICE_READ ? "読み込み" : "書き込み"),
                &QAction::triggered, this, [this, id] { runTableCommand(id); });
    connect(addBarCommand(ID_LIST_RESTORE_BACKUP, "バックアップから書き戻す…"), &QAction::triggered,
            this, [this] { runTableCommand(ID_LIST_RESTORE_BACKUP); });
    connect(addBarCommand(ID_LIST_CANCEL, "キャンセル"), &QAction::triggered, this,
            &QDialog::reject);
    connect(addBarCommand(ID_HELP, "ヘルプ"), &QAction::triggered, this, &requestHelp);
}

void CTelListDlg::initColumns()
{
    for (int c = 0; c < BOOK_COLUMN_COUNT; ++c) {
        list_->setColumnWidth(c,
                              std::max(list_->horizontalHeader()->sectionSizeHint(c),
                                       contentWidth(QString::fromUtf8(bookColumnWidestText(c)))));
    }
}

int CTelListDlg::contentWidth(const QString& text) const
{
    // A cell's text sits between two margins of the style's, and the grid line takes one pixel.
    const int margin =
        list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
    return list_->fontMetrics().horizontalAdvance(text) + 2 * margin + 1;
}

void CTelListDlg::refreshList()
{
    // The window's copy keeps no history of its own: the program's book is where changes are
    // made, and each listing takes it over whole.
    document_.replace(telBook(), QString());
    document_.undoStack()->clear();
    list_->setCurrentIndex(QModelIndex());
    updateMenuState();
    if (const char* message = model_->checkMessage())
        showMessage(message);
}

bool CTelListDlg::askDiscard()
{
    return askYesNo("電話帳データを破棄してよろしいでしょうか？");
}

bool CTelListDlg::discardForImport()
{
    if (telBook().count == 0)
        return true;
    if (!askDiscard())
        return false;
    clearBook(telBook());
    refreshList();
    appState().selectedIndex = -1;
    return true;
}

int CTelListDlg::focusedRow() const
{
    const QModelIndex current = list_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CTelListDlg::updateMenuState()
{
    const bool hasEntries = telBook().count != 0;
    actions_.value(ID_LIST_SAVE)->setEnabled(hasEntries);
    actions_.value(ID_LIST_SAVE_AS)->setEnabled(hasEntries);
    actions_.value(ID_LIST_EXPORT_SMARTPHONE)->setEnabled(hasEntries);
}

void CTelListDlg::onNew()
{
    OperationScope operation(OP_NEW);
    appState().filePath.clear();
    if (telBook().count != 0 && !askDiscard())
        return;
    clearBook(telBook());
    refreshList();
    appState().selectedIndex = -1;
}

void CTelListDlg::onDelete()
{
    OperationScope operation(OP_DELETE);
    if (telBook().count == 0) {
        showMessage("削除するデータがありません");
        return;
    }
    const int row = focusedRow();
    if (row < 0) {
        showMessage("電話帳が選択されていません。");
        return;
    }
    appState().selectedIndex = row;
    removeEntry(telBook(), static_cast<std::uint32_t>(row));
    refreshList();
    appState().selectedIndex = -1;
}

void CTelListDlg::onClicked()
{
    const int row = focusedRow();
    if (row >= 0)
        appState().selectedIndex = row;
}

void CTelListDlg::runTableCommand(int id)
{
    ListCommands& table = listCommands();
    const ListCommands::Command* command = nullptr;
    switch (id) {
    case ID_LIST_IMPORT_VCARD:
        command = &table.importVCard;
        break;
    case ID_LIST_IMPORT_CSV:
        command = &table.importCsv;
        break;
    case ID_LIST_IMPORT_CONTACTS:
        command = &table.importContacts;
        break;
    case ID_LIST_EXPORT_SMARTPHONE:
        command = &table.exportForSmartphones;
        break;
    case ID_LIST_SAVE:
        command = &table.save;
        break;
    case ID_LIST_SAVE_AS:
        command = &table.saveAs;
        break;
    case ID_LIST_EDIT:
        command = &table.edit;
        break;
    case ID_LIST_ADD:
        command = &table.add;
        break;
    case ID_LIST_REVIEW_READINGS:
        command = &table.reviewReadings;
        break;
    case ID_LIST_DEVICE_READ:
        command = &table.deviceRead;
        break;
    case ID_LIST_DEVICE_WRITE:
        command = &table.deviceWrite;
        break;
    case ID_LIST_RESTORE_BACKUP:
        command = &table.restoreBackup;
        break;
    default:
        return;
    }
    // The application fills the whole table at start-up; a test may leave a command out.
    if (*command)
        (*command)(*this);
}

bool CTelListDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        AppState& state = appState();
        const int count = static_cast<int>(telBook().count);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
            if (state.selectedIndex > 0)
                --state.selectedIndex;
            break;
        case Qt::Key_Down:
            if (state.selectedIndex >= 0 && state.selectedIndex < count - 1)
                ++state.selectedIndex;
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}
