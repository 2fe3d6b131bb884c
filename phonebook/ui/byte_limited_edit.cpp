#include "phonebook/ui/byte_limited_edit.h"

#include "phonebook/core/entry_edit_rules.h"

#include <QValidator>

namespace {

class Cp932LimitValidator final : public QValidator {
public:
    Cp932LimitValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}

    State validate(QString& input, int&) const override
    {
        return fitsEditLimit(input, maxBytes_) ? Acceptable : Invalid;
    }

private:
    int maxBytes_;
};

} // namespace

ByteLimitedEdit::ByteLimitedEdit(int maxBytes, QWidget* parent) : QLineEdit(parent)
{
    setValidator(new Cp932LimitValidator(maxBytes, this));
}
