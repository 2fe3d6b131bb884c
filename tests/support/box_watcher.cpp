#include "tests/support/box_watcher.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

BoxWatcher::BoxWatcher() : previous_(&messages())
{
    setMessageService(nullptr);
    connect(&timer_, &QTimer::timeout, this, &BoxWatcher::look);
    timer_.start(5);
}

BoxWatcher::~BoxWatcher()
{
    setMessageService(previous_);
}

void BoxWatcher::look()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(window);
        if (!box || !box->isVisible())
            continue;
        Box seen{box->windowTitle(), box->text(), box->frameGeometry(), {}, {}, {}};
        seen.icon = box->icon();
        if (const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen.linesWhole = true;
            for (const QString& line : box->text().split(QLatin1Char('\n')))
                seen.linesWhole = seen.linesWhole && label->fontMetrics().horizontalAdvance(line) <=
                                                         label->contentsRect().width();
        }
        if (const QPushButton* preset = box->defaultButton())
            seen.defaultButton = preset->text();
        if (const QWidget* owner = box->parentWidget()) {
            seen.ownerFrame = owner->window()->frameGeometry();
            seen.ownerClass = QString::fromLatin1(owner->window()->metaObject()->className());
        }
        boxes << seen;
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else if (answers_.isEmpty()) {
            ADD_FAILURE() << "unanswered question: " << seen.text.toStdString();
            box->button(QMessageBox::No)->click();
        } else {
            box->button(answers_.dequeue() ? QMessageBox::Yes : QMessageBox::No)->click();
        }
        return;
    }
}
