#include "mediainfo.h"

#include "timeformat.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

namespace LibPlayer {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("LibPlayer::MediaInfo", text);
}

struct Container
{
    const char *suffix;
    const char *name;
};

constexpr Container containers[] = {
    {"mkv", "Matroska"},      {"mka", "Matroska"},     {"webm", "WebM"},     {"mp4", "MP4"},
    {"m4v", "MP4"},           {"m4a", "MP4"},          {"mov", "QuickTime"}, {"avi", "AVI"},
    {"ts", "MPEG-TS"},        {"m2ts", "MPEG-TS"},     {"mts", "MPEG-TS"},   {"mpg", "MPEG-PS"},
    {"mpeg", "MPEG-PS"},      {"vob", "MPEG-PS"},      {"ogg", "Ogg"},       {"ogv", "Ogg"},
    {"oga", "Ogg"},           {"opus", "Ogg"},         {"flv", "Flash Video"}, {"wmv", "ASF"},
    {"wma", "ASF"},           {"asf", "ASF"},          {"mp3", "MPEG audio"}, {"flac", "FLAC"},
    {"wav", "WAVE"},          {"aac", "ADTS"},         {"3gp", "3GPP"},      {"iso", "Disc image"},
};

QString trackTitle(const MediaInfo::Track &track)
{
    switch (track.type) {
    case MediaInfo::TrackType::Audio:
        return tr("Audio track %1").arg(track.id);
    case MediaInfo::TrackType::Video:
        return tr("Video track %1").arg(track.id);
    case MediaInfo::TrackType::Subtitle:
        return tr("Subtitle track %1").arg(track.id);
    case MediaInfo::TrackType::Unknown:
        break;
    }
    return tr("Other track %1").arg(track.id);
}

QString frameRate(unsigned int num, unsigned int den)
{
    if (num == 0 || den == 0)
        return QString();
    return tr("%1 fps").arg(QString::number(double(num) / den, 'g', 5));
}

QString bitRate(unsigned int bitsPerSecond)
{
    return bitsPerSecond == 0 ? QString() : tr("%1 kb/s").arg((bitsPerSecond + 500) / 1000);
}

} // namespace

QString codecText(std::uint32_t fourcc)
{
    QString text;
    for (int shift = 0; shift < 32; shift += 8) {
        const char byte = static_cast<char>((fourcc >> shift) & 0xffu);
        text += (byte >= 0x20 && byte < 0x7f) ? QLatin1Char(byte) : QLatin1Char('.');
    }
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString containerName(const QString &location)
{
    const QString suffix = QFileInfo(QUrl(location).path()).suffix().toLower();
    if (suffix.isEmpty())
        return QString();
    for (const Container &entry : containers) {
        if (suffix == QLatin1String(entry.suffix))
            return QLatin1String(entry.name);
    }
    return suffix.toUpper();
}

QList<MediaInfoSection> mediaInfoSections(const MediaInfo &info)
{
    QList<MediaInfoSection> sections;
    const auto add = [](MediaInfoSection &section, const QString &label, const QString &value) {
        if (!value.isEmpty())
            section.rows.append({label, value});
    };
    MediaInfoSection general{tr("General"), {}};
    add(general, tr("Location"), info.location);
    add(general, tr("Length"), info.lengthMs >= 0 ? formatMilliseconds(info.lengthMs) : QString());
    add(general, tr("Container"), info.container);
    sections.append(general);

    for (const MediaInfo::Track &track : info.tracks) {
        MediaInfoSection section{trackTitle(track), {}};
        const QString codec = codecText(track.codec);
        add(section, tr("Codec"), track.codecName.isEmpty() ? codec : QStringLiteral("%1 (%2)").arg(codec, track.codecName));
        if (track.type == MediaInfo::TrackType::Video) {
            add(section, tr("Resolution"),
                track.width > 0 ? QStringLiteral("%1x%2").arg(track.width).arg(track.height) : QString());
            add(section, tr("Frame rate"), frameRate(track.frameRateNum, track.frameRateDen));
        } else if (track.type == MediaInfo::TrackType::Audio) {
            add(section, tr("Channels"), track.channels > 0 ? QString::number(track.channels) : QString());
            add(section, tr("Sample rate"), track.rate > 0 ? tr("%1 Hz").arg(track.rate) : QString());
        }
        // "und": the container's word for a language it does not know.
        add(section, tr("Language"), track.language == QLatin1String("und") ? QString() : track.language);
        add(section, tr("Description"), track.description);
        add(section, tr("Bit rate"), bitRate(track.bitRate));
        sections.append(section);
    }

    MediaInfoSection tags{tr("Tags"), {}};
    add(tags, tr("Title"), info.title);
    add(tags, tr("Artist"), info.artist);
    add(tags, tr("Album"), info.album);
    add(tags, tr("Track"), info.trackNumber);
    add(tags, tr("Date"), info.date);
    if (!tags.rows.isEmpty())
        sections.append(tags);
    return sections;
}

QString mediaInfoText(const MediaInfo &info)
{
    QStringList blocks;
    for (const MediaInfoSection &section : mediaInfoSections(info)) {
        QStringList lines{section.title};
        for (const auto &row : section.rows)
            lines << QStringLiteral("  %1: %2").arg(row.first, row.second);
        blocks << lines.join(QLatin1Char('\n'));
    }
    return blocks.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
}

} // namespace LibPlayer
