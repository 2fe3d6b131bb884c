#include "exchange/ui/csv_edit_dlg.h"

#include "exchange/ui/csv_grid_model.h"
#include "window_services/dialog_units.h"
#include "window_services/drop_down_list.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"
#include "window_services/wait_cursor.h"
#include "window_services/window_placement.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>

#include <utility>
#include <vector>

namespace {

constexpr int COLUMN_WIDTH = 100;

} // namespace

CCsvEdit::CCsvEdit(CsvImport& csv, TelBook& book, ReadingProposer proposer, QWidget* parent)
    : QDialog(parent), csv_(csv), book_(book), proposer_(std::move(proposer))
{
    const WaitCursor wait;
    setWindowTitle(QStringLiteral("CSV編集"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Escape is キャンセル; no button is the default, so Enter presses none.
    keepDialogKeys(*this);

    columnCategory_.fill(CSV_CAT_NONE);
    editRowCount_ = startCsvEdit(csv_);
    openedRowCount_ = editRowCount_;

    buildMenu();
    DialogUnits du(this);
    const int menuHeight = menuBar_->sizeHint().height();
    du.fitInto(621, 346, SMALLEST_SCREEN - WINDOW_FRAME_ROOM - QSize(0, menuHeight));
    auto placed = [&du, menuHeight](QWidget* widget, int x, int y, int w, int h) {
        QRect rect = du.rect(x, y, w, h);
        rect.translate(0, menuHeight);
        widget->setGeometry(rect);
    };

    auto* label = new QLabel(QStringLiteral("割当てカテゴリ"), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    placed(label, 8, 17, 64, 8);

    categoryBox_ = new QComboBox(this);
    categoryBox_->setObjectName(QStringLiteral("combo1216"));
    dropListBelow(*categoryBox_, 11);
    for (int code = 0; code < CSV_CATEGORY_COUNT; ++code)
        categoryBox_->addItem(QString::fromUtf8(csvCategoryText(static_cast<std::uint8_t>(code))));
    placed(categoryBox_, 82, 13, 99, 12);

    model_ = new CsvGridModel(csv_.work(), editRowCount_, columnCategory_, this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("list1037"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setWordWrap(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setDefaultSectionSize(COLUMN_WIDTH);
    list_->horizontalHeader()->setSectionsClickable(true);
    list_->horizontalHeader()->setHighlightSections(false);
    // The tab key leaves the list (256 columns) for the next control.
    list_->setTabKeyNavigation(false);
    list_->installEventFilter(this);
    placed(list_, 7, 40, 607, 299);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &CCsvEdit::onHeaderClicked);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                model_->setFocusedColumn(current.isValid() ? current.column() : -1);
            });

    categoryBox_->setCurrentIndex(CSV_CAT_NAME);
    setFixedSize(du.x(621), du.y(346) + menuHeight);
    menuBar_->setGeometry(0, 0, width(), menuHeight);
}

QAction* CCsvEdit::addCommand(int id, const char* text)
{
    QAction* action = menuBar_->addAction(QString::fromUtf8(text));
    action->setObjectName(QStringLiteral("command%1").arg(id));
    actions_.insert(id, action);
    return action;
}

void CCsvEdit::buildMenu()
{
    menuBar_ = new QMenuBar(this);
    connect(addCommand(ID_CSV_DECIDE, "決定(&O)"), &QAction::triggered, this, &CCsvEdit::onDecide);
    connect(addCommand(ID_CSV_CANCEL, "キャンセル(&C)"), &QAction::triggered, this,
            &CCsvEdit::reject);
    connect(addCommand(ID_CSV_DELETE, "削除(&D)"), &QAction::triggered, this, &CCsvEdit::onDelete);
    connect(addCommand(ID_CSV_HELP, "ヘルプ(&H)"), &QAction::triggered, this, &requestHelp);
}

void CCsvEdit::onHeaderClicked(int column)
{
    const CsvColumnCategories before = columnCategory_;
    assignCsvCategory(columnCategory_, column,
                      static_cast<std::uint8_t>(categoryBox_->currentIndex()));
    model_->categoriesChanged();
    for (int c = 0; c < MAX_CSV_COLUMNS; ++c)
        if (c == column || columnCategory_[c] != before[c])
            list_->setColumnWidth(c, COLUMN_WIDTH);
}

bool CCsvEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool assigns =
        key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!assigns || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (list_->currentIndex().isValid())
        onHeaderClicked(list_->currentIndex().column());
    return true;
}

void CCsvEdit::onDelete()
{
    std::vector<int> selected;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows())
        selected.push_back(index.row());
    if (selected.empty())
        return;
    model_->replaceRows([this, &selected] {
        editRowCount_ = deleteCsvRows(csv_.work(), editRowCount_, selected, csv_.scratch());
    });
}

void CCsvEdit::onDecide()
{
    if (const QString missing = missingCsvCategoriesMessage(columnCategory_); !missing.isEmpty()) {
        messages().showMessage(missing);
        return;
    }
    if (!askYesNo(hasCsvFuriganaColumn(columnCategory_) ? CSV_DECIDE_QUESTION
                                                        : CSV_DECIDE_PROPOSING_READINGS_QUESTION))
        return;
    decideCsvEdit(csv_, editRowCount_, columnCategory_);
    accept();
    applyCsvAssignment(csv_, book_, proposer_);
}

bool CCsvEdit::isChanged() const
{
    if (editRowCount_ != openedRowCount_)
        return true;
    for (std::uint8_t category : columnCategory_)
        if (category != CSV_CAT_NONE)
            return true;
    return false;
}

void CCsvEdit::reject()
{
    if (!isChanged() || askYesNo("ＣＳＶ編集処理を終了しますか？"))
        QDialog::reject();
}
