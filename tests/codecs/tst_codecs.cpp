// The tag and playlist readers against hostile input: tag bytes built here, so
// that each case shows the bytes it is about; every input of the fuzz corpora
// through its target's checks, which trap (and so end this test) on a failure;
// and sparse files of hundreds of megabytes, read by a child process (this
// program with --probe) that reports the memory the read cost.

#include "id3tag.h"
#include "m3u.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

extern "C" int fuzzId3TagOneInput(const uint8_t *data, size_t size);
extern "C" int fuzzM3uOneInput(const uint8_t *data, size_t size);

namespace {

QByteArray bigEndian32(quint32 v)
{
    const char bytes[] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    return QByteArray(bytes, 4);
}

QByteArray syncsafe32(quint32 v)
{
    return bigEndian32(((v << 3) & 0x7F000000) | ((v << 2) & 0x7F0000) | ((v << 1) & 0x7F00) | (v & 0x7F));
}

QByteArray frame(int major, const QByteArray &id, const QByteArray &data)
{
    const quint32 size = quint32(data.size());
    return id + (major == 4 ? syncsafe32(size) : bigEndian32(size)) + QByteArray(2, '\0') + data;
}

// A text frame: encoding byte, then the text bytes.
QByteArray text(int major, const QByteArray &id, char encoding, const QByteArray &bytes)
{
    return frame(major, id, encoding + bytes);
}

QByteArray tag(int major, const QByteArray &body, int declaredSize = -1, char flags = 0)
{
    const quint32 size = quint32(declaredSize < 0 ? body.size() : declaredSize);
    return QByteArray("ID3") + char(major) + '\0' + flags + syncsafe32(size) + body;
}

// Audio-like bytes after the tag, as in a real file.
const QByteArray Audio = QByteArray::fromHex("fffb9064") + QByteArray(60, '\x55');

QStringList sorted(const QHash<QString, QString> &fields)
{
    QStringList result;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        result.append(it.key() + QLatin1Char('=') + it.value());
    result.sort();
    return result;
}

// An ID3v2.4 frame header announcing size bytes of data.
QByteArray frameHead(const QByteArray &id, quint32 size)
{
    return id + syncsafe32(size) + QByteArray(2, '\0');
}

constexpr qint64 MB = 1000 * 1000;
constexpr long MemoryLimitKb = 32 * 1024;

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// The child: prints one line per field ("Artist=Ann") or the entry and warning
// counts of a playlist, then "extra_kb N": the peak resident memory during the
// read less the resident memory before it.
int runProbe(const QByteArray &kind, const QString &path)
{
    QStringList lines;
    const long before = residentKb();
    if (kind == "tags") {
        lines = sorted(readMp3TagFields(path));
    } else {
        int warnings = 0;
        const M3uReadResult result = readM3u(path, {}, [&warnings](const QString &) { ++warnings; });
        lines << QStringLiteral("files %1").arg(result.urls(M3uEntryKind::LocalFile).size())
              << QStringLiteral("entries %1").arg(result.entries.size()) << QStringLiteral("warnings %1").arg(warnings);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    lines << QStringLiteral("extra_kb %1").arg(usage.ru_maxrss - before);
    std::printf("%s\n", qPrintable(lines.join(QLatin1Char('\n'))));
    return 0;
}

} // namespace

class CodecsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    int fileCount = 0;

