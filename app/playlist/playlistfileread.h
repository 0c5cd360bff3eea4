#pragma once

#include "dropplan.h"

#include <QList>
#include <QString>

// A playlist file read for the window: what its entries offer, as drop
// candidates in file order, and the log lines of the read, in order.
struct PlaylistFileRead
{
    struct LogLine
    {
        bool warning = false; // otherwise a notice
        QString text;
    };

    bool opened = false; // false: refused, or it could not be opened or read
    int found = 0;       // entries naming something that exists, or a location
    DropCandidates candidates;
    QList<LogLine> log;
};

// Reads the M3U or M3U8 file at path on a worker thread (each entry's
// existence is a file-system look-up, a million of them take seconds) while
// the calling thread keeps handling paint, timer, socket and window-system
// events; user input waits until the read is done. Returns once it is done.
// Call on the GUI thread; the caller stays on the stack throughout.
PlaylistFileRead readPlaylistFile(const QString &path);
