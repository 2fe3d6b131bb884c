// Renders each window of the program with a sample phone book to PNG files for the manual,
// offscreen, so the pictures always show the windows as they are built. Also writes the
// application icon as vemblor.png for the desktop entry.
//   vemblor-screenshots OUTPUT_DIR

#include "app/ui/app_icon.h"
#include "app/ui/install_commands.h"
#include "app/ui/main_dlg.h"
#include "app/ui/port_dlg.h"
#include "app/ui/version_dlg.h"
#include "manual/sample_book.h"
#include "phonebook/core/app_state.h"
#include "phonebook/ui/tel_list_dlg.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTableWidget>

#include <cstdio>

namespace {

// The offscreen platform draws no window frame; the picture gets a plain caption bar with the
// window's title, so the reader can match it with the window on the screen.
QImage framed(QWidget& window)
{
    const QPixmap client = window.grab();
    const int bar = window.fontMetrics().height() + 10;
    QImage image(client.width() + 2, client.height() + bar + 1, QImage::Format_ARGB32);
    image.fill(QColor(0x1d, 0x3f, 0x72));
    QPainter painter(&image);
    painter.drawPixmap(1, bar, client);
    painter.setPen(Qt::white);
    painter.setFont(window.font());
    painter.drawText(QRect(8, 0, image.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window.windowTitle());
    return image;
}

bool save(QWidget& window, const QString& dir, const char* name)
{
    window.show();
    QApplication::processEvents();
    const QString path = QDir(dir).filePath(QString::fromUtf8(name) + QStringLiteral(".png"));
    if (!framed(window).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    window.hide();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: vemblor-screenshots OUTPUT_DIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);
    // The windows read and write the settings file of the current directory.
    QDir::setCurrent(dir);
    installListCommands();
    loadSampleBook();

    bool ok = appIcon().pixmap(256, 256).save(QDir(dir).filePath(QStringLiteral("vemblor.png")));

    CVemblorDlg main;
    ok &= save(main, dir, "main");

    CTelListDlg list;
    list.list()->selectRow(1);
    ok &= save(list, dir, "list");

    CPortDlg port;
    ok &= save(port, dir, "port");

    CVersionDlg version;
    ok &= save(version, dir, "version");

    return ok ? 0 : 1;
}
