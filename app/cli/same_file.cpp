#include "app/cli/same_file.h"

#include "app/cli/cli_commands.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
bool isSameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() &&
           first.compare(QFileInfo(b).canonicalFilePath(), Qt::CaseInsensitive) == 0;
}
#else
#include <sys/stat.h>

bool isSameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return stat(QFile::encodeName(a).constData(), &first) == 0 &&
           stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}
#endif

int refuseOutputOntoInput(const QString& in, const QString& out)
{
    if (!isSameFile(in, out))
        return CLI_OK;
    printError(QStringLiteral("vemblor-cli: OUT is the input file itself (%1); it would lose what "
                              "the phone book cannot hold, so nothing was written")
                   .arg(out));
    return CLI_FAILED;
}

int refuseReportOntoOutput(const QString& out, const QString& report)
{
    if (report.isEmpty() ||
        (QFileInfo(out).absoluteFilePath() != QFileInfo(report).absoluteFilePath() &&
         !isSameFile(out, report)))
        return CLI_OK;
    printError(QStringLiteral("vemblor-cli: the report would be written over OUT (%1), so nothing "
                              "was written")
                   .arg(out));
    return CLI_FAILED;
}
