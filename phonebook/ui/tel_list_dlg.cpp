#include "phonebook/ui/tel_list_dlg.h"

#include "phonebook/core/book_sort_filter_model.h"
#include "phonebook/core/book_table_model.h"
#include "phonebook/core/gojuon_key.h"
#include "phonebook/core/tel_book.h"
#include "phonebook/ui/book_list_view.h"
#include "phonebook/ui/index_bar.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"
#include "window_services/window_placement.h"

#include <QAbstractProxyModel>
#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyle>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <utility>

CTelListDlg::CTelListDlg(BookDocument& document, ListCommands commands, QWidget* parent)
    : QDialog(parent), document_(document), commands_(std::move(commands))
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    keepDialogKeys(*this);

    model_ = new BookTableModel(document_, this);
    shown_ = new BookSortFilterModel(*model_, document_, this);
    list_ = new BookTableView(this);
    list_->setModel(shown_);
    list_->setObjectName(QStringLiteral("list1002"));
    // A click on a column's header sorts by it, a second the other way round, a third shows the
    // book's own order again, which is where the list starts.
    list_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    list_->horizontalHeader()->setSortIndicatorClearable(true);
    list_->setSortingEnabled(true);

    statusLine_ = new QStatusBar(this);
    statusLine_->setSizeGripEnabled(false);
    fileLabel_ = new QLabel(statusLine_);
    countLabel_ = new QLabel(statusLine_);
    statusLine_->addWidget(fileLabel_, 1);
    statusLine_->addPermanentWidget(countLabel_);

    buildMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    buildSearchBar(layout);
    layout->addWidget(list_);
    layout->addWidget(statusLine_);
    // The layout's size, but never more than the smallest screen holds with the window's frame
    // and a panel: at the usual fonts of the desktops the layout would be wider than that.
    DialogUnits units(this);
    const QSize layoutSize(units.x(749), units.y(261) + menuBar_->sizeHint().height());
    resize(layoutSize.boundedTo(SMALLEST_SCREEN - WINDOW_FRAME_ROOM));

    initColumns();
    // Each opening of the window starts without a file: a save asks for one.
    document_.forgetFile();
    onBookChanged();
    updateTitle();
    updateOrderChecks();

    // The model connected first, so it has taken the change in when the window looks at it.
    for (auto signal :
         {&BookDocument::entryChanged, &BookDocument::entryInserted, &BookDocument::entryRemoved})
        connect(&document_, signal, this, &CTelListDlg::onBookChanged);
    connect(&document_, &BookDocument::bookReset, this, &CTelListDlg::onBookChanged);
    connect(list_, &QTableView::doubleClicked, this, [this] { runTableCommand(ID_LIST_EDIT); });
    connect(&document_, &BookDocument::filePathChanged, this, [this] {
        updateTitle();
        updateStatus();
    });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(shown_, signal, this, &CTelListDlg::updateStatus);
    connect(shown_, &QAbstractItemModel::modelReset, this, &CTelListDlg::updateStatus);
    connect(list_->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            &CTelListDlg::updateOrderChecks);
}

void CTelListDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (list_->hasFocus() && list_->currentIndex().isValid())
            runTableCommand(ID_LIST_EDIT);
        break;
    case Qt::Key_Escape:
        break;
    default:
        QDialog::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CTelListDlg::buildSearchBar(QVBoxLayout* layout)
{
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("検索（名前・フリガナ・電話番号・メールアドレス）"));
    search_->setClearButtonEnabled(true);
    // Escape in the field empties it; the window's own keys stay as they are.
    auto* clear = new QAction(search_);
    clear->setShortcut(Qt::Key_Escape);
    clear->setShortcutContext(Qt::WidgetShortcut);
    search_->addAction(clear);
    connect(clear, &QAction::triggered, search_, &QLineEdit::clear);
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        // The row in focus may be filtered away; no other entry takes its place unasked.
        list_->setCurrentIndex(QModelIndex());
        shown_->setSearchText(text);
        updateStatus();
    });

    indexBar_ = new IndexBar(this);
    connect(indexBar_, &IndexBar::rowChosen, this, &CTelListDlg::jumpToGojuonRow);

    auto* row = new QHBoxLayout;
    row->addWidget(search_, 1);
    row->addWidget(indexBar_);
    layout->addLayout(row);
    // Tab goes from the search field to the rows it found; the index buttons come after them.
    setTabOrder(search_, list_);
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
    QMenu* file = menuBar_->addMenu(QStringLiteral("ファイル(&F)"));
    QAction* newBook = addCommand(file, ID_LIST_NEW, "新規(&N)");
    newBook->setShortcut(QKeySequence::New);
    connect(newBook, &QAction::triggered, this, &CTelListDlg::onNew);
    file->addSeparator();
    for (auto [id, text] : {std::pair{ID_LIST_IMPORT_VCARD, "vCard インポート(&V)"},
                            std::pair{ID_LIST_IMPORT_CSV, "CSV インポート(&C)"},
                            std::pair{ID_LIST_IMPORT_CONTACTS, "連絡先の取り込み(&I)…"},
                            std::pair{ID_LIST_EXPORT_SMARTPHONE, "スマートフォン用に書き出し(&X)…"},
                            std::pair{ID_LIST_SAVE, "保存(&S)"}})
        connect(addCommand(file, id, text), &QAction::triggered, this,
                [this, id = id] { runTableCommand(id); });
    actions_.value(ID_LIST_IMPORT_CONTACTS)->setShortcut(QKeySequence::Open);
    actions_.value(ID_LIST_SAVE)->setShortcut(QKeySequence::Save);
    file->addSeparator();
    connect(addCommand(file, ID_LIST_SAVE_AS, "名前を付けて保存(&A)"), &QAction::triggered, this,
            [this] { runTableCommand(ID_LIST_SAVE_AS); });
    connect(file, &QMenu::aboutToShow, this, &CTelListDlg::updateMenuState);

    QMenu* edit = menuBar_->addMenu(QStringLiteral("編集(&E)"));
    for (int id : {ID_LIST_EDIT, ID_LIST_ADD})
        connect(addCommand(edit, id, id == ID_LIST_EDIT ? "編集(&E)" : "追加(&A)"),
                &QAction::triggered, this, [this, id] { runTableCommand(id); });
    QAction* remove = addCommand(edit, ID_LIST_DELETE, "削除(&D)");
    remove->setShortcut(QKeySequence::Delete);
    connect(remove, &QAction::triggered, this, &CTelListDlg::onDelete);
    edit->addSeparator();
    // Every change of the book can be taken back, the imports and 新規 included.
    QUndoStack* history = document_.undoStack();
    QAction* undo = addCommand(edit, ID_LIST_UNDO, "元に戻す(&U)");
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(history->canUndo());
    connect(undo, &QAction::triggered, history, &QUndoStack::undo);
    connect(history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    QAction* redo = addCommand(edit, ID_LIST_REDO, "やり直し(&R)");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo->setEnabled(history->canRedo());
    connect(redo, &QAction::triggered, history, &QUndoStack::redo);
    connect(history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    edit->addSeparator();
    connect(addCommand(edit, ID_LIST_REVIEW_READINGS, "フリガナを付け直す(&F)…"),
            &QAction::triggered, this, [this] { runTableCommand(ID_LIST_REVIEW_READINGS); });
    connect(addCommand(edit, ID_LIST_SORT_BY_READING, "読みの順に並べ替える(&O)"),
            &QAction::triggered, this, &CTelListDlg::onSortBookByReading);
    connect(addCommand(edit, ID_LIST_TIDY_DUPLICATES, "重複の整理(&T)…"), &QAction::triggered, this,
            [this] { runTableCommand(ID_LIST_TIDY_DUPLICATES); });
    buildViewMenu();

    for (int id : {ID_LIST_DEVICE_READ, ID_LIST_DEVICE_WRITE})
        connect(addBarCommand(id, id == ID_LIST_DEVICE_READ ? "読み込み(&R)" : "書き込み(&W)"),
                &QAction::triggered, this, [this, id] { runTableCommand(id); });
    connect(addBarCommand(ID_LIST_DEVICE_SYNC, "携帯電話と同期(&S)"), &QAction::triggered, this,
            [this] { runTableCommand(ID_LIST_DEVICE_SYNC); });
    connect(addBarCommand(ID_LIST_RESTORE_BACKUP, "バックアップから書き戻す(&B)…"),
            &QAction::triggered, this, [this] { runTableCommand(ID_LIST_RESTORE_BACKUP); });
    connect(addBarCommand(ID_LIST_CANCEL, "キャンセル(&C)"), &QAction::triggered, this,
            &QDialog::reject);
    connect(addBarCommand(ID_HELP, "ヘルプ(&H)"), &QAction::triggered, this, &requestHelp);
}

void CTelListDlg::buildViewMenu()
{
    QMenu* view = menuBar_->addMenu(QStringLiteral("表示(&V)"));
    auto* order = new QActionGroup(this);
    // Neither is checked while a column other than the reading's orders the list.
    order->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QAction* bookOrder = addCommand(view, ID_VIEW_BOOK_ORDER, "電話帳の順に表示(&B)");
    QAction* readingOrder = addCommand(view, ID_VIEW_READING_ORDER, "読みの順に表示(&Y)");
    for (QAction* action : {bookOrder, readingOrder}) {
        action->setCheckable(true);
        order->addAction(action);
    }
    connect(bookOrder, &QAction::triggered, this,
            [this] { list_->sortByColumn(-1, Qt::AscendingOrder); });
    connect(readingOrder, &QAction::triggered, this, &CTelListDlg::showInReadingOrder);
    view->addSeparator();
    QAction* find = addCommand(view, ID_VIEW_SEARCH, "検索(&F)");
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WindowShortcut);
    // The menu bar's actions work by their keys only while the window holds them.
    addAction(find);
    connect(find, &QAction::triggered, this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
}

void CTelListDlg::showInReadingOrder()
{
    list_->sortByColumn(READING_COLUMN, Qt::AscendingOrder);
}

void CTelListDlg::updateOrderChecks()
{
    actions_.value(ID_VIEW_BOOK_ORDER)->setChecked(shown_->sortColumn() < 0);
    actions_.value(ID_VIEW_READING_ORDER)->setChecked(shown_->inReadingOrder());
}

void CTelListDlg::jumpToGojuonRow(int gojuonRow)
{
    if (!shown_->inReadingOrder())
        showInReadingOrder();
    const int rows = shown_->rowCount();
    if (rows == 0)
        return;
    int row = shown_->firstRowOfGojuonRow(gojuonRow);
    // No entry in that row or after it: the last entry is the nearest.
    if (row < 0)
        row = rows - 1;
    const QModelIndex target = shown_->index(row, 0);
    list_->setCurrentIndex(target);
    list_->scrollTo(target, QAbstractItemView::PositionAtTop);
}

void CTelListDlg::updateStatus()
{
    const QString path = document_.filePath();
    fileLabel_->setText(path.isEmpty() ? QStringLiteral("（ファイルなし）")
                                       : QFileInfo(path).fileName());
    fileLabel_->setToolTip(path);
    countLabel_->setText(
        QStringLiteral("%1件中 %2件を表示").arg(document_.count()).arg(shown_->rowCount()));
}

void CTelListDlg::updateTitle()
{
    const QString path = document_.filePath();
    const QString title = QStringLiteral("電話帳一覧");
    setWindowTitle(
        path.isEmpty() ? title : QStringLiteral("%1 - %2").arg(QFileInfo(path).fileName(), title));
}

void CTelListDlg::showStatusMessage(const QString& message)
{
    constexpr int SHOWN_MS = 5000;
    statusLine_->showMessage(message, SHOWN_MS);
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

void CTelListDlg::onBookChanged()
{
    list_->setCurrentIndex(QModelIndex());
    updateMenuState();
    updateStatus();
    checkMessageDue_ = true;
    if (isVisible())
        queueCheckMessage();
}

void CTelListDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (checkMessageDue_)
        queueCheckMessage();
}

// Queued, so that the message comes after the window has been drawn (and after the command that
// changed the book has closed its own windows); several changes in a row give one message.
void CTelListDlg::queueCheckMessage()
{
    QMetaObject::invokeMethod(this, &CTelListDlg::showCheckMessage, Qt::QueuedConnection);
}

void CTelListDlg::showCheckMessage()
{
    if (!checkMessageDue_ || !isVisible())
        return;
    // A window a command opened over the list (its report) keeps the keyboard: the message
    // waits until it has closed rather than stand over it and take the focus behind it.
    if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        modal && modal != this) {
        connect(modal, &QDialog::finished, this, &CTelListDlg::queueCheckMessage,
                Qt::SingleShotConnection);
        return;
    }
    checkMessageDue_ = false;
    const QString message = model_->checkMessage();
    if (message.isEmpty())
        return;
    // The marked rows are where the user goes next: the keys move through the list at once.
    list_->setFocus(Qt::OtherFocusReason);
    messages().showMessage(message, this);
}

