#pragma once
// The lines of a playlist: read from a device in blocks within bounds, and
// decoded by the file's encoding.

#include <QByteArray>
#include <QString>

class QIODevice;

// Splits a device into lines of at most maxBytes bytes (their "\n" not
// counted), reading it in blocks: QIODevice::readLine reads a plain file one
// byte at a time. A longer line is read past without being kept; only its
// start is. Reading stops for good after maxTotalBytes bytes.
class BoundedLineReader
{
public:
    BoundedLineReader(QIODevice &device, int maxBytes, qint64 maxTotalBytes);

    // The next line into line; overlong tells whether it was cut. False at the end.
    bool next(QByteArray &line, bool &overlong);

    // Why the last next() returned false, if not the end of the device.
    bool cutBySize() const { return sizeCut; }
    bool failed() const { return readFailed; }

private:
    static constexpr int BlockBytes = 64 * 1024;

    bool refill();

    QIODevice &device;
    int maxBytes = 0;
    qint64 maxTotalBytes = 0;
    qint64 total = 0;
    QByteArray block;
    int pos = 0;
    int length = 0;
    bool sizeCut = false;
    bool readFailed = false;
};

// A line of an "m3u8" file is UTF-8; a line of any other file is UTF-8 when
// it is well-formed UTF-8 beyond ASCII (what most tools write whatever the
// suffix), Latin-1 otherwise.
QString decodeLine(const QByteArray &line, bool utf8);
