#pragma once
// From a location chosen in the disc dialog (a drive's device node or mount
// point, or a folder) to what the engine opens, and the tracks of an audio CD.

#include "discfolder.h"

#include "opticaldrives.h"

#include <QList>
#include <QString>

// The media location for a disc `kind` (0 DVD, 1 Blu-ray, 2 audio CD, 3 video
// CD) at `location`: the kind's scheme and the percent-encoded absolute path,
// e.g. "dvd:///dev/sr0" or "dvd:///home/ann/My%20Film". An audio CD chosen by
// the mount point of a listed drive (a mixed disc's data part) plays from the
// drive's device node. Empty for another kind or an empty location. Pure.
QString discEngineLocation(int kind, const QString &location, const QList<Platform::OpticalDrive> &drives);

// discEngineLocation without its "scheme:///" prefix: the path argument of
// the engine's playDisc, which puts that prefix in front.
QString discEnginePath(int kind, const QString &location, const QList<Platform::OpticalDrive> &drives);

// The playable tracks of the audio CD at `location`: a folder counts its
// ".cda" files (or, being a listed drive's mount point without them, the
// drive's table of contents); anything else is asked of the drive as a device
// node. 0 when it holds no audio CD. Blocks while the drive answers.
int audioCdTrackCount(const QString &location, const Platform::OpticalDrives &drives);

// The kind a drive entry preselects: what its mounted folder holds, else an
// audio or mixed disc in the drive gives an audio CD. Blocks while the drive
// answers, so the dialog runs it on a worker thread.
std::optional<DiscKind> driveDiscKind(const QString &location, const QString &device,
                                      const Platform::OpticalDrives &drives);
