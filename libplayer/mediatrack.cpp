#include "mediatrack.h"

#include <QTextStream>

namespace LibPlayer {

MediaTrack::MediaTrack(int type)
    : type(type)
{
    switch (type) {
    case 0:
        audio = AudioRecord{};
        break;
    case 1:
        video = VideoRecord{};
        break;
    case 2:
        subtitleEncoding.emplace();
        break;
    default:
        break;
    }
}

QString fourccText(std::uint32_t value)
{
    QString text;
    for (int shift = 0; shift <= 24; shift += 8) {
        const char byte = static_cast<char>((value >> shift) & 0xffu);
        text += (byte >= 0x20 && byte < 0x7f) ? QLatin1Char(byte) : QLatin1Char('.');
    }
    return text + QStringLiteral(" (0x%1)").arg(value, 0, 16);
}

QString MediaTrack::toString(int width, int indent) const
{
    QString header;
    switch (type) {
    case 0:
        header = tr("Audio track %1").arg(id);
        break;
    case 1:
        header = tr("Video track %1").arg(id);
        break;
    case 2:
        header = tr("Subtitle track %1").arg(id);
        break;
    default:
        header = tr("Unknown track %1").arg(id);
        break;
    }

    QString result;
    QTextStream out(&result);
    out.setFieldAlignment(QTextStream::AlignLeft);
    out << QString(indent, QLatin1Char(' '));
    out.setFieldWidth(width - indent);
    out << header;
    out.setFieldWidth(0);

    const auto field = [&](const QString &label, const QString &value) {
        out << "\n" << QString(indent + 2, QLatin1Char(' '));
        out.setFieldWidth(width - indent - 2);
        out << label;
        out.setFieldWidth(0);
        out << " : " << value;
    };

    field(tr("Codec"), fourccText(codec));
    field(tr("FOURCC"), fourccText(fourcc));
    field(tr("Profile"), QString::number(profile));
    field(tr("Level"), QString::number(level));
    field(tr("Language"), language);
    field(tr("Description"), description);
    if (audio) {
        field(tr("Channels"), QString::number(audio->channels));
        field(tr("Rate"), QString::number(audio->rate));
    }
    if (video) {
        field(tr("Resolution"), QStringLiteral("%1x%2").arg(video->width).arg(video->height));
        field(tr("SAR"), QStringLiteral("%1/%2").arg(video->sarNum).arg(video->sarDen));
        field(tr("Frame rate"), QStringLiteral("%1/%2").arg(video->frameRateNum).arg(video->frameRateDen));
    }
    if (subtitleEncoding)
        field(tr("Encoding"), *subtitleEncoding);
    out.flush();
    return result;
}

} // namespace LibPlayer
