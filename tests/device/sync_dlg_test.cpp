// 携帯電話と同期 from the list window against the simulated handset on a pseudo-terminal: the
// preview, the choice of a conflict, キャンセル, a sync with nothing to do and the guards.

#include "app/core/settings.h"
#include "app/ui/install_commands.h"
#include "device/core/sync_state.h"
#include "device/ui/sync_preview_dlg.h"
#include "phonebook/core/book_document.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/device/pty_handset_book.h"
#include "tests/device/sync_cases.h"
#include "tests/support/scripted_services.h"
#include "tests/support/transfer_guard.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    if (!list)
        return texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// What the preview showed when it opened.
struct PreviewSeen {
    bool opened = false;
    QStringList toPc;
    QStringList toHandset;
    int conflicts = 0;
};

// Acts on the preview once it is open: records what it shows, then runs act, which decides
// and presses a button.
class PreviewWatch : public QObject {
public:
    explicit PreviewWatch(std::function<void(SyncPreviewDlg&)> act) : act_(std::move(act))
    {
        connect(&timer_, &QTimer::timeout, this, &PreviewWatch::look);
        timer_.start(5);
    }
    PreviewSeen seen;

private:
    void look()
    {
        auto* dlg = qobject_cast<SyncPreviewDlg*>(QApplication::activeModalWidget());
        if (!dlg || seen.opened)
            return;
        seen.opened = true;
        seen.toPc = itemTexts(dlg->toPcList());
        seen.toHandset = itemTexts(dlg->toHandsetList());
        seen.conflicts = dlg->conflictCount();
        act_(*dlg);
    }

    std::function<void(SyncPreviewDlg&)> act_;
    QTimer timer_;
};

void press(SyncPreviewDlg& dlg, QDialogButtonBox::StandardButton button)
{
    dlg.buttons()->button(button)->click();
}

Book documentBook(const BookDocument& document)
{
    return Book(document.book().entries, document.book().entries + document.count());
}

class SyncCommand : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    // The handset holds handset, the state of its model holds state and the window's book pc.
    void prepare(const Book& state, const Book& handsetBook, const Book& pc,
                 const HandsetOptions& options = {})
    {
        model = QString::fromLatin1(options.model);
        handset = std::make_unique<PtyHandset>(options);
        ASSERT_TRUE(handset->start());
        hold(*handset, stored(handsetBook));
        QFile ini(dir.filePath(QStringLiteral("Vemblor.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[PORTS]\nCOM1=%1\n[TRANSFER]\nFAST=1\n")
                      .arg(handset->devicePath())
                      .toUtf8());
        ini.close();
        QString error;
        ASSERT_TRUE(saveSyncState(statePath(), stored(state), error)) << error.toStdString();
        stateBefore = stateBytes();
        auto book = std::make_unique<TelBook>();
        clearBook(*book);
        std::copy(pc.begin(), pc.end(), book->entries);
        book->count = static_cast<std::uint32_t>(pc.size());
        document.replace(*book, QString());
        undoSteps = document.undoStack()->count();
    }
    QString bookFile() const { return dir.filePath(QStringLiteral("book.vcf")); }
    QString statePath() const { return syncStatePath(dir.filePath(QStringLiteral("sync")), model); }
    QByteArray stateBytes() const
    {
        QFile file(statePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Runs 携帯電話と同期 with act deciding in the preview.
    PreviewSeen sync(const std::function<void(SyncPreviewDlg&)>& act)
    {
        // A merged book is saved before the state is kept: to book.vcf unless the test says.
        if (files.nextFiles.isEmpty())
            files.nextFiles.enqueue(bookFile());
        CTelListDlg list(document, commands);
        PreviewWatch watch(act);
        TransferGuard guard;
        list.commandAction(ID_LIST_DEVICE_SYNC)->trigger();
        return watch.seen;
    }
    std::string shown() const { return messages.shown.join(QLatin1Char('|')).toStdString(); }

    QTemporaryDir dir;
    Settings settings{dir.path()}; // Vemblor.ini, the backups and the sync state in dir
    const ListCommands commands = programListCommands(settings);
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    BookDocument document;
    std::unique_ptr<PtyHandset> handset;
    QString model;
    QByteArray stateBefore;
    int undoSteps = 0;
};

const Book CHANGED_ON_HANDSET = replaced(base(), 0, withMemo(aoki(), "携帯で変えた"));
const Book CHANGED_ON_PC = replaced(base(), 1, withNumber(ito(), 0, "09099990002"));
const Book CHANGED_ON_BOTH = replaced(CHANGED_ON_HANDSET, 1, withNumber(ito(), 0, "09099990002"));

// A change on each side: the preview shows each in its part, OK brings both to both sides, and
// one 元に戻す gives the window its book from before the sync.
TEST_F(SyncCommand, AChangeOnEachSideReachesTheOtherAndOneUndoTakesItBack)
{
    prepare(base(), CHANGED_ON_HANDSET, CHANGED_ON_PC);
    const PreviewSeen seen = sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Ok); });

    ASSERT_TRUE(seen.opened) << shown();
    EXPECT_EQ(seen.toPc, QStringList{QStringLiteral("変更: 青木一郎（メモ）")});
    EXPECT_EQ(seen.toHandset, QStringList{QStringLiteral("変更: 伊藤二郎（電話番号）")});
    EXPECT_EQ(seen.conflicts, 0);
    const Book dump = entriesOf(*handset);
    EXPECT_TRUE(sameBook(dump, stored(CHANGED_ON_BOTH)))
        << describe(dump) << " expected " << describe(CHANGED_ON_BOTH);
    EXPECT_TRUE(sameBook(documentBook(document), CHANGED_ON_BOTH))
        << describe(documentBook(document));
    EXPECT_TRUE(sameBook(loadSyncState(statePath()).entries, dump));
    // The merged book is saved to its file, the base of the next sync with the state.
    EXPECT_FALSE(document.hasUnsavedChanges());
    EXPECT_TRUE(QFile::exists(bookFile()));
    // The sync's own word only: no box of the read, the backup or the check in between.
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("同期しました。")});
    EXPECT_EQ(messages.informed, messages.shown); // with the information icon

    ASSERT_EQ(document.undoStack()->count(), undoSteps + 1);
    document.undoStack()->undo();
    EXPECT_TRUE(sameBook(documentBook(document), CHANGED_ON_PC));
}

