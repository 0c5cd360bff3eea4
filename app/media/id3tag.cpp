#include "id3tag.h"

#include "regularfile.h"

#include <QFile>

#include <cstring>
#include <iterator>

namespace {

// Header flag: an extended header follows the ten-byte header.
constexpr quint8 ExtendedHeaderFlag = 0x40;

struct TextField
{
    const char *frameId;
    const char *key;
    const char *warningName;
};

// Reading order of the five frames and the names used in their warnings.
constexpr TextField TextFields[] = {
    {"TPE1", "Artist", "Artist"},
    {"TIT2", "Title", "Title"},
    {"TALB", "Album", "Album"},
    {"TRCK", "TrackNumber", "Track"},
    {"TPOS", "DiscNumber", "Disc (TPOS)"},
};

// Offset of the first frame: after the extended header when the flags
// announce one and it fits in the body, else 0. bodyStart holds the first
// bytes of the body. Left alone, the extended header reads as a frame whose
// size usually passes the end of the body, which would hide every real frame
// behind it.
qint64 firstFrameOffset(const Id3Header &header, const QByteArray &bodyStart, qint64 bodySize)
{
    if (!(header.flags & ExtendedHeaderFlag) || bodyStart.size() < 4)
        return 0;
    const quint32 raw = bigEndianToInt(bodyStart, 4, 0);
    // ID3v2.3 counts the size without its own four bytes; ID3v2.4 counts them
    // and writes the size syncsafe.
    const qint64 length = id3Version(header) == 2 ? qint64(syncsafeToInt(raw)) : qint64(raw) + 4;
    if (length < 4 || length > bodySize)
        return 0;
    return length;
}

struct FrameHead
{
    QByteArray id;
    qint64 size = 0;
    quint16 flags = 0;
};

// The ten-byte frame header at offset of bytes (which must hold it); none for
// padding (four zero bytes).
std::optional<FrameHead> parseFrameHead(const QByteArray &bytes, int offset, int version)
{
    const char *at = bytes.constData() + offset;
    if (at[0] == 0 && at[1] == 0 && at[2] == 0 && at[3] == 0)
        return std::nullopt;
    FrameHead head;
    head.id = bytes.mid(offset, 4);
    const quint32 raw = bigEndianToInt(bytes, 4, offset + 4);
    head.size = version == 2 ? qint64(syncsafeToInt(raw)) : qint64(raw);
    std::memcpy(&head.flags, at + 8, sizeof head.flags);
    return head;
}

// Index in TextFields of a frame id, or -1.
int textFieldIndex(const QByteArray &id)
{
    for (int i = 0; i < int(std::size(TextFields)); ++i) {
        if (id == TextFields[i].frameId)
            return i;
    }
    return -1;
}

// Bytes of a device read through a window of a few kilobytes: the first one
// usually holds the whole tag, and the frames between two windows (large
// pictures) are seeked past, never read.
class DeviceWindow
{
public:
    DeviceWindow(QIODevice &device, qint64 size)
        : device(device)
        , size(size)
    {
    }

    // count bytes at offset; empty when the device does not give them all.
    QByteArray read(qint64 offset, int count)
    {
        if (start >= 0 && offset >= start && offset + count <= start + window.size())
            return window.mid(int(offset - start), count);
        const qint64 length = qMin<qint64>(qMax(count, WindowBytes), size - offset);
        start = -1;
        if (length < count || (device.pos() != offset && !device.seek(offset)))
            return {};
        window = device.read(length);
        start = offset;
        return window.size() < count ? QByteArray() : window.left(count);
    }

private:
    static constexpr int WindowBytes = 16 * 1024;

    QIODevice &device;
    qint64 size = 0;
    QByteArray window;
    qint64 start = -1; // device offset of window; -1 when it holds nothing
};

} // namespace

quint32 bigEndianToInt(const QByteArray &bytes, int count, int offset)
{
    if (count < 0 || count > 4 || offset < 0 || offset > bytes.size() - count)
        return 0;
    quint32 result = 0;
    for (int i = 0; i < count; ++i)
        result = (result << 8) | uchar(bytes.at(offset + i));
    return result;
}

int syncsafeToInt(quint32 value)
{
    const quint32 b0 = (value >> 24) & 0xFF;
    const quint32 b1 = (value >> 16) & 0xFF;
    const quint32 b2 = (value >> 8) & 0xFF;
    const quint32 b3 = value & 0xFF;
    // At most 255 << 21 plus lower bits: always below 2^29, so it fits an int.
    return int((((((b0 << 7) | b1) << 7) | b2) << 7) | b3);
}

std::optional<Id3Header> parseId3Header(const QByteArray &bytes)
{
    if (bytes.size() < Id3HeaderSize || !bytes.startsWith("ID3"))
        return std::nullopt;
    Id3Header header;
    header.identifier = bytes.left(3);
    header.majorVersion = quint8(bytes.at(3));
    header.revision = quint8(bytes.at(4));
    header.flags = quint8(bytes.at(5));
    header.tagSize = syncsafeToInt(bigEndianToInt(bytes, 4, 6));
    return header;
}

int id3Version(const Id3Header &header)
{
    switch (header.majorVersion) {
    case 3:
        return 1;
    case 4:
        return 2;
    default:
        return 0;
    }
}

std::optional<Id3Frame> readId3Frame(const QByteArray &body, int offset, int version)
{
    // A walk that ends inside a frame header ends here.
    if (offset < 0 || offset > body.size() - Id3FrameHeaderSize)
        return std::nullopt;
    const std::optional<FrameHead> head = parseFrameHead(body, offset, version);
    if (!head || head->size > body.size() - offset - Id3FrameHeaderSize)
        return std::nullopt;
    Id3Frame frame;
    frame.id = head->id;
    frame.size = qint32(head->size);
    frame.flags = head->flags;
    frame.data = body.mid(offset + Id3FrameHeaderSize, frame.size);
    return frame;
}

