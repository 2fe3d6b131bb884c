// The question before the program ends comes exactly when the phone book holds changes since it
// was last saved, imported or read. Each case starts the program afresh, runs the list window's
// real commands (editor, files, the simulated handset) and then ends the main window.

#include "app/core/settings.h"
#include "app/ui/main_dlg.h"
#include "app/ui/vemblor_app.h"
#include "exchange/core/csv_assignment.h"
#include "exchange/core/vcard_writer.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "exchange/ui/import_report_dlg.h"
#include "phonebook/ui/list_commands.h"
#include "phonebook/ui/tel_edit_dlg.h"
#include "phonebook/ui/tel_list_dlg.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "tests/support/transfer_guard.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#ifdef VEMBLOR_SIMULATED_HANDSET
#include "app/core/demo_handset.h"
#endif

#include <cstring>
#include <functional>
#include <memory>

namespace {

QString u(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

const char* const EXIT_QUESTION = "保存されていない変更があります。終了してよろしいでしょうか？";

// Runs act on the modal window of type T that the next command opens (once any progress window
// before it has gone), then closes it if act left it open, so no test waits on a window. A
// window that never comes fails the test after ten seconds.
template <class T> void onNextModal(std::function<void(T&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, waited] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window && ++*waited < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!window) {
            ADD_FAILURE() << "expected window did not open";
            return;
        }
        act(*window);
        if (window->isVisible()) {
            ADD_FAILURE() << "window left open";
            window->done(QDialog::Rejected);
        }
    });
    timer->start();
}

// The list window the main window opened, with the scripted services and the working directory:
// every step a case is made of.
struct Steps {
    CVemblorDlg& main;
    CTelListDlg& list;
    ScriptedMessages& messages;
    ScriptedFileDialogs& files;
    QTemporaryDir& dir;

