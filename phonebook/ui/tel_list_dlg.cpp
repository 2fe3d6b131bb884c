#include "phonebook/ui/tel_list_dlg.h"

#include "phonebook/core/app_state.h"
#include "phonebook/core/cp932_text.h"
#include "phonebook/core/record_check.h"
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
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int COLUMN_COUNT = 16;

struct ColumnSpec {
    const char* header;
    const char* widest; // the longest text the column shows whole at the list's font
};

// The columns in their order. Each is as wide as its header or its widest usual content,
// whichever is wider, at the font in use: a name of eight kanji, a reading of fourteen
// half-width kana, an eleven-digit number, a twenty-character address with capitals.
constexpr ColumnSpec COLUMNS[COLUMN_COUNT] = {
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
        return COLUMN_COUNT - 1;
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
    return COLUMN_COUNT - 1;
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

QString cellText(const TelEntry& entry, int column)
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

// A cell of the list. Its text is made from the entries as they were when the list was filled
// (a copy the cells share) only when it is asked for, which is when the cell is painted: a
// list of 1000 entries holds 16,000 cells, of which a screen shows a few hundred.
class EntryCell final : public QTableWidgetItem {
public:
    EntryCell(std::shared_ptr<const std::vector<TelEntry>> rows, int row, int column)
        : QTableWidgetItem(UserType), rows_(std::move(rows)), row_(row), column_(column)
    {
    }

    QVariant data(int role) const override
    {
        if ((role == Qt::DisplayRole || role == Qt::EditRole) && !textSet_)
            return cellText((*rows_)[static_cast<std::size_t>(row_)], column_);
        return QTableWidgetItem::data(role);
    }

    // A text set on the cell itself stands from then on, as with any item.
    void setData(int role, const QVariant& value) override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            textSet_ = true;
        QTableWidgetItem::setData(role, value);
    }

    QTableWidgetItem* clone() const override
    {
        auto* copy = new QTableWidgetItem(*this);
        copy->setText(text());
        return copy;
    }

private:
    std::shared_ptr<const std::vector<TelEntry>> rows_;
    int row_;
    int column_;
    bool textSet_ = false;
};

} // namespace

CTelListDlg::CTelListDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("電話帳一覧"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    list_ = new BookListView(this);
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
    fillList();
    appState().selectedIndex = -1;
    appState().filePath.clear();
    updateMenuState();

    connect(list_, &QTableWidget::clicked, this, &CTelListDlg::onClicked);
    connect(list_, &QTableWidget::doubleClicked, this, [this] { runTableCommand(ID_LIST_EDIT); });
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
    connect(addBarCommand(ID_LIST_CANCEL, "キャンセル"), &QAction::triggered, this,
            &QDialog::reject);
    connect(addBarCommand(ID_HELP, "ヘルプ"), &QAction::triggered, this, &requestHelp);
}

void CTelListDlg::initColumns()
{
    list_->setColumnCount(COLUMN_COUNT);
    for (int c = 0; c < COLUMN_COUNT; ++c) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(COLUMNS[c].header));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        list_->setHorizontalHeaderItem(c, header);
        list_->setColumnWidth(c, std::max(list_->horizontalHeader()->sectionSizeHint(c),
                                          contentWidth(QString::fromUtf8(COLUMNS[c].widest))));
    }
}

int CTelListDlg::contentWidth(const QString& text) const
{
    // A cell's text sits between two margins of the style's, and the grid line takes one pixel.
    const int margin =
        list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
    return list_->fontMetrics().horizontalAdvance(text) + 2 * margin + 1;
}

void CTelListDlg::fillList()
{
    const TelBook& book = telBook();
    // The record check decides first how many rows there are and how far the last one goes,
    // so the rows are made in one step rather than one insertion at a time.
    const int entries = static_cast<int>(std::min(book.count, MAX_TEL_ENTRIES));
    int rows = entries;
    int lastColumnOfLastRow = COLUMN_COUNT - 1;
    const char* message = nullptr;
    for (int i = 0; i < entries; ++i) {
        const EntryCheck check = checkEntry(book.entries[i]);
        if (!check.ok()) {
            rows = i + 1;
            lastColumnOfLastRow = lastColumnFor(check.failed);
            message = check.message;
            break;
        }
    }
    const auto listed =
        std::make_shared<const std::vector<TelEntry>>(book.entries, book.entries + rows);
    list_->setRowCount(rows);
    {
        // Each item put in tells the view that its cell changed, which costs more than making
        // the item; nothing listens to single cells while the rows are new, so the view is told
        // once, by repainting, when all are in.
        const QSignalBlocker quiet(list_->model());
        for (int row = 0; row < rows; ++row) {
            const int lastColumn = row + 1 == rows ? lastColumnOfLastRow : COLUMN_COUNT - 1;
            for (int c = 0; c <= lastColumn; ++c)
                list_->setItem(row, c, new EntryCell(listed, row, c));
        }
    }
    list_->viewport()->update();
    updateMenuState();
    if (message)
        showMessage(message);
}

void CTelListDlg::refreshList()
{
    list_->setRowCount(0);
    list_->setCurrentIndex(QModelIndex());
    fillList();
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