    QString writeFile(const QByteArray &bytes, const QString &name = QString())
    {
        const QString path = dir.filePath(name.isEmpty() ? QStringLiteral("f%1.mp3").arg(++fileCount) : name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void readsTagTextAndStructureWithinBounds_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;

        // A title frame of the given encoding byte and text bytes.
        const auto title = [](int major, const QByteArray &data) { return tag(major, frame(major, "TIT2", data)) + Audio; };
        const QString cafe = QStringLiteral("Title=Caf\u00e9");
        QTest::newRow("latin-1") << title(3, QByteArray("\x00" "Caf\xe9", 5)) << QStringList{cafe} << none;
        QTest::newRow("latin-1 terminator") << title(4, QByteArray("\x00" "3\x00", 3)) << QStringList{"Title=3"} << none;
        QTest::newRow("latin-1 inner nul kept") << title(4, QByteArray("\x00" "A\x00" "B\x00", 5))
                                                << QStringList{QString::fromLatin1("Title=A\0B", 9)} << none;
        QTest::newRow("utf-8 terminators") << title(4, QByteArray("\x03" "Caf\xc3\xa9\x00\x00", 8)) << QStringList{cafe} << none;
        QTest::newRow("utf-16 FF FE little-endian")
            << title(3, QByteArray("\x01\xff\xfe" "C\x00" "a\x00" "f\x00\xe9\x00\x00\x00", 13)) << QStringList{cafe} << none;
        QTest::newRow("utf-16 FE FF big-endian")
            << title(3, QByteArray("\x01\xfe\xff\x00" "C\x00" "a\x00" "f\x00\xe9\x00\x00", 13)) << QStringList{cafe} << none;
        QTest::newRow("utf-16 zero unit inside kept") << title(3, QByteArray("\x01\xff\xfe" "A\x00\x00\x00" "B\x00\x00\x00", 11))
                                                      << QStringList{QString::fromLatin1("Title=A\0B", 9)} << none;
        // A zero byte that is half of a unit is no terminator.
        QTest::newRow("utf-16 unit 0x0100 kept") << title(3, QByteArray("\x01\xfe\xff\x00" "A\x01\x00", 7))
                                                 << QStringList{QStringLiteral("Title=A") + QChar(0x100)} << none;
        QTest::newRow("utf-16BE") << title(4, QByteArray("\x02\x00" "5\x00/\x00" "9\x00\x00", 9)) << QStringList{"Title=5/9"} << none;
        QTest::newRow("utf-16BE with FF FE mark honoured") << title(4, QByteArray("\x02\xff\xfe" "5\x00", 5))
                                                           << QStringList{"Title=5"} << none;
        QTest::newRow("utf-16 odd byte count: stray byte ignored") << title(3, QByteArray("\x01\xff\xfe" "A\x00" "B", 6))
                                                                   << QStringList{"Title=A"} << none;
        QTest::newRow("05/12 kept as text") << title(3, QByteArray("\x00" "05/12", 6)) << QStringList{"Title=05/12"} << none;

        const QByteArray artist = text(3, "TPE1", 0, "Ann");
        const QByteArray songTitle = text(3, "TIT2", 0, "Song");
        const QStringList annSong = {"Artist=Ann", "Title=Song"};
        QTest::newRow("all five frames")
            << tag(4, text(4, "TPOS", 3, "1") + text(4, "TRCK", 3, "7") + text(4, "TALB", 3, "LP")
                          + text(4, "TIT2", 3, "Song") + text(4, "TPE1", 3, "Ann") + QByteArray(20, 0))
                   + Audio
            << QStringList{"Album=LP", "Artist=Ann", "DiscNumber=1", "Title=Song", "TrackNumber=7"} << none;
        QTest::newRow("first of two TPE1 wins")
            << tag(3, artist + text(3, "TPE1", 0, "Bob") + songTitle) + Audio << annSong << none;
        QTest::newRow("padding first: empty") << tag(3, QByteArray(10, 0) + artist) + Audio << none << none;
        QTest::newRow("no tag: empty, no warning") << Audio << none << none;
        QTest::newRow("ID3v2.2 refused") << tag(2, QByteArray("TT2\x00\x00\x05\x00Song", 11)) << none << none;
        QTest::newRow("unknown encoding warns for that frame only")
            << tag(3, text(3, "TPE1", '<', "Ann") + text(3, "TALB", 7, "LP") + songTitle) + Audio
            << QStringList{"Title=Song"}
            << QStringList{"[Main] Artist MP3 tag encoding unknown: &lt;",
                           "[Main] Album MP3 tag encoding unknown: \x07"};
        // Size bytes 00 00 02 01: 257 in ID3v2.4 (syncsafe), 513 in ID3v2.3.
        QTest::newRow("v2.4 frame size syncsafe")
            << tag(4, QByteArray("TIT2\0\0\2\1\0\0\0", 11) + QByteArray(256, 'a') + text(4, "TPE1", 0, "Ann"))
            << QStringList{"Artist=Ann", "Title=" + QString(256, 'a')} << none;
        QTest::newRow("v2.3 frame size big-endian")
            << tag(3, QByteArray("TIT2\0\0\2\1\0\0\0", 11) + QByteArray(512, 'b') + artist)
            << QStringList{"Artist=Ann", "Title=" + QString(512, 'b')} << none;
        QTest::newRow("other frames skipped")
            << tag(3, frame(3, "APIC", QByteArray(300, 'x')) + artist + songTitle) + Audio << annSong << none;
        QTest::newRow("extended header v2.3 skipped")
            << tag(3, QByteArray::fromHex("0000000a80000000000012345678") + artist + songTitle, -1, 0x40)
            << annSong << none;
        QTest::newRow("extended header v2.4 skipped")
            << tag(4, QByteArray::fromHex("000000060100") + artist + songTitle, -1, 0x40) << annSong << none;

        // Untrusted sizes: each ends the walk or yields no text, keeping what came before.
        QTest::newRow("frame data passes the body")
            << tag(3, artist + "TIT2" + bigEndian32(100) + QByteArray("\0\0\0Song", 7)) + Audio
            << QStringList{"Artist=Ann"} << none;
        QTest::newRow("frame size 0xFFFFFFFF")
            << tag(3, artist + "TIT2" + bigEndian32(0xFFFFFFFF) + QByteArray(12, 'x')) + Audio
            << QStringList{"Artist=Ann"} << none;
        QTest::newRow("walk ends inside a frame header")
            << tag(3, artist + QByteArray("TIT2\0\0", 6)) << QStringList{"Artist=Ann"} << none;
        QTest::newRow("text frame of size 0 gives no text")
            << tag(3, frame(3, "TPE1", QByteArray()) + songTitle) + Audio << QStringList{"Title=Song"} << none;
        QTest::newRow("declared size beyond the file: what it holds")
            << tag(3, artist + songTitle, 5000) << annSong << none;
        QTest::newRow("declared size cuts a frame")
            << tag(3, artist + songTitle, artist.size() + 4) + Audio << QStringList{"Artist=Ann"} << none;
        QTest::newRow("file shorter than its header") << QByteArray("ID3\x03\x00\x00\x00", 7) << none << none;
    }

    void readsTagTextAndStructureWithinBounds()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, warnings);
        QStringList logged;
        QCOMPARE(sorted(readMp3TagFields(writeFile(file), [&logged](const QString &line) { logged << line; })), fields);
        QCOMPARE(logged, warnings);
        // The in-memory parser sees the same tag as the file reader.
        const std::optional<Id3Tag> parsed = parseId3Tag(file);
        QCOMPARE(sorted(parsed ? id3TextFields(*parsed) : QHash<QString, QString>()), fields);
    }

    void opensPathsBeyondAsciiAndMissingFilesQuietly()
    {
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Bj\u00f6rk \u65e5\u672c")));
        const QString path = writeFile(tag(3, text(3, "TPE1", 0, "Ann")),
                                       QStringLiteral("Bj\u00f6rk \u65e5\u672c/caf\u00e9 #1.mp3"));
        QCOMPARE(readMp3TagFields(path).value(QStringLiteral("Artist")), QStringLiteral("Ann"));
        // A missing file gives nothing and no log line.
        QStringList logged;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Error opening file: ")));
        QVERIFY(readMp3TagFields(dir.filePath(QStringLiteral("absent.mp3")),
                                 [&logged](const QString &line) { logged.append(line); }).isEmpty());
        QVERIFY(logged.isEmpty());
    }

    void corpusInputPassesItsTargetChecks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        int inputs = 0;
        for (const char *target : {"id3tag", "m3u"}) {
            const QDir corpus(QStringLiteral(FUZZ_DIR "/%1/corpus").arg(QLatin1String(target)));
            const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
            for (const QString &name : names) {
                QTest::addRow("%s/%s", target, qPrintable(name)) << QString::fromLatin1(target) << corpus.filePath(name);
                ++inputs;
            }
        }
        QVERIFY(inputs > 0);
    }

    void corpusInputPassesItsTargetChecks()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto run = target == QLatin1String("m3u") ? fuzzM3uOneInput : fuzzId3TagOneInput;
        QCOMPARE(run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
    }
    void hugeFileIsReadInBoundedMemory_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("head");   // written at offset 0
        QTest::addColumn<qint64>("tailOffset"); // where tail is written
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<qint64>("size");       // the rest is a hole of zeros
        QTest::addColumn<QStringList>("output");

        const qint64 gib = qint64(1) << 30;
        QTest::newRow("playlist: reading stops at 256 MiB, inside a line of 1 GiB")
            << "m3u" << QByteArray("a.mp3\n") << gib - 7 << QByteArray("\nb.mp3\n") << gib
            << QStringList{"files 1", "entries 1", "warnings 1"};

        const QByteArray tagHeader = QByteArray("ID3\4\0\0", 6) + syncsafe32(quint32(256 * MB));
        const QByteArray artist = text(4, "TPE1", 3, "Ann");
        const QByteArray picture = frameHead("APIC", quint32(200 * MB));
        QTest::newRow("tag: 256 MB declared, a 200 MB picture before the title")
            << "tags" << tagHeader + artist + picture
            << qint64(tagHeader.size() + artist.size() + picture.size() + 200 * MB)
            << text(4, "TIT2", 3, "Song") << 300 * MB << QStringList{"Artist=Ann", "Title=Song"};
        const QByteArray hugeTitle = frameHead("TIT2", quint32(250 * MB));
        QTest::newRow("tag: a 250 MB title gives no field, the album after it does")
            << "tags" << tagHeader + artist + hugeTitle
            << qint64(tagHeader.size() + artist.size() + hugeTitle.size() + 250 * MB)
            << text(4, "TALB", 3, "LP") << 300 * MB << QStringList{"Album=LP", "Artist=Ann"};
    }

    void hugeFileIsReadInBoundedMemory()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, head);
        QFETCH(qint64, tailOffset);
        QFETCH(QByteArray, tail);
        QFETCH(qint64, size);
        QFETCH(QStringList, output);

        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath(QStringLiteral("a.mp3"))).open(QIODevice::WriteOnly));
        QVERIFY(QFile(dir.filePath(QStringLiteral("b.mp3"))).open(QIODevice::WriteOnly));
        QFile file(dir.filePath(kind == QLatin1String("m3u") ? QStringLiteral("list.m3u") : QStringLiteral("huge.mp3")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(head) == head.size());
        QVERIFY(file.resize(size)); // sparse: costs no disk
        QVERIFY(file.seek(tailOffset) && file.write(tail) == tail.size());
        file.close();

        QProcess probe;
        probe.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--probe"), kind, file.fileName()});
        QVERIFY(probe.waitForFinished(60000));
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        QStringList lines = QString::fromUtf8(probe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QVERIFY(!lines.isEmpty() && lines.last().startsWith(QLatin1String("extra_kb ")));
        const long extraKb = lines.takeLast().mid(9).toLong();
        QCOMPARE(lines, output);
        QVERIFY2(extraKb < MemoryLimitKb, qPrintable(QStringLiteral("the read cost %1 kB").arg(extraKb)));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--probe")
        return runProbe(argv[2], QString::fromLocal8Bit(argv[3]));
    CodecsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_codecs.moc"
