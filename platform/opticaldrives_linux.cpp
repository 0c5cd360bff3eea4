#include "opticaldrives_linux.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

struct Mount
{
    QString source;
    QString target;
};

// The kernel writes space, tab, newline and backslash in mount fields as a
// backslash and three octal digits.
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArray digits = field.mid(i + 1, 3);
            const bool octal = std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; });
            const int value = digits.toInt(nullptr, 8);
            if (octal && value < 256) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

QList<Mount> parseMounts(const QByteArray &text)
{
    QList<Mount> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2)
            mounts.append({unescapeMountField(fields[0]), unescapeMountField(fields[1])});
    }
    return mounts;
}

QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    // procfs reports size 0: read until the end, with a cap against a runaway file.
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(1 << 20);
}

// "sr" then a number: the SCSI CD-ROM naming of the kernel; other names come
// from the cdrom info table as they are.
bool driveNameLess(const QString &a, const QString &b)
{
    static const QRegularExpression numbered(QStringLiteral("^(\\D*)(\\d+)$"));
    const QRegularExpressionMatch ma = numbered.match(a);
    const QRegularExpressionMatch mb = numbered.match(b);
    if (ma.hasMatch() && mb.hasMatch() && ma.captured(1) == mb.captured(1))
        return ma.captured(2).toULongLong() < mb.captured(2).toULongLong();
    return a < b;
}

} // namespace

LinuxOpticalDrives::LinuxOpticalDrives(const QString &root)
    : root(root)
{
}

QString LinuxOpticalDrives::underRoot(const QString &path) const
{
    return QDir::cleanPath(root + QLatin1Char('/') + path);
}

QList<OpticalDrive> LinuxOpticalDrives::drives() const
{
    static const QRegularExpression srName(QStringLiteral("^sr\\d+$"));
    QStringList names;
    const QStringList blockEntries = QDir(underRoot(QStringLiteral("/sys/class/block")))
                                         .entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::System
                                                                                  | QDir::NoDotAndDotDot);
    for (const QString &name : blockEntries) {
        if (srName.match(name).hasMatch())
            names.append(name);
    }
    // "drive name:" lists every registered CD-ROM drive, sr* or older IDE names.
    const QByteArray info = readSmallFile(underRoot(QStringLiteral("/proc/sys/dev/cdrom/info")));
    for (const QByteArray &line : info.split('\n')) {
        if (!line.startsWith("drive name:"))
            continue;
        for (const QByteArray &name : line.mid(int(qstrlen("drive name:"))).simplified().split(' ')) {
            const QString text = QString::fromLatin1(name);
            if (!text.isEmpty() && !text.contains(QLatin1Char('/')) && !names.contains(text))
                names.append(text);
        }
    }
    std::sort(names.begin(), names.end(), driveNameLess);

    const QList<Mount> mounts = parseMounts(readSmallFile(underRoot(QStringLiteral("/proc/self/mounts"))));
    QList<OpticalDrive> drives;
    for (const QString &name : names) {
        const QString device = QStringLiteral("/dev/") + name;
        const QString canonicalDevice = QFileInfo(underRoot(device)).canonicalFilePath();
        QString mountPoint;
        for (const Mount &mount : mounts) {
            // The source may also be a link to the node, such as /dev/cdrom.
            const bool same = mount.source == device
                              || (!canonicalDevice.isEmpty() && mount.source.startsWith(QLatin1Char('/'))
                                  && QFileInfo(underRoot(mount.source)).canonicalFilePath() == canonicalDevice);
            if (same) {
                mountPoint = mount.target;
                break;
            }
        }
        OpticalDrive drive;
        drive.device = device;
        if (mountPoint.isEmpty()) {
            drive.displayText = device;
            drive.location = device;
        } else {
            drive.displayText = QStringLiteral("%1 (%2)").arg(device, QDir::toNativeSeparators(mountPoint));
            drive.location = mountPoint;
        }
        drives.append(drive);
    }
    return drives;
}

DiscInfo LinuxOpticalDrives::discInfo(const QString &device) const
{
    if (device.isEmpty())
        return DiscInfo();
    const QByteArray path = QFile::encodeName(underRoot(device));
    // O_NONBLOCK: opens an empty drive too, and keeps the kernel from closing an open tray.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return DiscInfo();
    DiscInfo info;
    struct stat status{};
    // CD-ROM ioctl numbers mean other things to other devices: ask block devices only.
    if (::fstat(fd, &status) == 0 && S_ISBLK(status.st_mode))
        info = decodeCdrom(readCdrom(fd));
    ::close(fd);
    return info;
}

std::shared_ptr<const OpticalDrives> systemOpticalDrives()
{
    static const std::shared_ptr<const OpticalDrives> drives = std::make_shared<LinuxOpticalDrives>();
    return drives;
}

} // namespace Platform
