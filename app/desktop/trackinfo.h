#pragma once

#include <QByteArray>
#include <QString>

namespace Desktop {

// What the player knows of a medium the moment it starts, before libvlc has
// parsed it: an MP3 file's own tag (title, artist, album, track number and
// the attached picture), or else the file name as the title.
struct TrackInfo
{
    QString title;
    QString artist;
    QString album;
    int trackNumber = 0;
    QByteArray picture;     // image bytes; empty without one
    QByteArray pictureMime; // as the tag names it
};

// location: the engine's location of the medium ("file:///...", or another
// scheme, which gives only the last part of its path as the title).
TrackInfo readTrackInfo(const QString &location);

// The attached picture of the current medium as a file in the runtime
// folder, for mpris:artUrl: written once per medium, the previous one
// removed, the last one removed with this object (at quit). GUI thread only.
class ArtFile
{
public:
    ArtFile() = default;
    ~ArtFile();
    ArtFile(const ArtFile &) = delete;
    ArtFile &operator=(const ArtFile &) = delete;

    // Writes the picture of medium `serial`; returns its file URL, empty
    // without a picture or when the file cannot be written.
    QString write(quint64 serial, const TrackInfo &info);

private:
    void remove();

    QString path;
};

} // namespace Desktop
