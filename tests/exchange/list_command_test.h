#pragma once
// A test of the list window's file commands: the application's command table installed, a book
// of two entries, a fresh AppState, scripted file dialogs and a temporary folder.

#include "app/core/settings.h"
#include "app/ui/install_commands.h"
#include "phonebook/core/app_state.h"
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
        installListCommands(settings);
        fillBook({{"山田太郎", "ﾔﾏﾀﾞ ﾀﾛｳ", {"0312345678"}, {"taro@example.jp"}, "メモ", 3},
                  {"佐藤花子", "ｻﾄｳ ﾊﾅｺ", {"0661234567"}}});
        appState() = AppState{};
    }
    void TearDown() override
    {
        listCommands() = ListCommands{};
        clearBook(telBook());
        appState() = AppState{};
    }
    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
    Settings settings;
    ScriptedFileDialogs files;
};
