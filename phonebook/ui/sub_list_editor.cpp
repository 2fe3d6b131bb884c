#include "phonebook/ui/sub_list_editor.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_edit_rules.h"
#include "phonebook/core/typed_fields.h"
#include "window_services/message_service.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

struct Column {
    const char* header;
    int width;
};

struct SubListTexts {
    Column columns[3];
    const char* rowLabels[3];
    const char* (*kindText)(std::uint8_t);
    const char* noText;
    const char* noRow;
    const char* noFreeSlot; // %1: the typed text
    const char* breaksRule; // %1: the typed text
};

const SubListTexts TEL_TEXTS = {
    {{"    ", 50}, {"種別", 70}, {"電話番号", 110}},
    {"番号１", "番号２", "番号３"},
    telKindText,
    "電話番号が入力されていません。",
    "電話番号が選択されていません。",
    "電話番号は３件まで登録されているため、入力中の「%1」は追加できません。\n"
    "追加せずに決定しますか？",
    "入力中の電話番号「%1」には数字以外が使用されているため、追加できません。\n"
    "追加せずに決定しますか？",
};

const SubListTexts MAIL_TEXTS = {
    {{" ", 70}, {"種別", 70}, {"メールアドレス", 180}},
    {"アドレス１", "アドレス２", "アドレス３"},
    mailKindText,
    "メールアドレスが入力されていません。",
    "メールアドレスが選択されていません。",
    "メールアドレスは３件まで登録されているため、入力中の「%1」は追加できません。\n"
    "追加せずに決定しますか？",
    "入力中のメールアドレス「%1」には使えない文字が含まれているため、追加できません。\n"
    "追加せずに決定しますか？",
};

const SubListTexts& textsOf(SlotList which)
{
    return which == SlotList::Tel ? TEL_TEXTS : MAIL_TEXTS;
}

constexpr int SLOTS = 3;

} // namespace

SubListEditor::SubListEditor(TelEntry& entry, SlotList which, const Controls& controls,
                             QObject* parent)
    : QObject(parent), entry_(entry), which_(which), controls_(controls)
{
    QTableWidget* list = controls_.list;
    list->setColumnCount(3);
    for (int c = 0; c < 3; ++c) {
        const Column& column = textsOf(which_).columns[c];
        auto* header = new QTableWidgetItem(QString::fromUtf8(column.header));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        list->setHorizontalHeaderItem(c, header);
        list->setColumnWidth(c, column.width);
    }
    list->setShowGrid(false);

    connect(controls_.text, &QLineEdit::editingFinished, this, &SubListEditor::tidyInput);
    connect(controls_.kind, &QComboBox::currentIndexChanged, this, [this] {
        if (!choosingKind_)
            kindIsDefault_ = false;
    });
    connect(controls_.add, &QPushButton::clicked, this, &SubListEditor::onAdd);
    connect(controls_.edit, &QPushButton::clicked, this, &SubListEditor::onEdit);
    connect(controls_.remove, &QPushButton::clicked, this, &SubListEditor::onRemove);
}

void SubListEditor::fill()
{
    const SubListTexts& texts = textsOf(which_);
    QTableWidget* list = controls_.list;
    list->setRowCount(0);
    clearFocusedRow();
    count_ = 0;
    for (int slot = 0; slot < SLOTS; ++slot) {
        const char* text = slotText(entry_, which_, slot);
        if (text[0] == '\0')
            continue;
        list->insertRow(count_);
        const QString cells[3] = {QString::fromUtf8(texts.rowLabels[count_]),
                                  QString::fromUtf8(texts.kindText(slotKind(entry_, which_, slot))),
                                  fromCp932(text)};
        for (int c = 0; c < 3; ++c)
            list->setItem(count_, c, new QTableWidgetItem(cells[c]));
        ++count_;
    }
}

void SubListEditor::clear()
{
    editRow_ = -1;
    clearInputs();
    controls_.list->setRowCount(0);
    count_ = 0;
}

