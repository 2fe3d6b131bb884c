#include "phonebook/ui/byte_limited_edit.h"

#include "phonebook/core/entry_edit_rules.h"

#include <QToolTip>
#include <QValidator>

namespace {

// Sees every change of the edit's text, with the text before it, and turns it into what the
// field can hold.
class Cp932LimitValidator final : public QValidator {
public:
    Cp932LimitValidator(int maxBytes, const QString& shownText, ByteLimitedEdit* edit)
        : QValidator(edit), maxBytes_(maxBytes), shownText_(shownText), edit_(edit)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        const EditChange change = limitEditChange(shownText_, input, maxBytes_);
        if (change.text != input) {
            input = change.text;
            pos = change.cursor;
        }
        if (!change.dropped.isEmpty())
            emit edit_->charactersDropped(change.dropped);
        return Acceptable;
    }

private:
    int maxBytes_;
    const QString& shownText_;
    ByteLimitedEdit* edit_;
};

} // namespace

ByteLimitedEdit::ByteLimitedEdit(int maxBytes, QWidget* parent) : QLineEdit(parent)
{
    setValidator(new Cp932LimitValidator(maxBytes, shownText_, this));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { shownText_ = text; });
    connect(this, &ByteLimitedEdit::charactersDropped, this, &ByteLimitedEdit::tellDropped);
}

void ByteLimitedEdit::tellDropped(const QString& characters)
{
    QStringList quoted;
    for (qsizetype i = 0; i < characters.size();) {
        const qsizetype width = characters.at(i).isHighSurrogate() ? 2 : 1;
        quoted << QStringLiteral("「%1」").arg(characters.mid(i, width));
        i += width;
    }
    const QString tip = QStringLiteral("%1は電話帳に使えない文字のため入力できません")
                            .arg(quoted.join(QStringLiteral("、")));
    QToolTip::showText(mapToGlobal(QPoint(0, height())), tip, this);
}
