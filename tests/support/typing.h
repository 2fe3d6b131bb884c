#pragma once
// Typing into a field as a user does: ASCII key by key, other characters one at a time as an
// input method commits them (QTest has no key codes for kana).

#include <QApplication>
#include <QInputMethodEvent>
#include <QString>
#include <QTest>
#include <QWidget>

inline void typeText(QWidget* field, const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(c));
        QApplication::sendEvent(field, &commit);
    }
}
