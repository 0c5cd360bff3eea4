#include "m3ulines.h"

#include <QIODevice>

#include <cstring>

namespace {

// Bytes of an overlong line shown in its warning.
constexpr int OverlongShownBytes = 80;

} // namespace

BoundedLineReader::BoundedLineReader(QIODevice &device, int maxBytes, qint64 maxTotalBytes)
    : device(device)
    , maxBytes(maxBytes)
    , maxTotalBytes(maxTotalBytes)
    , block(BlockBytes, Qt::Uninitialized)
{
}

bool BoundedLineReader::next(QByteArray &line, bool &overlong)
{
    line.clear();
    overlong = false;
    bool any = false;
    for (;;) {
        // The line the size bound cuts is dropped.
        if (pos == length && !refill())
            return any && !sizeCut;
        any = true;
        const char *start = block.constData() + pos;
        const auto newline = static_cast<const char *>(std::memchr(start, '\n', size_t(length - pos)));
        const int count = newline ? int(newline - start) : length - pos;
        if (!overlong) {
            line.append(start, count);
            if (line.size() > maxBytes) {
                overlong = true;
                line.truncate(qMin(OverlongShownBytes, maxBytes));
            }
        }
        pos += count;
        if (newline) {
            ++pos;
            return true;
        }
    }
}

bool BoundedLineReader::refill()
{
    pos = 0;
    length = 0;
    const qint64 room = maxTotalBytes - total;
    if (room <= 0) {
        // Only a device with more to give was cut.
        char probe = 0;
        sizeCut = device.read(&probe, 1) > 0;
        return false;
    }
    const qint64 got = device.read(block.data(), qMin<qint64>(BlockBytes, room));
    readFailed = got < 0;
    length = int(qMax<qint64>(0, got));
    total += length;
    return length > 0;
}

namespace {

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF)
// with at least one byte beyond ASCII.
bool isUtf8BeyondAscii(const QByteArray &line)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(line.constData());
    const int size = line.size();
    bool beyond = false;
    for (int i = 0; i < size;) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyond = true;
        int length = 0;
        unsigned char low = 0x80, high = 0xBF; // range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (size - i < length || bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return beyond;
}

} // namespace

QString decodeLine(const QByteArray &line, bool utf8)
{
    return utf8 || isUtf8BeyondAscii(line) ? QString::fromUtf8(line.constData(), line.size())
                                           : QString::fromLatin1(line.constData(), line.size());
}

