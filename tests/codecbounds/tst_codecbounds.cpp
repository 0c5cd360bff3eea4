// Hostile sizes against the playlist and tag readers: sparse files of hundreds
// of megabytes, read by a child process that reports the memory the read cost.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray syncsafe32(quint32 v)
{
    const char bytes[] = {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
    return QByteArray(bytes, 4);
}

// An ID3v2.4 frame header announcing size bytes of data.
QByteArray frameHead(const QByteArray &id, quint32 size)
{
    return id + syncsafe32(size) + QByteArray(2, '\0');
}

QByteArray textFrame(const QByteArray &id, const QByteArray &text)
{
    return frameHead(id, quint32(text.size() + 1)) + '\3' + text;
}

constexpr qint64 MB = 1000 * 1000;
constexpr long MemoryLimitKb = 32 * 1024;

} // namespace

class CodecBoundsTest : public QObject
{
    Q_OBJECT

private slots:
    void hugeFileIsReadInBoundedMemory_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("head");   // written at offset 0
        QTest::addColumn<qint64>("tailOffset"); // where tail is written
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<qint64>("size");       // the rest is a hole of zeros
        QTest::addColumn<QStringList>("output");

        const qint64 gib = qint64(1) << 30;
        QTest::newRow("playlist: one line of 1 GiB between two entries")
            << "m3u" << QByteArray("a.mp3\n") << gib - 7 << QByteArray("\nb.mp3\n") << gib
            << QStringList{"files 2", "entries 3", "warnings 1"};

        const QByteArray tagHeader = QByteArray("ID3\4\0\0", 6) + syncsafe32(quint32(256 * MB));
        const QByteArray artist = textFrame("TPE1", "Ann");
        const QByteArray picture = frameHead("APIC", quint32(200 * MB));
        QTest::newRow("tag: 256 MB declared, a 200 MB picture before the title")
            << "tags" << tagHeader + artist + picture
            << qint64(tagHeader.size() + artist.size() + picture.size() + 200 * MB)
            << textFrame("TIT2", "Song") << 300 * MB << QStringList{"Artist=Ann", "Title=Song"};
        const QByteArray hugeTitle = frameHead("TIT2", quint32(250 * MB));
        QTest::newRow("tag: a 250 MB title gives no field, the album after it does")
            << "tags" << tagHeader + artist + hugeTitle
            << qint64(tagHeader.size() + artist.size() + hugeTitle.size() + 250 * MB)
            << textFrame("TALB", "LP") << 300 * MB << QStringList{"Album=LP", "Artist=Ann"};
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
        probe.start(QStringLiteral(CODEC_PROBE), {kind, file.fileName()});
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

QTEST_GUILESS_MAIN(CodecBoundsTest)
#include "tst_codecbounds.moc"
