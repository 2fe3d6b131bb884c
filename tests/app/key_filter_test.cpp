#include "window_services/key_filter.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(KeyFilter, EnterAndEscapeNeverEndAProgramDialog)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    (new QVBoxLayout(&dialog))->addWidget(edit);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(edit, key);
    EXPECT_TRUE(dialog.isVisible());
}

// The filter's verdict for a key press reaching widget: true when it consumes the key.
bool consumed(QWidget* widget, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    return keyFilter().eventFilter(widget, &press);
}

TEST(KeyFilter, PopUpsAndFileDialogsKeepTheirKeys)
{
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    // A completer's or a combo box's list is a pop-up window parented to a control.
    auto* popup = new QWidget(edit, Qt::Popup);
    auto* popupList = new QLineEdit(popup);
    QFileDialog files;
    auto* fileName = new QLineEdit(&files);
    auto* filesPopup = new QWidget(fileName, Qt::Popup);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        EXPECT_TRUE(consumed(edit, key));
        EXPECT_FALSE(consumed(popupList, key));
        EXPECT_FALSE(consumed(fileName, key));
        EXPECT_FALSE(consumed(filesPopup, key));
    }
    EXPECT_FALSE(consumed(edit, Qt::Key_A));
}

} // namespace
