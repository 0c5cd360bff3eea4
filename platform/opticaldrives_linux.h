#pragma once
// Linux backend of OpticalDrives: drives from sysfs and procfs, mount points
// from /proc/self/mounts, disc status and table of contents through the
// CD-ROM ioctls. Every path is read under a root folder, so that tests can
// hand it a fake tree.

#include "opticaldrives.h"

#include <QVector>

namespace Platform {

class LinuxOpticalDrives final : public OpticalDrives
{
public:
    explicit LinuxOpticalDrives(const QString &root = QStringLiteral("/"));

    // Block devices named sr<N> in /sys/class/block and the drives named in
    // /proc/sys/dev/cdrom/info, in numeric order.
    QList<OpticalDrive> drives() const override;
    DiscInfo discInfo(const QString &device) const override;

private:
    QString underRoot(const QString &path) const;

    const QString root;
};

// The results of the CD-ROM ioctls on one drive, as recorded; -1 stands for
// a call that failed.
struct CdromRecord
{
    int driveStatus = -1; // CDROM_DRIVE_STATUS (CDS_NO_INFO ... CDS_DISC_OK)
    int discStatus = -1;  // CDROM_DISC_STATUS (CDS_AUDIO, CDS_DATA_1, CDS_MIXED ...)
    int firstTrack = 0;   // CDROMREADTOCHDR; no header read when lastTrack < firstTrack
    int lastTrack = -1;
    QVector<int> trackControl; // cdte_ctrl of tracks firstTrack..lastTrack (CDROMREADTOCENTRY)
};

// What the drive holds, from its recorded answers. Pure.
DiscInfo decodeCdrom(const CdromRecord &record);

// Runs the ioctls on an opened drive (O_RDONLY | O_NONBLOCK); the table of
// contents is read only when a disc is present.
CdromRecord readCdrom(int fd);

} // namespace Platform