bool SubListEditor::hasTypedText() const
{
    const QString text = controls_.text->text();
    if (text.isEmpty())
        return false;
    if (editRow_ < 0)
        return true;
    const int kind = slotKind(entry_, which_, editRow_);
    const int shownKind = kind < controls_.kind->count() ? kind : -1; // as onEdit loads it
    return text != editableText(slotText(entry_, which_, editRow_)) ||
           controls_.kind->currentIndex() != shownKind;
}

bool SubListEditor::takeTypedText()
{
    tidyInput();
    const QString text = controls_.text->text();
    if (text.isEmpty())
        return true;
    const bool pendingEdit = editRow_ >= 0;
    const char* refusal = nullptr;
    if (!pendingEdit && count_ == SLOTS)
        refusal = textsOf(which_).noFreeSlot;
    else if (!passesSlotRule(which_, text) || !store(pendingEdit ? editRow_ : count_))
        refusal = textsOf(which_).breaksRule;
    return !refusal || messages().askYesNo(QString::fromUtf8(refusal).arg(text));
}

// Puts the text in its tidy form and, while the user has chosen no kind, chooses the one that
// suits the text. A text that has no tidy form stays as typed for 決定 to point out.
void SubListEditor::tidyInput()
{
    const QString text = controls_.text->text();
    if (text.isEmpty())
        return;
    if (const std::optional<QString> tidy = tidySlotText(which_, text); tidy && *tidy != text)
        controls_.text->setText(*tidy);
    if (controls_.kind->currentIndex() < 0 || kindIsDefault_) {
        chooseKind(defaultSlotKind(which_, controls_.text->text()));
        kindIsDefault_ = true;
    }
}

void SubListEditor::chooseKind(int kind)
{
    choosingKind_ = true;
    controls_.kind->setCurrentIndex(kind);
    choosingKind_ = false;
}

// slot := the kind box and the edit; the inputs are emptied and the list shown again.
bool SubListEditor::store(int slot)
{
    const auto kind = static_cast<std::uint8_t>(controls_.kind->currentIndex());
    if (!storeSlot(entry_, which_, slot, kind, controls_.text->text()))
        return false;
    editRow_ = -1;
    clearInputs();
    fill();
    return true;
}

void SubListEditor::onAdd()
{
    if (count_ == SLOTS)
        return;
    if (controls_.text->text().isEmpty()) {
        showMessage(textsOf(which_).noText);
        return;
    }
    tidyInput();
    // A pending edit stays pending: 追加 fills a free slot and leaves the edited row alone.
    const int pending = editRow_;
    if (store(count_))
        editRow_ = pending;
}

void SubListEditor::onEdit()
{
    const int row = focusedRow();
    if (row >= 0) {
        editRow_ = row;
        controls_.text->setText(editableText(slotText(entry_, which_, row)));
        const int kind = slotKind(entry_, which_, row);
        controls_.kind->setCurrentIndex(kind < controls_.kind->count() ? kind : -1);
        clearFocusedRow();
        return;
    }
    if (editRow_ >= 0) {
        // Without a number the second press does nothing and the edit stays pending.
        if (!controls_.text->text().isEmpty()) {
            tidyInput();
            store(editRow_);
        }
        return;
    }
    showMessage(textsOf(which_).noRow);
}

void SubListEditor::onRemove()
{
    const int row = focusedRow();
    if (row < 0) {
        showMessage(textsOf(which_).noRow);
        return;
    }
    removeSlotRow(entry_, which_, row);
    // A pending edit follows its row as the rows below the removed one move up, so its
    // write-back never lands on another number.
    editRow_ = pendingRowAfterRemoval(editRow_, row);
    fill();
}

int SubListEditor::focusedRow() const
{
    const QModelIndex current = controls_.list->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void SubListEditor::clearFocusedRow()
{
    controls_.list->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void SubListEditor::clearInputs()
{
    controls_.kind->setCurrentIndex(-1);
    controls_.text->clear();
}