bool CTelListDlg::mayReplaceBook()
{
    return document_.count() == 0 || confirmLoss("電話帳データを破棄してよろしいでしょうか？");
}

CTelListDlg::IncomingUse CTelListDlg::askIncomingUse()
{
    if (document_.count() == 0)
        return IncomingUse::Replace;
    enum { MERGE, REPLACE, CANCEL };
    const int choice = messages().askChoice(
        QStringLiteral("電話帳にデータがあります。取り込むデータを電話帳にまとめますか、"
                       "電話帳を置き換えますか？"),
        {QStringLiteral("まとめる(&M)"), QStringLiteral("置き換える(&R)"),
         QStringLiteral("キャンセル")},
        MERGE, CANCEL, this);
    if (choice == MERGE)
        return IncomingUse::Merge;
    if (choice == REPLACE && mayReplaceBook())
        return IncomingUse::Replace;
    return IncomingUse::Cancel;
}

int CTelListDlg::focusedRow() const
{
    // The view may show the book through sorting or filtering models; the row is the book's.
    QModelIndex current = list_->currentIndex();
    while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(current.model()))
        current = proxy->mapToSource(current);
    return current.isValid() ? current.row() : -1;
}

void CTelListDlg::updateMenuState()
{
    const bool hasEntries = document_.count() != 0;
    actions_.value(ID_LIST_SAVE)->setEnabled(hasEntries);
    actions_.value(ID_LIST_SAVE_AS)->setEnabled(hasEntries);
    actions_.value(ID_LIST_EXPORT_SMARTPHONE)->setEnabled(hasEntries);
}

