#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>

namespace LibPlayer {

// What libvlc reports about one elementary stream of the playing media, and its
// rendering as an indented, column-aligned text block for the log. A plain
// value: copied, compared field by field, kept in containers by value.
class MediaTrack
{
    Q_DECLARE_TR_FUNCTIONS(LibPlayer::MediaTrack)

public:
    struct AudioRecord
    {
        unsigned int channels = 0;
        unsigned int rate = 0; // Hz
    };
    struct VideoRecord
    {
        unsigned int height = 0;
        unsigned int width = 0;
        unsigned int sarNum = 0;
        unsigned int sarDen = 0;
        unsigned int frameRateNum = 0;
        unsigned int frameRateDen = 0;
    };

    // type: 0 audio, 1 video, 2 subtitle text, anything else unknown. Creates
    // the one zero-filled record that matches the type.
    explicit MediaTrack(int type = -1);

    // The header line, then one "label : value" line per field; labels are
    // padded so that the separators line up. The last line has no line end.
    QString toString(int width, int indent) const;

    std::uint32_t codec = 0;
    std::uint32_t fourcc = 0;
    int id = 0;
    int type = 0;
    int profile = 0;
    int level = 0;
    QString language;
    QString description;
    std::optional<AudioRecord> audio;          // type 0 only
    std::optional<VideoRecord> video;          // type 1 only
    std::optional<QString> subtitleEncoding;   // type 2 only
};

// The four characters of a fourcc value in their usual order (libvlc keeps
// the first one in the least significant byte); bytes that are not
// printable ASCII are written as '.' so that a zero value cannot put control
// characters into a log line.
QString fourccText(std::uint32_t value);

} // namespace LibPlayer
