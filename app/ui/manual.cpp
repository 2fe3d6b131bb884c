#include "app/ui/manual.h"

#include "app/core/settings.h"
#include "window_services/message_service.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>

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

QStringList manualPlaces(const QString& settingsFolder, const QString& programDir)
{
    const QString installed =
        QDir(programDir).filePath(QStringLiteral(VEMBLOR_DATA_FROM_PROGRAM "/") + MANUAL_FILE_NAME);
    return {QDir(settingsFolder).filePath(MANUAL_FILE_NAME), QDir::cleanPath(installed)};
}

void openManual(const QString& settingsFolder)
{
    const QStringList places = manualPlaces(settingsFolder, QCoreApplication::applicationDirPath());
    const auto found = std::find_if(places.begin(), places.end(),
                                    [](const QString& path) { return QFileInfo(path).isFile(); });
    if (found == places.end()) {
        QStringList lines{QString::fromUtf8(NO_MANUAL_MESSAGE), QString()};
        for (const QString& place : places)
            lines << QDir::toNativeSeparators(place);
        messages().showMessage(lines.join(QLatin1Char('\n')));
        return;
    }
    if (!desktopOpensPdf() || !QDesktopServices::openUrl(QUrl::fromLocalFile(*found)))
        showMessage(NO_PDF_VIEWER_MESSAGE);
}
