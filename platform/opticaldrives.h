#pragma once
// The optical drives of the machine and what their trays hold. One backend per
// operating system implements OpticalDrives (opticaldrives_linux.cpp on
// Linux); callers hold it through systemOpticalDrives() and stay OS-free.

#include <QList>
#include <QString>

#include <memory>

namespace Platform {

struct OpticalDrive
{
    QString device;      // the node the disc queries take, e.g. "/dev/sr0"
    QString displayText; // e.g. "/dev/sr0 (/media/cdrom0)", or "/dev/sr0" when not mounted
    QString location;    // the mount point when mounted, the device node otherwise
};

enum class DiscContent {
    Unknown,  // the drive could not be asked (no such device, no permission, not a drive)
    NoDisc,
    TrayOpen,
    NotReady, // the drive is still reading the disc in
    Audio,
    Data,
    Mixed,    // audio and data tracks
};

struct DiscInfo
{
    DiscContent content = DiscContent::Unknown;
    int audioTracks = 0; // tracks a CD player can play; 0 unless Audio or Mixed
};

class OpticalDrives
{
public:
    virtual ~OpticalDrives() = default;

    // The drives, in a stable order. Cheap (no disc access): fine on the GUI thread.
    virtual QList<OpticalDrive> drives() const = 0;

    // Asks the drive at `device` what it holds. May take seconds while a disc
    // spins up, so call it off the GUI thread. Thread-safe; never throws; an
    // absent or unusable device gives DiscContent::Unknown.
    virtual DiscInfo discInfo(const QString &device) const = 0;
};

// The backend of the running system, shared so that a query still running on
// a worker thread keeps it alive.
std::shared_ptr<const OpticalDrives> systemOpticalDrives();

} // namespace Platform