// The same field changed differently on each side: the preview offers the choice, and the one
// made there decides both books.
TEST_F(SyncCommand, TheChoiceMadeInThePreviewDecidesAConflict)
{
    const Book onHandset = replaced(base(), 0, withMemo(aoki(), "携帯のメモ"));
    const Book onPc = replaced(base(), 0, withMemo(aoki(), "PCのメモ"));
    struct Row {
        const char* label;
        int choice; // index in the choice box
        Book expected;
    };
    const Row rows[] = {
        {"handset", 0, onHandset},
        {"pc", 1, onPc},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        prepare(base(), onHandset, onPc);
        QStringList afterChoice;
        const PreviewSeen seen = sync([&](SyncPreviewDlg& dlg) {
            ASSERT_EQ(dlg.conflictCount(), 1);
            EXPECT_EQ(dlg.choiceBox(0)->currentText(), QStringLiteral("パソコン"));
            dlg.choiceBox(0)->setCurrentIndex(row.choice);
            afterChoice = itemTexts(dlg.toPcList()) + itemTexts(dlg.toHandsetList());
            press(dlg, QDialogButtonBox::Ok);
        });
        ASSERT_TRUE(seen.opened) << shown();
        // The lists follow the choice: only the side that gets the other's memo changes.
        const QString change = QStringLiteral("変更: 青木一郎（メモ）");
        const QStringList expectedLists = row.choice == 0
                                              ? QStringList{change, QStringLiteral("なし")}
                                              : QStringList{QStringLiteral("なし"), change};
        EXPECT_EQ(afterChoice, expectedLists);
        EXPECT_TRUE(sameBook(entriesOf(*handset), stored(row.expected)))
            << describe(entriesOf(*handset));
        EXPECT_TRUE(sameBook(documentBook(document), row.expected))
            << describe(documentBook(document));
        // Nothing to write when the handset's value wins.
        EXPECT_EQ(writingCommands(*handset) > 0, row.choice == 1);
    }
}

// A merged book the user does not save (no file, the save dialog cancelled) keeps the last
// state: recorded over it, the next sync against the old file would delete from the handset the
// entries added there.
TEST_F(SyncCommand, AMergedBookLeftUnsavedKeepsTheLastState)
{
    prepare(base(), CHANGED_ON_HANDSET, CHANGED_ON_PC);
    files.nextFiles.enqueue(QString());
    const PreviewSeen seen = sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Ok); });

    ASSERT_TRUE(seen.opened) << shown();
    EXPECT_EQ(files.asked, 1);
    EXPECT_TRUE(sameBook(entriesOf(*handset), stored(CHANGED_ON_BOTH)));
    EXPECT_TRUE(sameBook(documentBook(document), CHANGED_ON_BOTH));
    EXPECT_EQ(stateBytes(), stateBefore);
    ASSERT_EQ(messages.shown.size(), 1) << shown();
    EXPECT_TRUE(messages.shown[0].contains(QStringLiteral("同期の記録は前回のままです")))
        << shown();
}

