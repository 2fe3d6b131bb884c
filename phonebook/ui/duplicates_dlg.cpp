#include "phonebook/ui/duplicates_dlg.h"

#include "phonebook/core/book_document.h"
#include "phonebook/ui/merge_texts.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "window_services/message_service.h"

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

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
    ui_ = buildMergeReviewLayout(
        *this, QStringLiteral("duplicate"),
        {QStringLiteral("まとめる項目"), QStringLiteral("分類"),
         QStringLiteral("違い（まとめ先 → この項目）")},
        QStringLiteral("入りきらない値・食い違う値（その項目はまとめずに残します）"));
    resize(760, 520);

    fillEntries();
    refresh();
    connect(ui_.entries, &QTreeWidget::itemChanged, this, &CDuplicatesDlg::onItemChanged);
}

void CDuplicatesDlg::fillEntries()
{
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
        const DuplicateGroup& group = groups_[g];
        const TelEntry& first = book_.entries[group.first];
        auto* head = new QTreeWidgetItem(ui_.entries, {QStringLiteral("%1件目「%2」にまとめる")
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
    ui_.entries->header()->resizeSection(0, 260);
}

QTreeWidgetItem* CDuplicatesDlg::itemOf(int group, int member) const
{
    return ui_.entries->topLevelItem(group)->child(member);
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
    ui_.totals->setText(QStringLiteral("重なる項目のグループ %1組（%2件）　→　まとめて消える項目 "
                                       "%3件、まとめずに残す項目 %4件")
                            .arg(groups_.size())
                            .arg(members)
                            .arg(outcome_.merged)
                            .arg(outcome_.kept));
    ui_.notes->clear();
    for (const MergeNote& note : outcome_.notes)
        ui_.notes->addItem(mergeNoteText(note, book_.entries[note.book]));
    ui_.apply->setEnabled(outcome_.merged != 0);
}

void tidyDuplicates(CTelListDlg& list)
{
    BookDocument& document = list.document();
    CDuplicatesDlg window(document.book(), &list);
    if (window.groups().empty()) {
        messages().showInformation(QStringLiteral("重複する項目はありません。"), &list);
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
