#pragma once
// Test media made on the fly: MP3 files with the audio of the 2 s test tone
// and ID3v2.3 tags of the caller's choice. QtCore only, so benchmarks use it
// too.

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

namespace TarnTest {

// The audio of the committed tone (tests/data/media/audio.mp3), without its tag.
inline QByteArray toneAudio()
{
    static const QByteArray audio = [] {
        QFile source(QStringLiteral(TARN_TEST_DATA_DIR "/media/audio.mp3"));
        if (!source.open(QIODevice::ReadOnly))
            return QByteArray();
        QByteArray bytes = source.readAll();
        if (bytes.startsWith("ID3")) {
            const auto byte = [&bytes](int i) { return quint32(quint8(bytes.at(i))); };
            const int size = int(byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9));
            bytes = bytes.mid(10 + size);
        }
        return bytes;
    }();
    return audio;
}

// Writes an MP3 file at path: the audio of the 2 s test tone, after an ID3v2.3
// tag holding the given text frames ("TPE1" artist, "TALB" album, "TIT2"
// title, "TRCK" track, "TPOS" disc) and, when given, a front-cover picture
// (an APIC frame of that MIME type); no tag at all when both are empty.
inline bool writeMp3(const QString &path, const QMap<QByteArray, QString> &frames = {},
                     const QByteArray &picture = {}, const QByteArray &pictureMime = "image/png")
{
    const QByteArray audio = toneAudio();
    if (audio.isEmpty())
        return false;
    QByteArray body;
    for (auto it = frames.cbegin(); it != frames.cend(); ++it) {
        const QByteArray text = '\x03' + it.value().toUtf8(); // UTF-8
        QByteArray header = it.key();
        for (int shift : {24, 16, 8, 0})
            header += char((text.size() >> shift) & 0xff);
        body += header + QByteArray(2, '\0') + text;
    }
    if (!picture.isEmpty()) {
        const QByteArray data = '\0' + pictureMime + '\0' + '\x03' + "cover" + '\0' + picture;
        QByteArray header("APIC");
        for (int shift : {24, 16, 8, 0})
            header += char((data.size() >> shift) & 0xff);
        body += header + QByteArray(2, '\0') + data;
    }
    QByteArray tag;
    if (!body.isEmpty()) {
        tag = QByteArray("ID3\x03\x00\x00", 6);
        for (int shift : {21, 14, 7, 0})
            tag += char((body.size() >> shift) & 0x7f);
        tag += body;
    }
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(tag + audio) == tag.size() + audio.size();
}

} // namespace TarnTest
