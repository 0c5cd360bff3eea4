#pragma once
// What the engine knows of the current medium, gathered at one moment into
// plain values (Core::mediaInfo), and its presentation as labelled rows and
// as text. Pure, no libvlc, usable from any thread.

#include <QList>
#include <QString>

#include <cstdint>

namespace LibPlayer {

struct MediaInfo
{
    enum class TrackType { Audio, Video, Subtitle, Unknown };

    struct Track
    {
        TrackType type = TrackType::Unknown;
        int id = 0;
        std::uint32_t codec = 0; // fourcc, first character in the lowest byte
        QString codecName;       // the engine's description of the codec; may be empty
        unsigned int width = 0;
        unsigned int height = 0;
        unsigned int frameRateNum = 0;
        unsigned int frameRateDen = 0;
        unsigned int channels = 0;
        unsigned int rate = 0; // Hz
        QString language;
        QString description;
        unsigned int bitRate = 0; // bits per second; 0 when unknown
    };

    QString location; // a local path, or the location as the engine has it
    qint64 lengthMs = -1;
    QString container;
    QList<Track> tracks;
    QString title;
    QString artist;
    QString album;
    QString trackNumber;
    QString date;
};

// A group of rows: "General", "Video track 1", "Tags", ...
struct MediaInfoSection
{
    QString title;
    QList<QPair<QString, QString>> rows; // label, value; rows without a value are left out
};

// A fourcc in its usual reading order ("h264", "mp4a"); trailing spaces
// dropped, bytes that are not printable ASCII written as '.'.
QString codecText(std::uint32_t fourcc);
// The container named by a location's suffix ("Matroska", "MPEG-TS"), the
// suffix in capitals for one not in the list, empty without a suffix.
QString containerName(const QString &location);

QList<MediaInfoSection> mediaInfoSections(const MediaInfo &info);
// The sections as plain text, one "label: value" per line, a blank line
// between sections (for the clipboard).
QString mediaInfoText(const MediaInfo &info);

} // namespace LibPlayer