Id3Tag parseId3Body(const Id3Header &header, const QByteArray &body)
{
    Id3Tag tag;
    tag.header = header;
    if (header.tagSize < 1)
        return tag;
    tag.body = body.left(header.tagSize);
    const int version = id3Version(header);
    int offset = int(firstFrameOffset(header, tag.body, tag.body.size()));
    while (offset < tag.body.size()) {
        std::optional<Id3Frame> frame = readId3Frame(tag.body, offset, version);
        if (!frame)
            break;
        // readId3Frame keeps offset + 10 + size within the body: no overflow.
        offset += Id3FrameHeaderSize + frame->size;
        tag.frames.push_back(std::move(*frame));
    }
    return tag;
}

std::optional<Id3Tag> parseId3Tag(const QByteArray &fileBytes)
{
    const std::optional<Id3Header> header = parseId3Header(fileBytes);
    if (!header || id3Version(*header) == 0)
        return std::nullopt;
    return parseId3Body(*header, fileBytes.mid(Id3HeaderSize, qMax(0, header->tagSize)));
}

namespace {

bool openForReading(QFile &file)
{
    // Unbuffered: the walk reads a few small windows and seeks past the rest.
    // A named pipe or a device named like an MP3 file is never read.
    if (openRegularFile(file, QIODevice::Unbuffered))
        return true;
    qWarning("Error opening file: %s", qUtf8Printable(file.errorString()));
    return false;
}

} // namespace

std::optional<Id3Header> readId3Header(const QString &path)
{
    QFile file(path);
    if (!openForReading(file))
        return std::nullopt;
    return parseId3Header(file.read(Id3HeaderSize));
}

std::optional<Id3Tag> readId3Tag(const QString &path, bool withPicture)
{
    QFile file(path);
    if (!openForReading(file))
        return std::nullopt;
    return readId3Tag(file, withPicture);
}

std::optional<Id3Tag> readId3Tag(QIODevice &device, bool withPicture)
{
    const qint64 deviceSize = device.size();
    DeviceWindow bytes(device, deviceSize);
    const std::optional<Id3Header> header = parseId3Header(bytes.read(0, Id3HeaderSize));
    if (!header || id3Version(*header) == 0)
        return std::nullopt;
    Id3Tag tag;
    tag.header = *header;
    // A declared size beyond the end of the device counts only what it holds.
    const qint64 bodySize = qMin<qint64>(header->tagSize, deviceSize - Id3HeaderSize);
    if (bodySize < 1)
        return tag;
    const int version = id3Version(*header);
    qint64 offset = firstFrameOffset(*header, bytes.read(Id3HeaderSize, int(qMin<qint64>(4, bodySize))), bodySize);

    unsigned seen = 0;
    const unsigned pictureBit = 1u << std::size(TextFields);
    const unsigned all = (1u << std::size(TextFields)) - 1 + (withPicture ? pictureBit : 0);
    while (seen != all && offset <= bodySize - Id3FrameHeaderSize) {
        const QByteArray headBytes = bytes.read(Id3HeaderSize + offset, Id3FrameHeaderSize);
        if (headBytes.size() < Id3FrameHeaderSize)
            break;
        const std::optional<FrameHead> head = parseFrameHead(headBytes, 0, version);
        if (!head || head->size > bodySize - offset - Id3FrameHeaderSize)
            break;
        const int field = textFieldIndex(head->id);
        const unsigned bit = field >= 0 ? 1u << field : withPicture && head->id == "APIC" ? pictureBit : 0;
        if (bit && !(seen & bit)) {
            // Only the first frame of an id counts, even when it is too large to read.
            seen |= bit;
            if (head->size <= (bit == pictureBit ? Id3MaxPictureBytes : Id3MaxTextFrameBytes)) {
                Id3Frame frame;
                frame.id = head->id;
                frame.size = qint32(head->size);
                frame.flags = head->flags;
                frame.data = bytes.read(Id3HeaderSize + offset + Id3FrameHeaderSize, frame.size);
                if (frame.data.size() != frame.size)
                    break;
                tag.frames.push_back(std::move(frame));
            }
        }
        offset += Id3FrameHeaderSize + head->size;
    }
    return tag;
}

QHash<QString, QString> id3TextFields(const Id3Tag &tag, const Id3WarningSink &warn)
{
    QHash<QString, QString> fields;
    for (const TextField &field : TextFields) {
        const Id3Frame *frame = findId3Frame(tag, field.frameId);
        if (!frame || frame->size > Id3MaxTextFrameBytes)
            continue;
        const std::optional<Id3Text> text = id3FrameText(*frame);
        if (!text)
            continue;
        const std::optional<QString> decoded = decodeId3Text(*text);
        if (!decoded) {
            if (warn) {
                const QString encoding = QString(QChar(ushort(text->encoding))).toHtmlEscaped();
                warn(QStringLiteral("[Main] %1 MP3 tag encoding unknown: %2")
                         .arg(QLatin1String(field.warningName), encoding));
            }
            continue;
        }
        fields.insert(QLatin1String(field.key), *decoded);
    }
    return fields;
}

QHash<QString, QString> readMp3TagFields(const QString &path, const Id3WarningSink &warn)
{
    const std::optional<Id3Tag> tag = readId3Tag(path);
    if (!tag)
        return {};
    return id3TextFields(*tag, warn);
}
