#include "device/ui/sync_preview_dlg.h"

#include "phonebook/core/sync_summary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The choice box's items, in the order of their ConflictChoice.
constexpr ConflictChoice CHOICES[] = {ConflictChoice::Handset, ConflictChoice::Pc,
                                      ConflictChoice::Both};
constexpr const char* CHOICE_TEXTS[] = {"携帯電話", "パソコン", "両方を別の人として"};

QListWidget* addSection(QVBoxLayout* layout, const QString& title, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    auto* list = new QListWidget(group);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(list);
    layout->addWidget(group);
    return list;
}

void fill(QListWidget* list, const std::vector<SyncChange>& changes)
{
    list->clear();
    list->addItems(changeLines(changes));
    if (changes.empty())
        list->addItem(QStringLiteral("なし"));
}

} // namespace

SyncPreviewDlg::SyncPreviewDlg(const SyncPlan& plan, Resolver resolve, bool handsetWritable,
                               const QString& note, QWidget* parent)
    : QDialog(parent), resolve_(std::move(resolve))
{
    setWindowTitle(QStringLiteral("携帯電話と同期"));
    auto* layout = new QVBoxLayout(this);
    if (!note.isEmpty()) {
        auto* label = new QLabel(note, this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    toPc_ = addSection(layout, QStringLiteral("携帯電話の変更 → パソコン"), this);
    if (handsetWritable)
        toHandset_ = addSection(layout, QStringLiteral("パソコンの変更 → 携帯電話"), this);
    if (!plan.conflicts.empty()) {
        auto* group = new QGroupBox(QStringLiteral("競合"), this);
        auto* form = new QFormLayout(group);
        for (const SyncConflict& conflict : plan.conflicts) {
            auto* box = new QComboBox(group);
            for (const char* text : CHOICE_TEXTS)
                box->addItem(QString::fromUtf8(text));
            box->setCurrentIndex(1); // パソコン
            connect(box, &QComboBox::currentIndexChanged, this, &SyncPreviewDlg::showResult);
            auto* label = new QLabel(conflictText(plan, conflict), group);
            label->setWordWrap(true);
            form->addRow(label, box);
            choiceBoxes_.push_back(box);
        }
        layout->addWidget(group);
    }
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons_);
    showResult();
}

std::vector<ConflictChoice> SyncPreviewDlg::choices() const
{
    std::vector<ConflictChoice> chosen;
    chosen.reserve(choiceBoxes_.size());
    for (const QComboBox* box : choiceBoxes_)
        chosen.push_back(CHOICES[box->currentIndex()]);
    return chosen;
}

void SyncPreviewDlg::showResult()
{
    const SyncResult result = resolve_(choices());
    fill(toPc_, result.toPc);
    if (toHandset_)
        fill(toHandset_, result.toHandset);
}