// キャンセル in the preview: neither book, nor the state, nor the undo history changes.
TEST_F(SyncCommand, CancelInThePreviewChangesNothing)
{
    prepare(base(), CHANGED_ON_HANDSET, CHANGED_ON_PC);
    const PreviewSeen seen =
        sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Cancel); });

    ASSERT_TRUE(seen.opened) << shown();
    EXPECT_EQ(writingCommands(*handset), 0);
    EXPECT_TRUE(sameBook(entriesOf(*handset), stored(CHANGED_ON_HANDSET)));
    EXPECT_TRUE(sameBook(documentBook(document), CHANGED_ON_PC));
    EXPECT_EQ(document.undoStack()->count(), undoSteps);
    EXPECT_EQ(stateBytes(), stateBefore);
}

// Books that agree: 変更なし, no preview, no erase and no entry sent.
TEST_F(SyncCommand, NothingChangedSaysSoAndWritesNothing)
{
    prepare(base(), base(), base());
    const PreviewSeen seen = sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Ok); });

    EXPECT_FALSE(seen.opened);
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("変更なし")});
    EXPECT_EQ(messages.informed, messages.shown);
    EXPECT_EQ(writingCommands(*handset), 0);
    EXPECT_EQ(document.undoStack()->count(), undoSteps);
}

// A handset that is empty, or lost more than a third of the last synced book, stops the sync
// before the preview: its message is shown and neither side changes.
TEST_F(SyncCommand, AHandsetThatLostItsBookStopsTheSync)
{
    struct Row {
        const char* label;
        Book handset;
        const char* message;
    };
    const Row rows[] = {
        {"empty", {}, "携帯電話の電話帳が空になっています"},
        {"lost two of four", {aoki(), ito()}, "4件のうち 2件がなくなって"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        messages.shown.clear();
        prepare(base(), row.handset, base());
        const PreviewSeen seen =
            sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Ok); });
        EXPECT_FALSE(seen.opened);
        // The read's own word on an empty handset may come first; the guard's says why it stops.
        ASSERT_FALSE(messages.shown.isEmpty());
        EXPECT_TRUE(messages.shown.last().contains(QString::fromUtf8(row.message))) << shown();
        EXPECT_EQ(writingCommands(*handset), 0);
        EXPECT_TRUE(sameBook(documentBook(document), base()));
        EXPECT_EQ(document.undoStack()->count(), undoSteps);
        EXPECT_EQ(stateBytes(), stateBefore);
    }
}

// A line cut while the handset is written: the window's book, its undo history and the state
// stay as they were, and the message says so.
TEST_F(SyncCommand, AWriteThatFailsLeavesThePcBookAndTheStateAlone)
{
    HandsetOptions cutting;
    cutting.hangUpAt = {HandsetStep::WriteEntry, 2};
    prepare(base(), CHANGED_ON_HANDSET, CHANGED_ON_PC, cutting);
    const PreviewSeen seen = sync([](SyncPreviewDlg& dlg) { press(dlg, QDialogButtonBox::Ok); });

    ASSERT_TRUE(seen.opened) << shown();
    EXPECT_GT(writingCommands(*handset), 0);
    EXPECT_TRUE(sameBook(documentBook(document), CHANGED_ON_PC));
    EXPECT_EQ(document.undoStack()->count(), undoSteps);
    EXPECT_EQ(stateBytes(), stateBefore);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(messages.shown.last(),
              QStringLiteral("同期を中止しました。パソコンの電話帳と同期の記録は変えていません。"))
        << shown();
}

// A model that can only be read: the preview says the sync goes one way and shows no part for
// the handset; OK brings the handset's changes to the PC and writes nothing.
TEST_F(SyncCommand, AReadOnlyModelSyncsOneWayAndSaysSo)
{
    HandsetOptions readOnly;
    readOnly.model = "VN540R";
    prepare(base(), plus(base(), newcomer()), without(base(), 3), readOnly);
    QStringList labels;
    const PreviewSeen seen = sync([&labels](SyncPreviewDlg& dlg) {
        for (const QLabel* label : dlg.findChildren<QLabel*>())
            labels << label->text();
        press(dlg, QDialogButtonBox::Ok);
    });

    ASSERT_TRUE(seen.opened) << shown();
    EXPECT_TRUE(labels.join(QLatin1Char('|')).contains(QStringLiteral("一方向で同期します")))
        << labels.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(seen.toHandset.isEmpty());
    EXPECT_EQ(seen.toPc, QStringList{QStringLiteral("追加: 大野五郎")});
    EXPECT_EQ(writingCommands(*handset), 0);
    const Book expected = plus(without(base(), 3), newcomer());
    EXPECT_TRUE(sameBook(stored(documentBook(document)), stored(expected)))
        << describe(documentBook(document));
    EXPECT_TRUE(sameBook(loadSyncState(statePath()).entries, entriesOf(*handset)));
}

} // namespace