    void command(int id) { list.commandAction(id)->trigger(); }
    // Yes to "電話帳データを破棄してよろしいでしょうか？" when the book has entries.
    void discardYes()
    {
        if (main.document().count() != 0)
            messages.answer(true);
    }
    // 置き換える, then Yes to discarding, before an import into a book with entries.
    void replaceYes()
    {
        if (main.document().count() != 0)
            messages.choices.enqueue(REPLACE_CHOICE);
        discardYes();
    }
    // Two cards in the working directory, where a later 保存 may write.
    void importVCard()
    {
        QFile example(QStringLiteral(VEMBLOR_TEST_DATA "/vcard/writer-example.vcf"));
        ASSERT_TRUE(example.open(QIODevice::ReadOnly));
        const QByteArray card = example.readAll();
        const QString path = dir.filePath(QStringLiteral("book.vcf"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(card + card);
        file.close();
        replaceYes();
        files.nextFiles.enqueue(path);
        command(ID_LIST_IMPORT_VCARD);
    }
    // Two people (name, half-width reading, number), assigned and decided in the CSV dialog.
    void importCsv()
    {
        const QString path = dir.filePath(QStringLiteral("book.csv"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Yamada,\xd4\xcf\xc0\xde,0312345678\r\nSato,\xbb\xc4\xb3,0661234567\r\n");
        file.close();
        replaceYes();
        files.nextFiles.enqueue(path);
        onNextModal<CCsvEdit>([this](CCsvEdit& csv) {
            for (auto [column, category] :
                 {std::pair{0, CSV_CAT_NAME}, {1, CSV_CAT_FURIGANA}, {2, CSV_CAT_TEL1}}) {
                csv.categoryBox()->setCurrentIndex(category);
                emit csv.list()->horizontalHeader()->sectionClicked(column);
            }
            messages.answer(true);
            csv.commandAction(ID_CSV_DECIDE)->trigger();
        });
        command(ID_LIST_IMPORT_CSV);
    }
    // 連絡先の取り込み… of a smartphone's vCard 3.0 file, or of a file that is not there.
    void importContacts(bool fileThere)
    {
        replaceYes();
        files.nextFiles.enqueue(fileThere
                                    ? QStringLiteral(VEMBLOR_CORPUS "/vcard/ezvcard-gmail-3.0.vcf")
                                    : dir.filePath(QStringLiteral("no-such-file.vcf")));
        if (fileThere)
            onNextModal<CImportReportDlg>([](CImportReportDlg& report) { report.accept(); });
        command(ID_LIST_IMPORT_CONTACTS);
    }
    void select(int row) { list.list()->setCurrentIndex(list.list()->model()->index(row, 0)); }
    // 編集 on the first entry; with a name the entry gets it, without one the editor's 決定
    // stores the entry as it was.
    void editFirst(const char* name = nullptr)
    {
        select(0);
        onNextModal<CTelEditDlg>([name](CTelEditDlg& editor) {
            if (name)
                qobject_cast<QLineEdit*>(editor.control(EditorControl::Name))->setText(u(name));
            editor.commandAction(ID_EDIT_DECIDE)->trigger();
        });
        command(ID_LIST_EDIT);
    }
    void add()
    {
        onNextModal<CTelEditDlg>([](CTelEditDlg& editor) {
            qobject_cast<QLineEdit*>(editor.control(EditorControl::Name))->insert(u("田中"));
            qobject_cast<QLineEdit*>(editor.control(EditorControl::Furigana))->insert(u("ﾀﾅｶ"));
            qobject_cast<QComboBox*>(editor.control(EditorControl::TelKind))
                ->setCurrentIndex(TEL_MOBILE);
            qobject_cast<QLineEdit*>(editor.control(EditorControl::TelNumber))
                ->insert(u("09012345678"));
            qobject_cast<QPushButton*>(editor.control(EditorControl::TelAdd))->click();
            editor.commandAction(ID_EDIT_DECIDE)->trigger();
        });
        command(ID_LIST_ADD);
    }
    void deleteFirst()
    {
        select(0);
        messages.answer(true); // "1件を削除しますか？"
        command(ID_LIST_DELETE);
    }
    void saveAs(const char* name)
    {
        files.nextFiles.enqueue(dir.filePath(QString::fromUtf8(name)));
        command(ID_LIST_SAVE_AS);
    }
    // 読み込み from the demo's simulated handset (in a build that has it), or from a port that
    // does not open.
    void readFromHandset(bool handsetThere)
    {
        replaceYes();
#ifdef VEMBLOR_SIMULATED_HANDSET
        std::unique_ptr<DemoHandset> demo;
        if (handsetThere) {
            demo = CVemblorApp::startDemo(main);
            ASSERT_NE(demo, nullptr);
        }
#else
        ASSERT_FALSE(handsetThere);
#endif
        if (!handsetThere)
            main.settings().overridePortInUse(dir.filePath(QStringLiteral("no-such-device")));
        TransferGuard guard;
        command(ID_LIST_DEVICE_READ);
    }
};

class UnsavedChanges : public StartDirTest {
protected:
    void SetUp() override
    {
        StartDirTest::SetUp();
        CVemblorApp::initInstance();
    }
    void TearDown() override { StartDirTest::TearDown(); }

    struct Case {
        const char* actions;
        std::function<void(Steps&)> run;
        bool asked;
    };

    // Starts the program afresh, runs the case in the list window, then ends the main window:
    // by 終了 and, when the question comes, first answering No and then closing the window.
    void check(const Case& c)
    {
        SCOPED_TRACE(c.actions);
        settings.overridePortInUse(QString());
        messages.shown.clear();
        messages.answers.clear();

        CVemblorDlg main(settings);
        main.show();
        onNextModal<CTelListDlg>([this, &c, &main](CTelListDlg& list) {
            Steps steps{main, list, messages, files, dir};
            c.run(steps);
            list.commandAction(ID_LIST_CANCEL)->trigger();
        });
        main.commandAction(ID_MAIN_PHONE_BOOK)->trigger();
        ASSERT_TRUE(messages.answers.isEmpty()) << "a scripted answer was not asked for";
        ASSERT_TRUE(files.nextFiles.isEmpty()) << "a file dialog did not open";
        messages.questions.clear();

        if (!c.asked) {
            main.commandAction(ID_MAIN_EXIT)->trigger();
            EXPECT_TRUE(messages.questions.isEmpty());
            EXPECT_FALSE(main.isVisible());
            EXPECT_EQ(main.result(), QDialog::Accepted);
            return;
        }
        const auto before = std::make_unique<TelBook>(main.document().book());
        messages.answer(false);
        main.commandAction(ID_MAIN_EXIT)->trigger();
        EXPECT_TRUE(main.isVisible()); // No: the program goes on with the book as it was
        EXPECT_EQ(std::memcmp(before.get(), &main.document().book(), sizeof(TelBook)), 0);
        messages.answer(true);
        main.close();
        EXPECT_FALSE(main.isVisible());
        EXPECT_EQ(main.result(), QDialog::Rejected);
        EXPECT_EQ(messages.questions, (QStringList{u(EXIT_QUESTION), u(EXIT_QUESTION)}));
    }

    ScriptedMessages messages;
    ScriptedFileDialogs files;
};

TEST_F(UnsavedChanges, AskedExactlyWhenTheBookChanged)
{
    const Case cases[] = {
        {"nothing", [](Steps&) {}, false},
        {"追加 to the empty book", [](Steps& s) { s.add(); }, true},
        {"vCard インポート", [](Steps& s) { s.importVCard(); }, false},
        {"CSV インポート", [](Steps& s) { s.importCsv(); }, false},
        {"import, 編集 with a new name",
         [](Steps& s) {
             s.importVCard();
             s.editFirst("山田次郎");
         },
         true},
        {"import, 編集 stored unchanged",
         [](Steps& s) {
             s.importVCard();
             s.editFirst();
         },
         false},
        {"import, 追加",
         [](Steps& s) {
             s.importVCard();
             s.add();
         },
         true},
        {"import, 削除",
         [](Steps& s) {
             s.importVCard();
             s.deleteFirst();
         },
         true},
        {"CSV import, 削除",
         [](Steps& s) {
             s.importCsv();
             s.deleteFirst();
         },
         true},
        {"import, 編集, 保存",
         [](Steps& s) {
             s.importVCard();
             s.editFirst("山田次郎");
             s.command(ID_LIST_SAVE);
         },
         false},
        {"追加, 名前を付けて保存",
         [](Steps& s) {
             s.add();
             s.saveAs("new.vcf");
         },
         false},
        {"追加, 名前を付けて保存 that fails",
         [](Steps& s) {
             s.add();
             s.saveAs("no-such-folder/new.vcf");
             EXPECT_EQ(s.messages.shown.last(), u("パスが見つかりません。"));
         },
         true},
        {"追加, 保存 cancelled at the file dialog",
         [](Steps& s) {
             s.add();
             s.files.nextFiles.enqueue(QString());
             s.command(ID_LIST_SAVE);
         },
         true},
        {"追加, vCard インポート answered No",
         [](Steps& s) {
             s.add();
             s.messages.choices.enqueue(REPLACE_CHOICE);
             s.messages.answer(false);
             s.command(ID_LIST_IMPORT_VCARD);
         },
         true},
        {"追加, vCard インポート cancelled at the file dialog (the book kept)",
         [](Steps& s) {
             s.add();
             s.replaceYes();
             s.files.nextFiles.enqueue(QString());
             s.command(ID_LIST_IMPORT_VCARD);
         },
         true},
        {"追加, 連絡先の取り込み",
         [](Steps& s) {
             s.add();
             s.importContacts(true);
         },
         false},
        {"追加, 連絡先の取り込み of a file that is not there",
         [](Steps& s) {
             s.add();
             s.importContacts(false);
         },
         true},
        {"追加, 新規",
         [](Steps& s) {
             s.add();
             s.discardYes();
             s.command(ID_LIST_NEW);
         },
         false},
        {"import, 新規, 追加",
         [](Steps& s) {
             s.importVCard();
             s.discardYes();
             s.command(ID_LIST_NEW);
             s.add();
         },
         true},
        {"import, 削除 of every entry",
         [](Steps& s) {
             s.importVCard();
             while (s.main.document().count() != 0)
                 s.deleteFirst();
         },
         false},
#ifdef VEMBLOR_SIMULATED_HANDSET
        {"追加, 読み込み",
         [](Steps& s) {
             s.add();
             s.readFromHandset(true);
         },
         false},
#endif
        {"追加, 読み込み that fails",
         [](Steps& s) {
             s.add();
             s.readFromHandset(false);
         },
         true},
#ifdef VEMBLOR_SIMULATED_HANDSET
        {"読み込み, 編集",
         [](Steps& s) {
             s.readFromHandset(true);
             s.editFirst("山田次郎");
         },
         true},
#endif
    };
    for (const Case& c : cases)
        check(c);
}

} // namespace
