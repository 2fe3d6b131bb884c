// The port dialog's and the CSV dialog's drop-down lists open below their box and show at most
// about ten rows, also under a style that would open them over the box, as tall as the screen.

#include "app/ui/port_dlg.h"
#include "exchange/core/csv_import.h"
#include "exchange/ui/csv_edit_dlg.h"
#include "tests/app/program_windows.h"
#include "tests/support/scripted_services.h"
#include "tests/support/start_dir_test.h"
#include "window_services/menu_bar_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The way some desktops' styles open a combo box: its list over the box, the chosen item under
// the pointer.
class ListOverTheBoxStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

struct DropDown {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> open;
    const char* box;
};

class DropDownLists : public StartDirTest {
protected:
    void TearDown() override
    {
        useMenuBarStyle(); // the program's style again
        StartDirTest::TearDown();
    }
    ScriptedMessages messages;
};

TEST_F(DropDownLists, OpenBelowTheBoxWithAtMostTenRows)
{
    CsvImport csv;
    csv.rowCount = 1;
    const DropDown cases[] = {
        {"ports", [this] { return std::make_unique<CPortDlg>(settings); }, "combo1000"},
        {"CSV categories", [&csv] { return openCsvDialog(csv); }, "combo1216"},
    };
    for (bool overTheBox : {false, true}) {
        if (overTheBox)
            QApplication::setStyle(new ListOverTheBoxStyle(QStringLiteral("Fusion")));
        for (const DropDown& c : cases) {
            const std::string name =
                std::string(c.name) + (overTheBox ? " over-the-box style" : "");
            std::unique_ptr<QDialog> dialog = c.open();
            dialog->move(0, 0);
            dialog->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get())) << name;
            auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(c.box));
            ASSERT_NE(box, nullptr) << name;
            box->showPopup();
            QAbstractItemView* view = box->view();
            const QRect list = view->window()->geometry();
            EXPECT_GE(list.top(), box->mapToGlobal(QPoint(0, box->height() - 1)).y()) << name;
            const int rowsShown = view->viewport()->height() / view->sizeHintForRow(0);
            EXPECT_LE(rowsShown, 11) << name;
            EXPECT_GE(rowsShown, std::min(box->count(), 8)) << name;
            box->hidePopup();
        }
    }
}

} // namespace
