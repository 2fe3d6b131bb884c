#include "phonebook/ui/tel_edit_dlg.h"

#include "phonebook/core/cp932_text.h"
#include "phonebook/core/entry_edit_rules.h"
#include "phonebook/core/typed_fields.h"
#include "phonebook/ui/book_list_view.h"
#include "phonebook/ui/byte_limited_edit.h"
#include "phonebook/ui/reading_suggestion.h"
#include "phonebook/ui/sub_list_editor.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"
#include "window_services/message_service.h"
#include "window_services/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cstring>
#include <optional>

namespace {

enum class ControlKind { Edit, Combo, Check, Button, Label, List };

struct ControlLayout {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height; // dialog units
    int byteLimit;           // edits only
};

// The editor's window layout in creation order, which is also the order of the tab key: each
// sub-list comes after its kind box and edit, before the buttons beside it.
constexpr ControlLayout CONTROLS[] = {
    {1004, ControlKind::Edit, "", 51, 18, 126, 14, NAME_EDIT_LIMIT},
    {1006, ControlKind::Edit, "", 51, 38, 126, 14, FURIGANA_EDIT_LIMIT},
    {1050, ControlKind::Button, "", 179, 38, 12, 14, 0}, // candidates for the reading (a menu)
    {1012, ControlKind::Combo, "", 51, 60, 125, 103, 0},
    {1003, ControlKind::Check, "シークレット", 187, 63, 51, 10, 0},
    {1013, ControlKind::Combo, "", 59, 97, 104, 73, 0},
    {1015, ControlKind::Edit, "", 59, 119, 145, 14, NUMBER_EDIT_LIMIT},
    {1031, ControlKind::List, "", 58, 148, 156, 49, 0},
    {1025, ControlKind::Button, "追加", 220, 148, 36, 14, 0},
    {1026, ControlKind::Button, "編集", 220, 166, 36, 14, 0},
    {1027, ControlKind::Button, "削除", 219, 184, 36, 14, 0},
    {1014, ControlKind::Combo, "", 306, 98, 138, 40, 0},
    {1016, ControlKind::Edit, "", 306, 117, 235, 14, ADDRESS_EDIT_LIMIT},
    {1035, ControlKind::List, "", 305, 146, 235, 50, 0},
    {1028, ControlKind::Button, "追加", 552, 146, 36, 14, 0},
    {1029, ControlKind::Button, "編集", 552, 163, 36, 14, 0},
    {1030, ControlKind::Button, "削除", 551, 182, 36, 14, 0},
    {1038, ControlKind::Edit, "", 33, 232, 425, 14, MEMO_EDIT_LIMIT},
    {1033, ControlKind::Button, "削除", 49, 249, 36, 14, 0},
    {1007, ControlKind::Label, "名  前", 19, 22, 21, 8, 0},
    {1008, ControlKind::Label, "フリガナ", 19, 42, 24, 8, 0},
    {1009, ControlKind::Label, "グループ", 19, 64, 26, 8, 0},
    {1017, ControlKind::Label, "電話番号", 19, 85, 33, 8, 0},
    {1018, ControlKind::Label, "種別", 37, 100, 17, 8, 0},
    {1019, ControlKind::Label, "番号", 37, 122, 17, 8, 0},
    {1020, ControlKind::Label, "メールアドレス", 261, 83, 44, 8, 0},
    {1021, ControlKind::Label, "種別", 278, 98, 17, 8, 0},
    {1022, ControlKind::Label, "アドレス", 278, 120, 25, 8, 0},
    {1034, ControlKind::Label, "メモ", 26, 220, 12, 8, 0},
};

constexpr int GROUPS = 10;

QWidget* createControl(const ControlLayout& control, QWidget* parent)
{
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::Edit:
        return new ByteLimitedEdit(control.byteLimit, parent);
    case ControlKind::Combo:
        return new QComboBox(parent);
    case ControlKind::Check:
        return new QCheckBox(caption, parent);
    case ControlKind::Button: {
        // Enter presses no button here, so none is drawn as the default one.
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Label:
        return new QLabel(caption, parent);
    case ControlKind::List:
        return new BookListView(parent);
    }
    return nullptr;
}

// The layout's rectangle in pixels, widened where the Japanese captions need more room than the
// layout gives them: a label keeps its right edge (it sits left of the control it names), a check
// box keeps its left edge. A combo box takes its own height; the layout's height is that of its
// dropped-down list.
QRect placement(const ControlLayout& item, const QWidget* control, const DialogUnits& du)
{
    QRect rect = du.rect(item.x, item.y, item.width, item.height);
    const QSize hint = control->sizeHint();
    switch (item.kind) {
    case ControlKind::Label:
        rect.setLeft(std::min(rect.left(), rect.right() + 1 - hint.width()));
        rect.setHeight(std::max(rect.height(), hint.height()));
        break;
    case ControlKind::Check:
        rect.setWidth(std::max(rect.width(), hint.width()));
        rect.setHeight(std::max(rect.height(), hint.height()));
        break;
    case ControlKind::Combo:
        rect.setHeight(hint.height());
        break;
    case ControlKind::Edit:
    case ControlKind::Button:
        rect.setHeight(std::max(rect.height(), hint.height()));
        break;
    case ControlKind::List:
        break;
    }
    return rect;
}

} // namespace

