#include "opticaldrives_linux.h"

#include <linux/cdrom.h>
#include <sys/ioctl.h>

#include <algorithm>

namespace Platform {

DiscInfo decodeCdrom(const CdromRecord &record)
{
    switch (record.driveStatus) {
    case CDS_TRAY_OPEN:
        return {DiscContent::TrayOpen, 0};
    case CDS_NO_DISC:
        return {DiscContent::NoDisc, 0};
    case CDS_DRIVE_NOT_READY:
        return {DiscContent::NotReady, 0};
    default:
        // CDS_DISC_OK, CDS_NO_INFO (a drive that cannot tell) or a failed call:
        // the disc status and the table of contents decide.
        break;
    }

    int audio = 0;
    int data = 0;
    int unread = 0;
    for (const int control : record.trackControl) {
        if (control < 0)
            ++unread;
        else if (control & CDROM_DATA_TRACK)
            ++data;
        else
            ++audio;
    }

    DiscInfo info;
    switch (record.discStatus) {
    case CDS_NO_DISC:
        return {DiscContent::NoDisc, 0};
    case CDS_AUDIO:
        info.content = DiscContent::Audio;
        break;
    case CDS_MIXED:
        info.content = DiscContent::Mixed;
        break;
    case CDS_DATA_1:
    case CDS_DATA_2:
    case CDS_XA_2_1:
    case CDS_XA_2_2:
        info.content = DiscContent::Data;
        break;
    default:
        info.content = audio && data ? DiscContent::Mixed
                       : audio       ? DiscContent::Audio
                       : data        ? DiscContent::Data
                                     : DiscContent::Unknown;
        break;
    }

    if (info.content == DiscContent::Audio || info.content == DiscContent::Mixed) {
        const int headerTracks = record.lastTrack >= record.firstTrack ? record.lastTrack - record.firstTrack + 1 : 0;
        if (unread == 0 && !record.trackControl.isEmpty())
            info.audioTracks = audio;
        else if (info.content == DiscContent::Audio)
            info.audioTracks = headerTracks;
        else // without the entries, count a mixed disc as its usual single data track plus audio
            info.audioTracks = std::max(0, headerTracks - 1);
    }
    return info;
}

CdromRecord readCdrom(int fd)
{
    CdromRecord record;
    record.driveStatus = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    if (record.driveStatus == CDS_TRAY_OPEN || record.driveStatus == CDS_NO_DISC
        || record.driveStatus == CDS_DRIVE_NOT_READY)
        return record;
    record.discStatus = ::ioctl(fd, CDROM_DISC_STATUS, 0);
    if (record.discStatus == CDS_NO_DISC)
        return record;

    cdrom_tochdr header{};
    if (::ioctl(fd, CDROMREADTOCHDR, &header) != 0)
        return record;
    record.firstTrack = header.cdth_trk0;
    record.lastTrack = header.cdth_trk1;
    for (int track = record.firstTrack; track <= record.lastTrack; ++track) {
        cdrom_tocentry entry{};
        entry.cdte_track = static_cast<__u8>(track);
        entry.cdte_format = CDROM_LBA;
        record.trackControl.append(::ioctl(fd, CDROMREADTOCENTRY, &entry) == 0 ? int(entry.cdte_ctrl) : -1);
    }
    return record;
}

} // namespace Platform
