#include "phonebook/ui/duplicates_dlg.h"

#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_texts.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/message_service.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int GROUP_ROLE = Qt::UserRole;
constexpr int MEMBER_ROLE = Qt::UserRole + 1;

} // namespace

CDuplicatesDlg::CDuplicatesDlg(const TelBook& book, QWidget* parent)
    : QDialog(parent), book_(book),
      groups_(findDuplicateGroups(std::span<const TelEntry>(book.entries, book.count)))
{
    setWindowTitle(QStringLiteral("重複の整理"));
    totals_ = new QLabel(this);
    totals_->setObjectName(QStringLiteral("duplicateTotals"));
    entries_ = new QTreeWidget(this);
    entries_->setObjectName(QStringLiteral("duplicateEntries"));
    entries_->setColumnCount(3);
    entries_->setHeaderLabels({QStringLiteral("まとめる項目"), QStringLiteral("分類"),
                               QStringLiteral("違い（まとめ先 → この項目）")});
    notes_ = new QListWidget(this);
    notes_->setObjectName(QStringLiteral("duplicateNotes"));
    apply_ = new QPushButton(QStringLiteral("まとめる"), this);
    apply_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("キャンセル"), this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(totals_);
    layout->addWidget(entries_, 3);
    layout->addWidget(
        new QLabel(QStringLiteral("入りきらないため残す項目（値は失われません）"), this));
    layout->addWidget(notes_, 1);
    layout->addLayout(buttons);
    resize(760, 520);

    fillEntries();
    refresh();
    connect(entries_, &QTreeWidget::itemChanged, this, &CDuplicatesDlg::onItemChanged);
    connect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CDuplicatesDlg::fillEntries()
{
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
        const DuplicateGroup& group = groups_[g];
        const TelEntry& first = book_.entries[group.first];
        auto* head = new QTreeWidgetItem(entries_, {QStringLiteral("%1件目「%2」にまとめる")
                                                        .arg(group.first + 1)
                                                        .arg(entryNameText(first))});
        head->setFlags(Qt::ItemIsEnabled);
        for (int m = 0; m < static_cast<int>(group.others.size()); ++m) {
            const DuplicateMember& member = group.others[m];
            const TelEntry& entry = book_.entries[member.entry];
            auto* item = new QTreeWidgetItem(
                head,
                {QStringLiteral("%1件目「%2」").arg(member.entry + 1).arg(entryNameText(entry)),
                 QString::fromUtf8(matchClassText(member.kind))});
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(0, member.take ? Qt::Checked : Qt::Unchecked);
            item->setData(0, GROUP_ROLE, g);
            item->setData(0, MEMBER_ROLE, m);
            for (const FieldDifference& difference : fieldDifferences(first, entry)) {
                auto* line = new QTreeWidgetItem(
                    item, {difference.field, QString(), differenceText(difference)});
                line->setFlags(Qt::ItemIsEnabled);
            }
        }
        head->setExpanded(true);
    }
    entries_->header()->resizeSection(0, 260);
}

QTreeWidgetItem* CDuplicatesDlg::itemOf(int group, int member) const
{
    return entries_->topLevelItem(group)->child(member);
}

void CDuplicatesDlg::onItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != 0 || !item->data(0, GROUP_ROLE).isValid())
        return;
    groups_[item->data(0, GROUP_ROLE).toInt()].others[item->data(0, MEMBER_ROLE).toInt()].take =
        item->checkState(0) == Qt::Checked;
    refresh();
}

void CDuplicatesDlg::refresh()
{
    auto scratch = std::make_unique<TelBook>(book_);
    outcome_ = mergeDuplicateGroups(*scratch, groups_);
    int members = 0;
    for (const DuplicateGroup& group : groups_)
        members += static_cast<int>(group.others.size());
    totals_->setText(QStringLiteral("重なる項目のグループ %1組（%2件）　→　まとめて消える項目 "
                                    "%3件、入りきらず残す項目 %4件")
                         .arg(groups_.size())
                         .arg(members)
                         .arg(outcome_.merged)
                         .arg(outcome_.kept));
    notes_->clear();
    for (const MergeNote& note : outcome_.notes)
        notes_->addItem(mergeNoteText(note, book_.entries[note.book]));
    apply_->setEnabled(outcome_.merged != 0);
}

void tidyDuplicates(CTelListDlg& list)
{
    BookDocument& document = list.document();
    CDuplicatesDlg window(document.book(), &list);
    if (window.groups().empty()) {
        showMessage("重複する項目はありません。");
        return;
    }
    if (window.exec() != QDialog::Accepted)
        return;
    auto tidied = std::make_unique<TelBook>(document.book());
    const DuplicateOutcome outcome = mergeDuplicateGroups(*tidied, window.groups());
    if (outcome.merged == 0)
        return;
    document.replace(*tidied, document.filePath());
    list.showStatusMessage(QStringLiteral("%1件をまとめました").arg(outcome.merged));
}
