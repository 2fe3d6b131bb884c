#include "phonebook/ui/index_bar.h"

#include "phonebook/core/gojuon_key.h"

#include <QHBoxLayout>
#include <QToolButton>

IndexBar::IndexBar(QWidget* parent) : QWidget(parent)
{
    static const char* const LABELS[GOJUON_ROW_COUNT] = {"あ", "か", "さ", "た", "な",  "は",
                                                         "ま", "や", "ら", "わ", "英数"};
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int row = 0; row < GOJUON_ROW_COUNT; ++row) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(LABELS[row]));
        button->setObjectName(QStringLiteral("index%1").arg(row));
        button->setAutoRaise(true);
        button->setToolTip(row == GOJUON_OTHER_ROW
                               ? QStringLiteral("英数の先頭へ")
                               : QStringLiteral("%1行の先頭へ").arg(button->text()));
        connect(button, &QToolButton::clicked, this, [this, row] { emit rowChosen(row); });
        layout->addWidget(button);
    }
}
