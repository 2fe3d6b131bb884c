// Entries typed into the entry editor, saved as a vCard file and imported again, all through
// the list window's commands as a user runs them.

#include "app/core/settings.h"
#include "app/ui/install_commands.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Fifty double-byte characters: the memo's full 100 bytes, which the file carries quoted-printable
// over several lines joined by soft line breaks.
const char* const MEMO = "毎週月曜日の午前十時から第二会議室で定例会議があります。資料は前日"
                         "までに共有しておくこと。駐車場は北";

// Types text into an edit as a user does: ASCII key by key, Japanese text committed by the
// input method a phrase at a time.
void type(QWidget* edit, const char* utf8)
{
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    const QString text = u(utf8);
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        QTest::keyClicks(edit, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(edit, &commit);
}

void click(QWidget* button)
{
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

void choose(QWidget* combo, int index)
{
    ASSERT_NE(qobject_cast<QComboBox*>(combo), nullptr);
    qobject_cast<QComboBox*>(combo)->setCurrentIndex(index);
}

struct Slot {
    int kind;
    const char* text;
};

// What the user types into the editor, field by field.
struct Typed {
    const char* name;
    const char* reading;
    int group;
    bool secret;
    std::vector<Slot> numbers;
    std::vector<Slot> addresses;
    const char* memo;

    // The entry as the book must hold it.
    TelEntry entry() const
    {
        TelEntry entry{};
        setField(entry.name, sizeof entry.name, name);
        setField(entry.furigana, sizeof entry.furigana, reading);
        entry.group = static_cast<std::uint8_t>(group);
        entry.secret = secret ? 1 : 0;
        for (std::size_t s = 0; s < numbers.size(); ++s) {
            entry.tel[s].kind = static_cast<std::uint8_t>(numbers[s].kind);
            setField(entry.tel[s].number, NUMBER_FIELD_SIZE, numbers[s].text);
        }
        for (std::size_t s = 0; s < addresses.size(); ++s) {
            entry.mail[s].kind = static_cast<std::uint8_t>(addresses[s].kind);
            setField(entry.mail[s].address, ADDRESS_FIELD_SIZE, addresses[s].text);
        }
        setField(entry.memo, sizeof entry.memo, memo);
        return entry;
    }
};

// Fills in the entry editor that the 追加 command opens next and decides it. An editor still
// open afterwards (a check refused the entry) is cancelled, so the test never waits on it.
void fillInTheEditorThatOpensNext(const Typed& typed, ScriptedMessages& messages, int& opened)
{
    QTimer::singleShot(0, [&typed, &messages, &opened] {
        auto* editor = qobject_cast<CTelEditDlg*>(QApplication::activeModalWidget());
        if (!editor)
            return;
        ++opened;
        type(editor->control(EditorControl::Name), typed.name);
        type(editor->control(EditorControl::Furigana), typed.reading);
        choose(editor->control(EditorControl::Group), typed.group);
        if (typed.secret)
            click(editor->control(EditorControl::Secret));
        for (const Slot& number : typed.numbers) {
            choose(editor->control(EditorControl::TelKind), number.kind);
            type(editor->control(EditorControl::TelNumber), number.text);
            click(editor->control(EditorControl::TelAdd));
        }
        for (const Slot& address : typed.addresses) {
            choose(editor->control(EditorControl::MailKind), address.kind);
            type(editor->control(EditorControl::MailAddress), address.text);
            click(editor->control(EditorControl::MailAdd));
        }
        type(editor->control(EditorControl::Memo), typed.memo);
        editor->commandAction(ID_EDIT_DECIDE)->trigger();
        if (editor->isVisible()) {
            ADD_FAILURE() << "the editor refused the entry: "
                          << messages.shown.join(u(" | ")).toStdString();
            messages.answer(true);
            editor->commandAction(ID_EDIT_CANCEL)->trigger();
        }
    });
}

std::string describe(const TelEntry& entry)
{
    return fromCp932(entry.name).toStdString() + " / " + fromCp932(entry.furigana).toStdString() +
           " / " + fromCp932(entry.memo).toStdString();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EntryRoundTrip : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    BookDocument document;
    QTemporaryDir dir;
    Settings settings;
    const ListCommands commands = programListCommands(settings);
    ScriptedMessages messages;
    ScriptedFileDialogs files;
};

TEST_F(EntryRoundTrip, EntriesAddedSavedAndImportedAgainAreTheSameByteForByte)
{
    const Typed typed[] = {
        {"山田太郎",
         "ﾔﾏﾀﾞ ﾀﾛｳ",
         3,
         true,
         {{TEL_MOBILE, "09012345678"}, {TEL_OFFICE, "0312345678"}},
         {{MAIL_OFFICE_PC, "taro.yamada@example.co.jp"}},
         MEMO},
        // A ";" in the name, which the file escapes, and what the file cannot carry: a mail
        // kind without a word of its own in the file.
        {"佐藤;花子",
         "ｻﾄｳ ﾊﾅｺ",
         0,
         false,
         {{TEL_FAX, "0661234567"}},
         {{2, "hanako@example.jp"}},
         ""},
    };
    TelEntry expected[] = {typed[0].entry(), typed[1].entry()};

    CTelListDlg list(document, commands);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    int opened = 0;
    for (const Typed& entry : typed) {
        fillInTheEditorThatOpensNext(entry, messages, opened);
        list.commandAction(ID_LIST_ADD)->trigger();
    }
    ASSERT_EQ(opened, 2);
    ASSERT_EQ(document.count(), 2u);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(std::memcmp(&document.entry(i), &expected[i], sizeof(TelEntry)), 0)
            << describe(document.entry(i));

    const QString path = dir.filePath(QStringLiteral("round trip.vcf"));
    files.nextFiles.enqueue(path);
    list.commandAction(ID_LIST_SAVE)->trigger();
    EXPECT_EQ(document.filePath(), path);
    // The memo travels quoted-printable over lines joined by soft line breaks.
    ASSERT_TRUE(readAll(path).contains("=\r\n"));

    messages.choices.enqueue(REPLACE_CHOICE);
    messages.answer(true); // discard the book in memory
    files.nextFiles.enqueue(path);
    list.commandAction(ID_LIST_IMPORT_VCARD)->trigger();
    EXPECT_EQ(messages.questions,
              (QStringList{INCOMING_QUESTION, u("電話帳データを破棄してよろしいでしょうか？")}));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join(u(" | ")).toStdString();
    EXPECT_EQ(files.asked, 2);
    ASSERT_EQ(document.count(), 2u);
    expected[1].mail[0].kind = MAIL_UNSPECIFIED;
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(std::memcmp(&document.entry(i), &expected[i], sizeof(TelEntry)), 0)
            << describe(document.entry(i));
    ASSERT_EQ(list.list()->model()->rowCount(), 2);
    EXPECT_EQ(list.list()->model()->index(0, 0).data().toString(), u("山田太郎"));
    EXPECT_EQ(list.list()->model()->index(1, 0).data().toString(), u("佐藤;花子"));
}

} // namespace
