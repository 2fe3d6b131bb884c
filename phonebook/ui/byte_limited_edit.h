#pragma once
// A one-line edit whose limit is counted in code page 932 bytes, as the fields it fills are.
// What the user types, pastes or drops in is folded to the code page 932 forms (〜 to ～ and the
// like) and cut at the limit on a character boundary; a character without a code page 932 form
// (ü, an emoji) is left out, and a tip at the field names it.

#include <QLineEdit>

class ByteLimitedEdit : public QLineEdit {
    Q_OBJECT
public:
    ByteLimitedEdit(int maxBytes, QWidget* parent = nullptr);

signals:
    // characters were left out of what the user put in.
    void charactersDropped(const QString& characters);

private:
    void tellDropped(const QString& characters);

    QString shownText_; // the text before the change in progress
};
