#include "app/ui/manual.h"

#include "app/core/settings.h"
#include "window_services/message_service.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

void openManual()
{
    const QString path = QDir(startDir()).filePath(MANUAL_FILE_NAME);
    if (!QFileInfo(path).isFile()) {
        showMessage("pdfファイルが見つかりません");
        return;
    }
    // A missing viewer is the desktop's business; like any other failure of the viewer it gets
    // no message of ours.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
