// Feeds arbitrary bytes to the playlist reader as a playlist in a small
// folder of real files, then saves the local entries it found and reads the
// saved file back: the same entries must come back, in order (compared as
// fully encoded URLs: "#" in a fragment may come back as "%23").

#include "m3u.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

QTemporaryDir *folder()
{
    static std::unique_ptr<QTemporaryDir> dir = [] {
        auto made = std::make_unique<QTemporaryDir>();
        QDir root(made->path());
        root.mkpath(QStringLiteral("sub"));
        const QStringList names = {"a.mp3", "b c.mp3", "#x.mp3", "caf\u00e9.mp3", "sub/d.mp3", " e.mp3"};
        for (const QString &name : names) {
            QFile file(root.filePath(name));
            file.open(QIODevice::WriteOnly);
        }
        return made;
    }();
    return dir.get();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > (1 << 16) || size < 1)
        return 0;
    QTemporaryDir *dir = folder();
    const QString root = QDir(dir->path()).canonicalPath();
    // First byte: encoding choice; the rest: the file.
    const bool utf8 = data[0] & 1;
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), int(size - 1));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    const auto ignore = [](const QString &) {};
    const M3uReadResult read = readM3uEntries(buffer, root, utf8, ignore, ignore);

    QStringList locations, expected;
    for (const M3uEntry &entry : read.entries) {
        if (entry.kind != M3uEntryKind::Invalid) {
            locations << entry.url.toString();
            expected << entry.url.toString(QUrl::FullyEncoded);
        }
    }
    if (locations.isEmpty())
        return 0;
    const M3uWriteResult written = writeM3u(root + QStringLiteral("/out.m3u"), locations);
    if (!written.written)
        __builtin_trap();
    const M3uReadResult back = readM3u(written.fileName);
    QFile::remove(written.fileName);
    QStringList again;
    for (const M3uEntry &entry : back.entries)
        again << (entry.kind == M3uEntryKind::Invalid ? QStringLiteral("<invalid>")
                                                      : entry.url.toString(QUrl::FullyEncoded));
    if (again != expected)
        __builtin_trap();
    return 0;
}
