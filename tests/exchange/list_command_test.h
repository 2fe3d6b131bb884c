#pragma once
// A test of the list window's file commands: the application's command table, a book
// of two entries, scripted file dialogs and a temporary folder.

#include "app/core/settings.h"
#include "app/ui/install_commands.h"
#include "phonebook/ui/list_commands.h"
#include "tests/support/book_fixtures.h"
#include "tests/support/scripted_services.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class ListCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fillBook(document,
                 {{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}, {"taro@example.jp"}, "メモ", 3},
                  {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}}});
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    BookDocument document;
    QTemporaryDir dir;
    Settings settings;
    const ListCommands commands = programListCommands(settings);
    ScriptedFileDialogs files;
};