void CTelListDlg::onNew()
{
    // The file is forgotten even when the user keeps the entries.
    document_.forgetFile();
    if (mayReplaceBook())
        document_.clear();
}

void CTelListDlg::onDelete()
{
    if (document_.count() == 0) {
        showMessage("削除するデータがありません");
        return;
    }
    const std::vector<std::uint32_t> rows = selectedRows();
    if (rows.empty()) {
        showMessage("電話帳が選択されていません。");
        return;
    }
    if (!messages().confirmLoss(QStringLiteral("%1件を削除しますか？").arg(rows.size()), this))
        return;
    // One row goes alone, which leaves the rest of the list as it is.
    if (rows.size() == 1)
        document_.removeEntry(rows.front());
    else
        document_.removeEntries(rows);
}

std::vector<std::uint32_t> CTelListDlg::selectedRows() const
{
    std::vector<std::uint32_t> rows;
    for (QModelIndex index : list_->selectionModel()->selectedRows()) {
        while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(index.model()))
            index = proxy->mapToSource(index);
        rows.push_back(static_cast<std::uint32_t>(index.row()));
    }
    if (rows.empty() && focusedRow() >= 0)
        rows.push_back(static_cast<std::uint32_t>(focusedRow()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CTelListDlg::onSortBookByReading()
{
    if (document_.count() == 0)
        return;
    // One step back with 元に戻す: the whole book swapped for its sorted copy.
    auto sorted = std::make_unique<TelBook>(document_.book());
    sortBookByReading(*sorted);
    document_.replace(*sorted, document_.filePath());
}

void CTelListDlg::runTableCommand(int id)
{
    const ListCommands& table = commands_;
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
    case ID_LIST_TIDY_DUPLICATES:
        command = &table.tidyDuplicates;
        break;
    case ID_LIST_DEVICE_READ:
        command = &table.deviceRead;
        break;
    case ID_LIST_DEVICE_WRITE:
        command = &table.deviceWrite;
        break;
    case ID_LIST_DEVICE_SYNC:
        command = &table.deviceSync;
        break;
    case ID_LIST_RESTORE_BACKUP:
        command = &table.restoreBackup;
        break;
    default:
        return;
    }
    // The application fills the whole table; a test may leave a command out.
    if (*command)
        (*command)(*this);
}

QString CTelListDlg::commandTitle(int id) const
{
    static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)|&"));
    return commandAction(id)->text().remove(accessKey);
}
