#include "app/ui/manual.h"

#include "app/core/settings.h"
#include "window_services/message_service.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// False when the desktop is known to have no program for PDF files. Where the desktop keeps
// its file associations in the shared MIME database, the launcher would start nothing and
// still report success, so the association is asked for first; elsewhere the launcher's own
// answer tells.
bool desktopOpensPdf()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true;
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("application/pdf")});
    if (!process.waitForFinished(5000))
        return true;
    return !process.readAllStandardOutput().trimmed().isEmpty();
#else
    return true;
#endif
}

} // namespace

void openManual()
{
    const QString path = QDir(startDir()).filePath(MANUAL_FILE_NAME);
    if (!QFileInfo(path).isFile()) {
        showMessage("pdfファイルが見つかりません");
        return;
    }
    if (!desktopOpensPdf() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        showMessage(NO_PDF_VIEWER_MESSAGE);
}
