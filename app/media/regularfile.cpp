#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX

namespace {

// O_NONBLOCK: opening a pipe does not wait for a writer, and a read never
// waits on one; regular files ignore it.
int openNonBlocking(const QByteArray &nativePath)
{
    int fd = -1;
    do {
        fd = ::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool isRegular(int fd)
{
    struct stat status{};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

FileAccess checkRegularFile(const QByteArray &nativePath)
{
    struct stat status{};
    if (nativePath.isEmpty() || ::stat(nativePath.constData(), &status) != 0)
        return FileAccess::Missing;
    if (!S_ISREG(status.st_mode))
        return FileAccess::NotRegular;
    const int fd = openNonBlocking(nativePath);
    if (fd < 0)
        return FileAccess::Unreadable;
    // Replaced by something else between the two looks.
    const bool regular = isRegular(fd);
    ::close(fd);
    return regular ? FileAccess::Readable : FileAccess::NotRegular;
}

bool openRegularFile(QFile &file, QIODevice::OpenMode extraFlags)
{
    const int fd = openNonBlocking(QFile::encodeName(file.fileName()));
    if (fd < 0)
        return false;
    if (!isRegular(fd)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly | extraFlags, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

#else

FileAccess checkRegularFile(const QByteArray &nativePath)
{
    const QFileInfo info(QFile::decodeName(nativePath));
    if (!info.exists())
        return FileAccess::Missing;
    if (!info.isFile())
        return FileAccess::NotRegular;
    return info.isReadable() ? FileAccess::Readable : FileAccess::Unreadable;
}

bool openRegularFile(QFile &file, QIODevice::OpenMode extraFlags)
{
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly | extraFlags);
}

#endif

FileAccess checkRegularFile(const QString &path)
{
    return checkRegularFile(QFile::encodeName(path));
}
