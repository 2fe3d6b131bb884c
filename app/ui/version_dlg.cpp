#include "app/ui/version_dlg.h"

#include "window_services/dialog_units.h"
#include "app/ui/app_icon.h"

#include <QLabel>
#include <QPushButton>

CVersionDlg::CVersionDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
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

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    ok->setGeometry(du.rect(113, 41, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(du.x(170), du.y(62));
}