CTelEditDlg::CTelEditDlg(const TelEntry& entry, QWidget* parent) : QDialog(parent), entry_(entry)
{
    setWindowTitle(QStringLiteral("電話帳編集"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Escape is キャンセル, which asks only when something was changed; no button is the
    // default, so Enter presses none.
    keepDialogKeys(*this);

    packSlots(entry_, SlotList::Tel);
    packSlots(entry_, SlotList::Mail);
    opened_ = entry_;

    buildMenu();
    buildControls();
    connectControls();
    loadEntryControls();
    name_->setFocus();
}

CTelEditDlg::~CTelEditDlg() = default;

void CTelEditDlg::buildMenu()
{
    auto* bar = new QMenuBar(this);
    const std::pair<int, const char*> commands[] = {
        {ID_EDIT_DECIDE, "決定(&O)"},
        {ID_EDIT_CANCEL, "キャンセル(&C)"},
        {ID_EDIT_RESET, "リセット(&R)"},
        {ID_EDIT_HELP, "ヘルプ(&H)"},
    };
    for (auto [id, text] : commands) {
        QAction* action = bar->addAction(QString::fromUtf8(text));
        action->setObjectName(QStringLiteral("command%1").arg(id));
        actions_.insert(id, action);
    }
    connect(actions_[ID_EDIT_DECIDE], &QAction::triggered, this, &CTelEditDlg::onDecide);
    connect(actions_[ID_EDIT_CANCEL], &QAction::triggered, this, &CTelEditDlg::reject);
    connect(actions_[ID_EDIT_RESET], &QAction::triggered, this, &CTelEditDlg::onReset);
    connect(actions_[ID_EDIT_HELP], &QAction::triggered, this, &requestHelp);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setMenuBar(bar);
}

void CTelEditDlg::buildControls()
{
    DialogUnits du(this);
    const int menuHeight = layout()->menuBar()->sizeHint().height();
    du.fitInto(617, 306, SMALLEST_SCREEN - WINDOW_FRAME_ROOM - QSize(0, menuHeight));
    auto* page = new QWidget(this);
    page->setFixedSize(du.x(617), du.y(306));
    layout()->addWidget(page);
    for (const ControlLayout& item : CONTROLS) {
        QWidget* widget = createControl(item, page);
        widget->setObjectName(QStringLiteral("control%1").arg(item.id));
        controls_.insert(item.id, widget);
    }

    name_ = qobject_cast<QLineEdit*>(control(EditorControl::Name));
    furigana_ = qobject_cast<QLineEdit*>(control(EditorControl::Furigana));
    group_ = qobject_cast<QComboBox*>(control(EditorControl::Group));
    secret_ = qobject_cast<QCheckBox*>(control(EditorControl::Secret));
    memo_ = qobject_cast<QLineEdit*>(control(EditorControl::Memo));
    readingSuggestion_ = new ReadingSuggestion(
        name_, furigana_, qobject_cast<QPushButton*>(control(EditorControl::Candidates)), this);

    // A drop-down list without an edit field: a group is only ever chosen, so there is no
    // typed text that could look taken and be ignored.
    for (int g = 0; g < GROUPS; ++g)
        group_->addItem(QStringLiteral("グループ%1").arg(g));
    // A kind box starts with no kind chosen; leaving the number or address chooses the one that
    // suits it unless the user chose one.
    auto* telKinds = qobject_cast<QComboBox*>(control(EditorControl::TelKind));
    for (int kind = 0; kind < TEL_KIND_COUNT; ++kind)
        telKinds->addItem(QString::fromUtf8(telKindText(static_cast<std::uint8_t>(kind))));
    telKinds->setCurrentIndex(-1);
    // Every code an entry may hold has an item, so that its index is the code; a code without a
    // text shows as blanks.
    auto* mailKinds = qobject_cast<QComboBox*>(control(EditorControl::MailKind));
    for (int kind = 0; kind < MAIL_KIND_COUNT; ++kind) {
        const char* text = mailKindText(static_cast<std::uint8_t>(kind));
        mailKinds->addItem(*text ? QString::fromUtf8(text) : QStringLiteral("  "));
    }
    mailKinds->setCurrentIndex(-1);

    using C = EditorControl;
    auto subList = [this](C kind, C text, C list, C add, C edit, C remove) {
        return SubListEditor::Controls{qobject_cast<QComboBox*>(control(kind)),
                                       qobject_cast<QLineEdit*>(control(text)),
                                       qobject_cast<QTableWidget*>(control(list)),
                                       qobject_cast<QPushButton*>(control(add)),
                                       qobject_cast<QPushButton*>(control(edit)),
                                       qobject_cast<QPushButton*>(control(remove))};
    };
    telList_ = new SubListEditor(
        entry_, SlotList::Tel,
        subList(C::TelKind, C::TelNumber, C::TelList, C::TelAdd, C::TelEdit, C::TelDelete), this);
    mailList_ = new SubListEditor(
        entry_, SlotList::Mail,
        subList(C::MailKind, C::MailAddress, C::MailList, C::MailAdd, C::MailEdit, C::MailDelete),
        this);

    for (const ControlLayout& item : CONTROLS) {
        QWidget* widget = controls_.value(item.id);
        widget->setGeometry(placement(item, widget, du));
    }
}

void CTelEditDlg::connectControls()
{
    connect(name_, &QLineEdit::textChanged, this,
            [this](const QString& text) { storeCp932(text, entry_.name, sizeof entry_.name); });
    connect(furigana_, &QLineEdit::textChanged, this, [this](const QString& text) {
        storeCp932(text, entry_.furigana, sizeof entry_.furigana);
    });
    connect(furigana_, &QLineEdit::editingFinished, this, &CTelEditDlg::tidyReadingField);
    connect(group_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            entry_.group = static_cast<std::uint8_t>(index);
    });
    connect(secret_, &QCheckBox::clicked, this,
            [this](bool ticked) { entry_.secret = ticked ? 1 : 0; });
    connect(memo_, &QLineEdit::textChanged, this, &CTelEditDlg::onMemoChanged);
    connect(qobject_cast<QPushButton*>(control(EditorControl::MemoDelete)), &QPushButton::clicked,
            this, [this] {
                std::memset(entry_.memo, 0, sizeof entry_.memo);
                memo_->clear();
            });
}

void CTelEditDlg::loadEntryControls()
{
    const QSignalBlocker nameBlocker(name_), furiganaBlocker(furigana_), groupBlocker(group_),
        memoBlocker(memo_);
    name_->setText(editableText(entry_.name));
    furigana_->setText(editableText(entry_.furigana));
    group_->setCurrentIndex(-1);
    secret_->setChecked(entry_.secret != 0);
    // The sub-lists are listed whether or not the entry has a name: an unlisted number would
    // be overwritten by the next 追加.
    telList_->fill();
    mailList_->fill();
    // A new entry (no name yet) opens with no group chosen; it is stored with group 0 unless the
    // user picks one.
    if (entry_.name[0] != '\0')
        group_->setCurrentIndex(entry_.group < GROUPS ? entry_.group : -1);
    memo_->setText(editableText(entry_.memo));
    readingSuggestion_->restart();
}

void CTelEditDlg::onMemoChanged(const QString& text)
{
    if (storeMemoText(entry_, text))
        return;
    // A pasted tab or line break: the memo goes back to the last text it took.
    const QSignalBlocker blocker(memo_);
    memo_->setText(editableText(entry_.memo));
}

// A reading in hiragana or full-width katakana becomes the half-width katakana the book keeps;
// one with a character that has no half-width form stays as typed for 決定 to point out.
void CTelEditDlg::tidyReadingField()
{
    const std::optional<QString> tidy = tidyReading(furigana_->text());
    if (tidy && *tidy != furigana_->text())
        furigana_->setText(*tidy);
}

bool CTelEditDlg::isChanged() const
{
    return std::memcmp(&entry_, &opened_, sizeof entry_) != 0 || telList_->hasTypedText() ||
           mailList_->hasTypedText();
}

void CTelEditDlg::onDecide()
{
    // 決定 is chosen from the menu, which leaves the focus where it was: what leaving a field
    // would do is done first, so the checks see the reading proposed for a name just typed,
    // the tidy forms and every number and address typed but not yet added. A reading nobody
    // touched here stays as it was stored.
    if (std::strcmp(entry_.furigana, opened_.furigana) != 0)
        tidyReadingField();
    readingSuggestion_->proposeForName();
    if (!telList_->takeTypedText() || !mailList_->takeTypedText())
        return;
    if (const char* refusal = decideRefusal(entry_)) {
        showMessage(refusal);
        return;
    }
    accept();
}

void CTelEditDlg::onReset()
{
    if (!askYesNo("電話帳データをリセットしてよろしいでしょうか？"))
        return;
    entry_ = TelEntry{};
    telList_->clear();
    mailList_->clear();
    loadEntryControls();
}

void CTelEditDlg::reject()
{
    if (!isChanged() || askYesNo("編集処理を終了してよろしいでしょうか？"))
        QDialog::reject();
}
