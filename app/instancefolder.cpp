#include "instancefolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>

namespace InstanceFolder {

QString privateFolder()
{
    return QDir::tempPath() + QStringLiteral("/player-tarn-runtime-%1").arg(::geteuid());
}

bool makePrivate(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info = {};
    if (::lstat(native.constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool accepts(const QString &folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    constexpr int socketPathBytes = int(sizeof(sockaddr_un::sun_path)) - 1;
    if (QFile::encodeName(folder).size() + 1 + maxSocketNameBytes > socketPathBytes)
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
}

Choice choose(const QString &runtimeFolder, const QString &fallback)
{
    if (accepts(runtimeFolder))
        return {runtimeFolder, QString()};
    const QString runtime = runtimeFolder.isEmpty() ? QStringLiteral("(none)") : runtimeFolder;
    if (makePrivate(fallback) && accepts(fallback)) {
        return {fallback, QStringLiteral("[Main] Runtime folder %1 cannot hold the single-instance lock: using %2")
                              .arg(runtime.toHtmlEscaped(), fallback.toHtmlEscaped())};
    }
    return {QString(), QStringLiteral("[Main] Runtime folder %1 cannot hold the single-instance lock, and %2 is not "
                                      "a private folder of this user that can hold it: this window runs on its own")
                           .arg(runtime.toHtmlEscaped(), fallback.toHtmlEscaped())};
}

const Choice &current()
{
    static const Choice choice = [] {
        Choice made = choose(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation), privateFolder());
        if (!made.logLine.isEmpty())
            qWarning("%s", qUtf8Printable(made.logLine));
        return made;
    }();
    return choice;
}

} // namespace InstanceFolder
