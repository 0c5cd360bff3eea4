// The contents of ID3v2 frames: text in its four encodings, and attached
// pictures.
#include "id3tag.h"

#include <QtEndian>

namespace {

QString utf16FromBytes(const char *data, int byteCount, bool bigEndian)
{
    const int units = byteCount / 2; // a stray last byte is not part of the text
    QString result(units, Qt::Uninitialized);
    QChar *out = result.data();
    for (int i = 0; i < units; ++i) {
        const uchar *unit = reinterpret_cast<const uchar *>(data + 2 * i);
        out[i] = QChar(bigEndian ? qFromBigEndian<quint16>(unit) : qFromLittleEndian<quint16>(unit));
    }
    return result;
}

// Text of encodings 1 and 2: a leading byte-order mark chooses the byte order
// and is dropped; without one, fallbackBigEndian decides.
QString decodeUtf16(const QByteArray &bytes, bool fallbackBigEndian)
{
    const int size = bytes.size();
    const char *data = bytes.constData();
    if (size >= 2) {
        const uchar b0 = uchar(data[0]);
        const uchar b1 = uchar(data[1]);
        if (b0 == 0xFF && b1 == 0xFE)
            return utf16FromBytes(data + 2, size - 2, false);
        if (b0 == 0xFE && b1 == 0xFF)
            return utf16FromBytes(data + 2, size - 2, true);
    }
    return utf16FromBytes(data, size, fallbackBigEndian);
}

} // namespace

const Id3Frame *findId3Frame(const Id3Tag &tag, const char *id)
{
    for (const Id3Frame &frame : tag.frames) {
        if (frame.id == id)
            return &frame;
    }
    return nullptr;
}

std::optional<Id3Text> id3FrameText(const Id3Frame &frame)
{
    if (frame.data.isEmpty())
        return std::nullopt;
    Id3Text text;
    text.encoding = quint8(frame.data.at(0));
    text.text = frame.data.mid(1);
    text.length = text.text.size();
    return text;
}

std::optional<QString> decodeId3Text(const Id3Text &text)
{
    QString result;
    switch (text.encoding) {
    // The (pointer, size) overloads: the QByteArray ones stop at the first NUL.
    case 0:
        result = QString::fromLatin1(text.text.constData(), text.text.size());
        break;
    case 1:
        result = decodeUtf16(text.text, Q_BYTE_ORDER == Q_BIG_ENDIAN);
        break;
    case 2:
        result = decodeUtf16(text.text, true);
        break;
    case 3:
        result = QString::fromUtf8(text.text.constData(), text.text.size());
        break;
    default:
        return std::nullopt;
    }
    // Many writers end every text with a terminator; kept, "3\0" would not
    // convert to a track number.
    int end = result.size();
    while (end > 0 && result.at(end - 1).isNull())
        --end;
    result.truncate(end);
    return result;
}

std::optional<Id3Picture> id3Picture(const Id3Frame &frame)
{
    const QByteArray &data = frame.data;
    if (data.size() < 2)
        return std::nullopt;
    const quint8 encoding = quint8(data.at(0));
    const int mimeEnd = data.indexOf('\0', 1);
    if (mimeEnd < 0 || mimeEnd + 1 >= data.size())
        return std::nullopt;
    Id3Picture picture;
    picture.mimeType = data.mid(1, mimeEnd - 1);
    picture.type = quint8(data.at(mimeEnd + 1));
    // The description ends with one NUL, or with two at an even distance
    // for the UTF-16 encodings.
    const int descriptionStart = mimeEnd + 2;
    int end = -1;
    if (encoding == 1 || encoding == 2) {
        for (int i = descriptionStart; i + 1 < data.size(); i += 2) {
            if (data.at(i) == 0 && data.at(i + 1) == 0) {
                end = i + 2;
                break;
            }
        }
    } else {
        const int nul = data.indexOf('\0', descriptionStart);
        end = nul < 0 ? -1 : nul + 1;
    }
    if (end < 0 || end >= data.size())
        return std::nullopt;
    picture.data = data.mid(end);
    return picture;
}
