// Feeds arbitrary bytes to the tag reader as the start of an MP3 file, and to
// the frame reader at every offset of a short body. Any read outside a buffer
// or undefined behaviour aborts under the sanitizers. The walk in place over a
// device must give the same fields as the parse of the bytes in memory.

#include "id3tag.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    // Raw data: no terminating NUL, so an overread past the input is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));

    const std::optional<Id3Tag> tag = parseId3Tag(bytes);
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    const std::optional<Id3Tag> walked = readId3Tag(device);
    if (bool(tag) != bool(walked) || (tag && id3TextFields(*tag) != id3TextFields(*walked)))
        __builtin_trap();

    if (tag) {
        int warnings = 0;
        id3TextFields(*tag, [&warnings](const QString &) { ++warnings; });
        for (const Id3Frame &frame : tag->frames) {
            if (frame.data.size() != frame.size)
                __builtin_trap();
            if (const std::optional<Id3Text> text = id3FrameText(frame))
                decodeId3Text(*text);
        }
        if (warnings > 5)
            __builtin_trap(); // at most one per looked-up frame
    }

    const int limit = qMin(int(size), 64);
    for (int offset = -1; offset <= limit; ++offset) {
        for (int version = 0; version <= 2; ++version) {
            if (const std::optional<Id3Frame> frame = readId3Frame(bytes, offset, version)) {
                if (frame->size < 0 || qint64(offset) + 10 + frame->size > bytes.size())
                    __builtin_trap();
            }
        }
    }
    return 0;
}
