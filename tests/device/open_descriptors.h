#pragma once
// How many of this process's file descriptors are open on a device: a port left open shows here.

#include <QDir>
#include <QFileInfo>
#include <QString>

inline int openDescriptorsOn(const QString& devicePath)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget() == devicePath)
            ++count;
    return count;
}
