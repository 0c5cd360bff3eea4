#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

// What the history store keeps about one medium the user played: where it
// stopped and the tracks chosen for it. The key is the medium's identity
// (see mediaidentity.h); the path is the place it was last played from.
struct ResumeEntry
{
    QString key;
    QString path;
    qint64 position = 0; // ms
    qint64 length = 0;   // ms
    int audioTrack = -1;
    int subtitleTrack = -1;
    QString subtitleFile;
    int title = -1; // disc title, -1 for other media
};

// Kinds of the recent entries, by the route that reopens them.
enum class RecentKind { File = 0, Url = 1, Disc = 2 };

struct RecentEntry
{
    RecentKind kind = RecentKind::File;
    QString location; // file path, URL text or the disc's engine location
};

// The playlist at the last quit: items in order, the current one (from 1)
// and the position in it.
struct StoredPlaylist
{
    bool audio = true;
    QVector<QString> items;
    int current = 0;
    qint64 position = 0; // ms
};

Q_DECLARE_METATYPE(ResumeEntry)
