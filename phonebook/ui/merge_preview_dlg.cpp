#include "phonebook/ui/merge_preview_dlg.h"

#include "phonebook/ui/merge_texts.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <memory>

namespace {

enum Column { NAME_COLUMN, DIFFERENCE_COLUMN, CHOICE_COLUMN };

constexpr MatchClass CLASS_ORDER[] = {MatchClass::Same, MatchClass::Update, MatchClass::Confirm,
                                      MatchClass::MaybeSame, MatchClass::New};

// The choice column edits its text with a drop-down of the three choices; the other columns are
// read only, though their rows are editable items for the sake of the choice.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        if (index.column() != CHOICE_COLUMN)
            return nullptr;
        auto* box = new QComboBox(parent);
        box->addItems(CMergePreviewDlg::choiceTexts());
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

} // namespace

QStringList CMergePreviewDlg::choiceTexts()
{
    return {QStringLiteral("まとめる"), QStringLiteral("別の人として追加"),
            QStringLiteral("取り込まない")};
}

CMergePreviewDlg::CMergePreviewDlg(const TelBook& book, std::span<const TelEntry> incoming,
                                   QWidget* parent)
    : QDialog(parent), book_(book), incoming_(incoming),
      plan_(planMerge(std::span<const TelEntry>(book.entries, book.count), incoming))
{
    setWindowTitle(QStringLiteral("まとめて取り込む"));
    warning_ = new QLabel(this);
    warning_->setObjectName(QStringLiteral("mergeWarning"));
    warning_->setStyleSheet(QStringLiteral("color: #b00000;"));
    ui_ = buildMergeReviewLayout(
        *this, QStringLiteral("merge"),
        {QStringLiteral("取り込むデータ"),
         QStringLiteral("電話帳との違い（電話帳 → 取り込むデータ）"), QStringLiteral("取り込み方")},
        QStringLiteral("入りきらない値・食い違う値（電話帳の値が残ります）"), warning_);
    ui_.entries->setItemDelegate(new ChoiceDelegate(ui_.entries));
    // Moving through the rows opens no drop-down, so Space ticks the row reached; F2, a click on
    // the chosen cell or a double click opens it.
    ui_.entries->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed);
    resize(760, 560);

    fillEntries();
    refresh();
    connect(ui_.entries, &QTreeWidget::itemChanged, this, &CMergePreviewDlg::onItemChanged);
}

CMergePreviewDlg::~CMergePreviewDlg() = default;

void CMergePreviewDlg::fillEntries()
{
    std::array<QTreeWidgetItem*, std::size(CLASS_ORDER)> groups{};
    std::array<int, std::size(CLASS_ORDER)> counts{};
    for (const PlannedEntry& planned : plan_.entries)
        ++counts[static_cast<int>(planned.match.kind)];
    for (MatchClass kind : CLASS_ORDER) {
        const int k = static_cast<int>(kind);
        groups[k] =
            new QTreeWidgetItem(ui_.entries, {QStringLiteral("%1（%2件）")
                                                  .arg(QString::fromUtf8(matchClassText(kind)))
                                                  .arg(counts[k])});
        groups[k]->setFlags(Qt::ItemIsEnabled);
        // Entries that change nothing are there to be looked at, not to be decided on.
        groups[k]->setExpanded(kind != MatchClass::Same && counts[k] != 0);
    }
    const QStringList choices = choiceTexts();
    items_.reserve(plan_.entries.size());
    for (const PlannedEntry& planned : plan_.entries) {
        const TelEntry& entry = incoming_[planned.match.incoming];
        auto* item = new QTreeWidgetItem(groups[static_cast<int>(planned.match.kind)]);
        item->setText(NAME_COLUMN, entryNameText(entry));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsEditable);
        item->setCheckState(NAME_COLUMN, planned.take ? Qt::Checked : Qt::Unchecked);
        item->setText(CHOICE_COLUMN, choices[static_cast<int>(planned.choice)]);
        if (planned.match.book >= 0) {
            const TelEntry& held = book_.entries[planned.match.book];
            item->setText(DIFFERENCE_COLUMN,
                          QStringLiteral("電話帳の「%1」と").arg(entryNameText(held)));
            for (const FieldDifference& difference : fieldDifferences(held, entry)) {
                auto* line =
                    new QTreeWidgetItem(item, {difference.field, differenceText(difference)});
                line->setFlags(Qt::ItemIsEnabled);
            }
        }
        item->setExpanded(true);
        items_.push_back(item);
    }
    bookOnly_ = new QTreeWidgetItem(
        ui_.entries,
        {QStringLiteral("電話帳だけにある（%1件、そのまま残ります）").arg(plan_.bookOnly.size())});
    bookOnly_->setFlags(Qt::ItemIsEnabled);
    for (int b : plan_.bookOnly)
        new QTreeWidgetItem(bookOnly_, {entryNameText(book_.entries[b])});
    ui_.entries->header()->resizeSection(NAME_COLUMN, 250);
    ui_.entries->header()->resizeSection(DIFFERENCE_COLUMN, 370);
}

void CMergePreviewDlg::onItemChanged(QTreeWidgetItem* item, int column)
{
    const auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end())
        return;
    PlannedEntry& planned = plan_.entries[found - items_.begin()];
    if (column == NAME_COLUMN)
        planned.take = item->checkState(NAME_COLUMN) == Qt::Checked;
    else if (column == CHOICE_COLUMN)
        if (const qsizetype choice = choiceTexts().indexOf(item->text(CHOICE_COLUMN)); choice >= 0)
            planned.choice = static_cast<MergeChoice>(choice);
    refresh();
}

void CMergePreviewDlg::refresh()
{
    auto scratch = std::make_unique<TelBook>(book_);
    outcome_ = applyMergePlan(*scratch, incoming_, plan_);

    QStringList counts;
    for (MatchClass kind : CLASS_ORDER)
        counts << QStringLiteral("%1 %2件")
                      .arg(QString::fromUtf8(matchClassText(kind)))
                      .arg(outcome_.classes[static_cast<int>(kind)]);
    ui_.totals->setText(
        QStringLiteral("取り込むデータ %1件：%2\n電話帳 %3件（電話帳だけにある %4件）"
                       "　→　まとめると %5件（追加 %6件、更新 %7件）")
            .arg(incoming_.size())
            .arg(counts.join(QStringLiteral("、")))
            .arg(book_.count)
            .arg(plan_.bookOnly.size())
            .arg(outcome_.resultCount)
            .arg(outcome_.added)
            .arg(outcome_.updated));

    ui_.notes->clear();
    for (const MergeNote& note : outcome_.notes) {
        if (note.kind != MergeNoteKind::Overflow && note.kind != MergeNoteKind::Conflict)
            continue;
        ui_.notes->addItem(mergeNoteText(note, book_.entries[note.book]));
    }

    // Nothing is applied over the capacity: the user leaves entries out first.
    warning_->setText(outcome_.refused ? overCapacityMessage(outcome_.resultCount) +
                                             QStringLiteral("。取り込む項目を選び直してください。")
                                       : QString());
    ui_.apply->setEnabled(!outcome_.refused);
}
