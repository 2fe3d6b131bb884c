#include "app/ui/version_dlg.h"

#include "app/ui/app_icon.h"
#include "readings/names_table.h"
#include "window_services/dialog_units.h"
#include "window_services/key_filter.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>

CVersionDlg::CVersionDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // It changes nothing: Enter (OK) and Escape close it.
    keepDialogKeys(*this);
    DialogUnits du(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon().pixmap(32, 32));
    icon->setGeometry(du.rect(14, 14, 20, 20));

    auto* title =
        new QLabel(QStringLiteral("Vemblor　 Version ") + QStringLiteral(VEMBLOR_VERSION), this);
    title->setTextFormat(Qt::PlainText);
    title->setObjectName(QStringLiteral("versionText"));
    title->setGeometry(du.rect(42, 14, 114, 10));

    auto* notice = new QLabel(QStringLiteral("(C) 2026 Vemblor Project"), this);
    notice->setGeometry(du.rect(42, 26, 114, 10));

    auto* names = new QLabel(QString::fromUtf8(NAMES_TABLE_NOTICE), this);
    names->setTextFormat(Qt::PlainText);
    names->setObjectName(QStringLiteral("namesTableNotice"));
    names->setWordWrap(true);
    names->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // As wide as its longest word (the addresses cannot be broken), as high as the notice
    // needs at the desktop's font.
    int width = du.x(196);
    for (const QString& word : names->text().split(QRegularExpression(QStringLiteral("\\s+"))))
        width = std::max(width, names->fontMetrics().horizontalAdvance(word) + 2);
    names->setGeometry(du.x(42), du.y(40), width, names->heightForWidth(width));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setGeometry(QRect(
        QPoint(names->geometry().right() - du.x(50) + 1, names->geometry().bottom() + du.y(6)),
        du.rect(0, 0, 50, 14).size()));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(ok->geometry().right() + du.x(8), ok->geometry().bottom() + du.y(7));
}
