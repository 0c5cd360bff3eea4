#pragma once
// Reader of ID3v2.3 and ID3v2.4 tags at the start of MP3 files: plain records
// and free functions over byte buffers, no tag library. Only QtCore is used, so
// the reader can be built alone (fuzz targets, benchmarks).
//
// Every size read from a file is untrusted: the walk over the frames stops at
// the first frame whose header or data would pass the end of the body, and the
// body holds only what the file really has, whatever the declared tag size.
// Reading from a file walks the frames in place: only the text frames the
// fields need are read, everything else (pictures above all) is seeked past,
// so memory stays bounded by the largest text frame read (Id3MaxTextFrameBytes).
// Nothing here keeps state; every function may run on any thread.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

class QIODevice;
#include <optional>
#include <vector>

// The ten bytes at offset 0 of the file.
struct Id3Header
{
    QByteArray identifier;   // "ID3"
    quint8 majorVersion = 0; // 3 or 4 are read
    quint8 revision = 0;     // stored, not used
    quint8 flags = 0;        // stored, not interpreted
    qint32 tagSize = 0;      // decoded length of the body after the header
};

struct Id3Frame
{
    QByteArray id;      // four characters, e.g. "TPE1"
    qint32 size = 0;    // length of data
    quint16 flags = 0;  // as stored, not interpreted
    QByteArray data;
};

struct Id3Tag
{
    Id3Header header;
    QByteArray body;              // at most tagSize bytes: only what the file holds;
                                  // empty when the tag was read from a device
    std::vector<Id3Frame> frames; // in file order
};

struct Id3Text
{
    quint8 encoding = 0; // 0 Latin-1, 1 UTF-16 with mark, 2 UTF-16BE, 3 UTF-8
    QByteArray text;
    qint32 length = 0;
};

constexpr int Id3HeaderSize = 10;
constexpr int Id3FrameHeaderSize = 10;
// Text frames above this size give no field and are never read: taggers write
// texts of a few dozen bytes, and a hostile size would cost its size in memory.
constexpr int Id3MaxTextFrameBytes = 1024 * 1024;

// An attached picture (APIC frame) above this size is not read.
constexpr int Id3MaxPictureBytes = 16 * 1024 * 1024;

struct Id3Picture
{
    QByteArray mimeType; // "image/jpeg", "image/png"; may be empty
    quint8 type = 0;     // 3 is the front cover
    QByteArray data;     // the image file's bytes
};

// Receives each "[Main] ..." warning line (outside text already HTML-escaped).
using Id3WarningSink = std::function<void(const QString &)>;

// Big-endian value of count (at most 4) bytes from offset; 0 when the bytes
// would pass the end of the buffer.
quint32 bigEndianToInt(const QByteArray &bytes, int count, int offset);
// Syncsafe decoding: 7 bits per byte, each byte OR-ed in whole.
int syncsafeToInt(quint32 value);

// Header from the first bytes of a file; none without "ID3" or when fewer than
// ten bytes are given.
std::optional<Id3Header> parseId3Header(const QByteArray &bytes);
// 1 for ID3v2.3, 2 for ID3v2.4, 0 for anything else (ID3v2.2 included).
int id3Version(const Id3Header &header);
// The frame at offset of the body; none for padding (four zero bytes) and when
// the frame header or its data would pass the end of the body.
std::optional<Id3Frame> readId3Frame(const QByteArray &body, int offset, int version);
// Tag from a header and the bytes that follow it (cut to the declared size).
Id3Tag parseId3Body(const Id3Header &header, const QByteArray &body);
// Tag from the whole start of a file held in memory.
std::optional<Id3Tag> parseId3Tag(const QByteArray &fileBytes);

// File versions. A file that cannot be opened writes "Error opening file: ..."
// to the standard error stream and gives none; no tag or an unsupported
// version gives none without a message.
std::optional<Id3Header> readId3Header(const QString &path);
// The tag walked in place on a file or random-access device (read from its
// start): the frames hold only the first frame of each id that the text
// fields use, when it fits Id3MaxTextFrameBytes; body stays empty. The walk
// ends once those five ids have been seen. withPicture: the first APIC frame
// (up to Id3MaxPictureBytes) is read too, and the walk waits for it.
std::optional<Id3Tag> readId3Tag(const QString &path, bool withPicture = false);
std::optional<Id3Tag> readId3Tag(QIODevice &device, bool withPicture = false);

// The first frame of the tag with that four-character id; null when none.
const Id3Frame *findId3Frame(const Id3Tag &tag, const char *id);
// Encoding byte and text bytes of a text frame; none for a frame without data.
std::optional<Id3Text> id3FrameText(const Id3Frame &frame);
// Decoded text; none for an unknown encoding. NUL characters that end the
// text (terminators) are dropped; a NUL inside the text stays.
std::optional<QString> decodeId3Text(const Id3Text &text);

// The picture of an APIC frame; none when the frame is cut short or holds
// no image bytes.
std::optional<Id3Picture> id3Picture(const Id3Frame &frame);

// The five text frames the playlist ordering uses, under the keys "Artist",
// "Title", "Album", "TrackNumber" and "DiscNumber". Keys are present only for
// frames that exist, fit Id3MaxTextFrameBytes and decode; an unknown encoding
// gives one warning for that frame. Empty when there is no usable tag.
QHash<QString, QString> id3TextFields(const Id3Tag &tag, const Id3WarningSink &warn = {});
// Same, read from the MP3 file at path (any file name the file system holds).
QHash<QString, QString> readMp3TagFields(const QString &path, const Id3WarningSink &warn = {});
