#pragma once
// A one-line edit whose limit is counted in code page 932 bytes, as the fields it fills are. A
// change that would leave more bytes than the limit, or a character without a code page 932 form
// (an emoji, say), is refused as a whole: typing, pasting and dropping alike.

#include <QLineEdit>

class ByteLimitedEdit : public QLineEdit {
    Q_OBJECT
public:
    ByteLimitedEdit(int maxBytes, QWidget* parent = nullptr);
};
