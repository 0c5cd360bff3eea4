// The playlist codec against real files in a temporary folder. "@DIR@" in the
// expected texts stands for that folder's path.

#include "m3u.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

Q_DECLARE_METATYPE(M3uLimits)

class M3uTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    QString path(const QString &relative) const { return dir.path() + QLatin1Char('/') + relative; }

    // A Latin-1 é, which no QString path can name.
    QByteArray notTextName() const { return QFile::encodeName(dir.path()) + "/lat\xe9.mp3"; }

    QByteArray withDir(QByteArray bytes) const { return bytes.replace("@DIR@", dir.path().toUtf8()); }

    // One text per entry: "F:" and the path relative to the folder, "L:" and
    // the URL, or "I:" and the entry text.
    QStringList render(const M3uReadResult &result) const
    {
        const QDir root(QFileInfo(dir.path()).canonicalFilePath());
        QStringList texts;
        for (const M3uEntry &entry : result.entries)
            texts << (entry.kind == M3uEntryKind::LocalFile ? "F:" + root.relativeFilePath(entry.url.toLocalFile())
                      : entry.kind == M3uEntryKind::Location ? "L:" + entry.url.toString()
                                                             : "I:" + entry.text);
        return texts;
    }

    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        QFile file(path(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), qint64(bytes.size()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("sub")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lists")));
        const QStringList media = {"a.mp3", "b.mp3", "caf\u00e9.mp3", "caf\u00e9 \u00fc.mp3", "sub/c.mp3", "#1 hit.mp3",
                                   " lead.mp3", "100%.mp3", ":a.mp3"};
        for (const QString &name : media)
            writeFile(name, "ID3");
        FILE *notText = std::fopen(notTextName().constData(), "wb");
        QVERIFY(notText && std::fclose(notText) == 0);
    }
    void cleanupTestCase() { std::remove(notTextName().constData()); }

    void readsEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("extended directives skipped, blanks ignored, CR LF")
            << "ext.m3u" << QByteArray("#EXTM3U\r\n#EXTINF:12,Ann - Song\r\n  a.mp3 \t\r\n\tsub/c.mp3\r\n")
            << QStringList{"F:a.mp3", "F:sub/c.mp3"};
        QTest::newRow("missing entry reported invalid, the rest load")
            << "missing.m3u" << QByteArray("a.mp3\nnone.mp3\nb.mp3") << QStringList{"F:a.mp3", "I:none.mp3", "F:b.mp3"};
        QTest::newRow("empty line resolves to the folder")
            << "empty.m3u" << QByteArray("\n   \n") << QStringList{"F:.", "F:."};
        QTest::newRow("LIST.M3U8 read as UTF-8")
            << "LIST.M3U8" << QByteArray("caf\xc3\xa9.mp3\n") << QStringList{"F:caf\u00e9.mp3"};
        QTest::newRow("m3u: Latin-1 line, \u00e9 as one byte") << "latin.m3u" << QByteArray("caf\xe9.mp3\n")
                                                             << QStringList{"F:caf\u00e9.mp3"};
        QTest::newRow("m3u: UTF-8 lines read as UTF-8")
            << "utf8.m3u" << QByteArray("caf\xc3\xa9 \xc3\xbc.mp3\ncaf\xc3\xa9.mp3\n")
            << QStringList{"F:caf\u00e9 \u00fc.mp3", "F:caf\u00e9.mp3"};
        QTest::newRow("m3u: each line decides, mixed file")
            << "mixed.m3u" << QByteArray("caf\xe9.mp3\ncaf\xc3\xa9.mp3\n\xc3\xa9t\xe9.mp3\n")
            << QStringList{"F:caf\u00e9.mp3", "F:caf\u00e9.mp3", "I:\u00c3\u00a9t\u00e9.mp3"};
        // Overlong form, surrogate, past U+10FFFF, cut sequence: not UTF-8.
        QTest::newRow("m3u: malformed UTF-8 is Latin-1")
            << "malformed.m3u" << QByteArray("\xc0\xaf\n\xed\xa0\x80\n\xf4\x90\x80\x80\ncaf\xc3\n")
            << QStringList{"I:\u00c0\u00af", "I:\u00ed\u00a0\u0080", "I:\u00f4\u0090\u0080\u0080", "I:caf\u00c3"};
        QTest::newRow("name that is not UTF-8: as written, absolute, and as URL")
            << "bytes.m3u8" << QByteArray("lat\xe9.mp3\n@DIR@/lat\xe9.mp3\nfile://@DIR@/lat%E9.mp3\n")
            << QStringList{"F:lat\ufffd.mp3", "F:lat\ufffd.mp3", "F:lat\ufffd.mp3"};
        QTest::newRow("UTF-8 mark makes UTF-8")
            << "marked.m3u" << QByteArray("\xef\xbb\xbf#EXTM3U\ncaf\xc3\xa9.mp3\n") << QStringList{"F:caf\u00e9.mp3"};
        QTest::newRow("absolute paths and file URLs")
            << "abs.m3u" << QByteArray("@DIR@/a.mp3\nfile://@DIR@/sub/c.mp3\nfile://@DIR@/caf%C3%A9.mp3\n@DIR@/no.mp3")
            << QStringList{"F:a.mp3", "F:sub/c.mp3", "F:caf\u00e9.mp3", "I:@DIR@/no.mp3"};
        QTest::newRow("other schemes are locations")
            << "remote.m3u" << QByteArray("http://example.invalid/radio.mp3\nrtsp://127.0.0.1:554/live\n")
            << QStringList{"L:http://example.invalid/radio.mp3", "L:rtsp://127.0.0.1:554/live"};
        QTest::newRow("URL that does not survive its own normalisation is invalid")
            << "host.m3u8" << QByteArray("http://a.\xef\xbb\xbf.b/x\n") << QStringList{"I:http://a.\ufeff.b/x"};
        QTest::newRow("relative path through a subfolder")
            << "sub/up.m3u" << QByteArray("../b.mp3\nc.mp3\n") << QStringList{"F:b.mp3", "F:sub/c.mp3"};
        // Found by fuzzing: the file system cut the name at the NUL and found "/".
        QTest::newRow("NUL inside an entry makes it invalid")
            << "nul.m3u" << QByteArray("///tmp\0///\n", 11) << QStringList{QString::fromLatin1("I:///tmp\0///", 12)};
        QTest::newRow("leading colon is a file name") << "colon.m3u" << QByteArray("::\n:a.mp3\n")
                                                      << QStringList{"I:::", "F::a.mp3"};
        // A component longer than NAME_MAX makes canonicalFilePath hand the
        // path back unchanged instead of an empty one.
        const QByteArray longName(300, 'n');
        QTest::newRow("300-byte path component: relative, absolute, URL, in a folder")
            << "long.m3u" << QByteArray(longName + "\n@DIR@/" + longName + "\nfile://@DIR@/" + longName + "\nsub/"
                                        + longName + "/../c.mp3\n")
            << QStringList{"I:" + longName, "I:@DIR@/" + longName, "I:file://@DIR@/" + longName,
                           "I:sub/" + longName + "/../c.mp3"};
        // Found by fuzzing: each invalid UTF-8 byte becomes three bytes of
        // U+FFFD in the name; the entry came back as an empty line after saving.
        QTest::newRow("fuzz: long name of replacement characters")
            << "long-fuzz.m3u8" << QByteArray("a.mp3\n///XTM" + QByteArray(100, '\xa6') + "6\n")
            << QStringList{"F:a.mp3", "I:///XTM" + QString(100, QChar(0xFFFD)) + "6"};
    }

    void readsEntries()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        writeFile(name, withDir(bytes));
        const M3uReadResult result = readM3u(path(name));
        QVERIFY(result.opened);
        const QByteArray expected = withDir(entries.join('|').toUtf8());
        QCOMPARE(render(result), QString::fromUtf8(expected.constData(), expected.size()).split('|'));
    }

    void boundsLineLengthEntryCountSizeAndLog_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<M3uLimits>("limits");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("warnings");

        const auto limits = [](int line, int entries, qint64 total = 1 << 20, int logged = 100) {
            M3uLimits result;
            result.maxLineBytes = line;
            result.maxEntries = entries;
            result.maxTotalBytes = total;
            result.maxLoggedEntries = logged;
            return result;
        };
        const QString invalid = QStringLiteral("[Main] Invalid item in playlist: ");
        QTest::newRow("line at the limit is read") << QByteArray("a.mp3\n") << limits(5, 10) << QStringList{"F:a.mp3"}
                                                   << QStringList();
        QTest::newRow("a byte over the limit is invalid, reading goes on")
            << QByteArray("a.mp3\nb.mp3") << limits(4, 10) << QStringList{"I:a.mp...", "I:b.mp..."}
            << QStringList{invalid + "a.mp...", invalid + "b.mp..."};
        QTest::newRow("overlong line shows its start and is read past")
            << QByteArray("a.mp3\n" + QByteArray(1000, 'x') + "\r\nb.mp3\n") << limits(100, 10)
            << QStringList{"F:a.mp3", "I:" + QString(80, 'x') + "...", "F:b.mp3"}
            << QStringList{invalid + QString(80, 'x') + "..."};
        QTest::newRow("overlong comment skipped") << QByteArray("#" + QByteArray(500, 'x') + "\na.mp3")
                                                  << limits(100, 10) << QStringList{"F:a.mp3"} << QStringList();
        QTest::newRow("entries past the limit cut, comments not counted")
            << QByteArray("#EXTM3U\na.mp3\n#EXTINF:1,x\nnone.mp3\nb.mp3\nc.mp3\n") << limits(100, 2)
            << QStringList{"F:a.mp3", "I:none.mp3"}
            << QStringList{invalid + "none.mp3", "[Main] Playlist cut after 2 entries"};
        QTest::newRow("markup escaped in the log") << QByteArray("a.mp3\n<b>.mp3\n") << limits(100, 10)
                                                   << QStringList{"F:a.mp3", "I:<b>.mp3"}
                                                   << QStringList{invalid + "&lt;b&gt;.mp3"};
        QTest::newRow("exactly the limit: no cut") << QByteArray("a.mp3\nb.mp3\n# end\n") << limits(100, 2)
                                                   << QStringList{"F:a.mp3", "F:b.mp3"} << QStringList();
        QTest::newRow("reading stops at the size bound, the line it cuts dropped")
            << QByteArray("a.mp3\nb.mp3\nc.mp3\n") << limits(100, 10, 8) << QStringList{"F:a.mp3"}
            << QStringList{"[Main] Playlist cut after 8 bytes"};
        QTest::newRow("a file of exactly the size bound is whole") << QByteArray("a.mp3\nb.mp3\n") << limits(100, 10, 12)
                                                                   << QStringList{"F:a.mp3", "F:b.mp3"} << QStringList();
        QTest::newRow("invalid entries past the logged ones counted in one line")
            << QByteArray("x1\na.mp3\nx2\nx3\nx4\n") << limits(100, 10, 1 << 20, 1)
            << QStringList{"I:x1", "F:a.mp3", "I:x2", "I:x3", "I:x4"}
            << QStringList{invalid + "x1", "[Main] 3 more invalid items in playlist"};
    }

    void boundsLineLengthEntryCountSizeAndLog()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(M3uLimits, limits);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, warnings);
        writeFile(QStringLiteral("bounded.m3u"), bytes);
        QStringList logged;
        const M3uReadResult result = readM3u(path(QStringLiteral("bounded.m3u")), {},
                                             [&logged](const QString &line) { logged << line; }, limits);
        QCOMPARE(render(result), entries);
        QCOMPARE(logged, warnings);
    }

    // None of these may be read, nor wait: each is refused at once.
    void refusesWhatIsNoRegularFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("link to a device that never ends") << "device";
        QTest::newRow("folder") << "folder";
        QTest::newRow("link to nothing") << "dangling";
        QTest::newRow("file without read permission") << "unreadable";
        QTest::newRow("file whose reads fail") << "read-error";
    }

    void refusesWhatIsNoRegularFile()
    {
        QFETCH(QString, kind);
        const QString list = path(kind + QStringLiteral(".m3u"));
        if (kind == QLatin1String("pipe")) {
            QCOMPARE(mkfifo(QFile::encodeName(list).constData(), 0600), 0);
        } else if (kind == QLatin1String("device")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), list));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(list));
        } else if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(path(QStringLiteral("none")), list));
        } else if (kind == QLatin1String("unreadable")) {
            if (geteuid() == 0)
                QSKIP("root reads any file");
            writeFile(kind + QStringLiteral(".m3u"), "a.mp3\n");
            QVERIFY(QFile::setPermissions(list, QFileDevice::WriteOwner));
        } else {
            QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), list)); // a regular file; reads at 0 fail
        }
        QStringList logged;
        const M3uReadResult result = readM3u(list, {}, [&logged](const QString &line) { logged << line; });
        QVERIFY(!result.opened);
        QVERIFY(result.entries.isEmpty());
        QCOMPARE(logged, QStringList{"[Main] Failed to read playlist: " + list});
    }

    // The reader keeps the file it opened: replaced by another while it reads,
    // the first is read whole; cut short, reading ends where it now ends.
    void fileChangedWhileReadIsReadAsItStands_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("replaced") << true;
        QTest::newRow("emptied") << false;
    }

    void fileChangedWhileReadIsReadAsItStands()
    {
        QFETCH(bool, replaced);
        constexpr int Entries = 30000; // several blocks of reading
        const QString list = path(QStringLiteral("changing.m3u"));
        writeFile(QStringLiteral("changing.m3u"), QByteArray("a.mp3\n").repeated(Entries));
        writeFile(QStringLiteral("other.m3u"), "b.mp3\n");
        bool changed = false;
        const auto change = [&](const QString &line) {
            if (changed || !line.startsWith(QLatin1String("[Main] Found item")))
                return;
            changed = true;
            if (replaced)
                std::rename(QFile::encodeName(path(QStringLiteral("other.m3u"))).constData(),
                            QFile::encodeName(list).constData());
            else
                QFile::resize(list, 0);
        };
        const M3uReadResult result = readM3u(list, change);
        QVERIFY(changed && result.opened);
        const QList<QUrl> files = result.urls(M3uEntryKind::LocalFile);
        QCOMPARE(files.size() == Entries, replaced);
        QVERIFY(!files.isEmpty());
        QCOMPARE(files.count(files.first()), files.size());
        QCOMPARE(files.first().fileName(), QStringLiteral("a.mp3"));
    }

    void logsReadAndFailureAtTheirLevels()
    {
        writeFile(QStringLiteral("log.m3u"), "a.mp3\n");
        QStringList log;
        const auto notice = [&log](const QString &line) { log << "N " + line; };
        const auto warning = [&log](const QString &line) { log << "W " + line; };
        QVERIFY(readM3u(path(QStringLiteral("log.m3u")), notice, warning).opened);
        QVERIFY(!readM3u(path(QStringLiteral("<none>.m3u")), notice, warning).opened);
        QCOMPARE(log, QStringList({"N [Main] Read playlist: " + path("log.m3u"), "N [Main] Found item in playlist: a.mp3",
                                   "W [Main] Failed to read playlist: " + path("&lt;none&gt;.m3u")}));
    }

    void writesEntries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("writtenName");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("same folder, file not yet there: bare names")
            << "new.m3u" << QStringList{"b.mp3", "a.mp3", "100%.mp3", ":a.mp3"} << "new.m3u"
            << QByteArray("b.mp3\na.mp3\n100%.mp3\n:a.mp3\n");
        QTest::newRow("LIST.M3U8 is no m3u8 on writing")
            << "LIST2.M3U8" << QStringList{"caf\u00e9.mp3"} << "LIST2.m3u8" << QByteArray("caf\xc3\xa9.mp3\n");
        QTest::newRow("name without suffix") << "plain" << QStringList{"caf\u00e9.mp3"} << "plain.m3u8"
                                             << QByteArray("caf\xc3\xa9.mp3\n");
        QTest::newRow("other folder: absolute paths")
            << "lists/out.m3u" << QStringList{"a.mp3", "sub/c.mp3", "100%.mp3"} << "lists/out.m3u"
            << QByteArray("@DIR@/a.mp3\n@DIR@/sub/c.mp3\n@DIR@/100%.mp3\n");
        QTest::newRow("names a reader would change become URLs")
            << "awkward.m3u" << QStringList{"#1 hit.mp3", " lead.mp3"} << "awkward.m3u"
            << QByteArray("file://@DIR@/%231%20hit.mp3\nfile://@DIR@/%20lead.mp3\n");
        QTest::newRow("name that is not UTF-8 as its URL, in the same folder")
            << "bytes-out.m3u" << QStringList{"a.mp3", "file://@DIR@/lat%E9.mp3"} << "bytes-out.m3u"
            << QByteArray("a.mp3\nfile://@DIR@/lat%E9.mp3\n");
        QTest::newRow("remote location kept")
            << "remote-out.m3u" << QStringList{"a.mp3", "http://example.invalid/r.mp3"} << "remote-out.m3u"
            << QByteArray("a.mp3\nhttp://example.invalid/r.mp3\n");
        // Found by fuzzing: "%20" at the end of a URL, decoded to a blank, was trimmed on reading.
        QTest::newRow("remote location ending in a blank encoded")
            << "remote-blank.m3u" << QStringList{"http://example.invalid/a "} << "remote-blank.m3u"
            << QByteArray("http://example.invalid/a%20\n");
    }

    // Each saved playlist also reads back to its entries, in order.
    void writesEntries()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, items);
        QFETCH(QString, writtenName);
        QFETCH(QByteArray, bytes);
        QStringList locations, expected;
        for (const QString &item : items) {
            const bool url = item.contains(QStringLiteral("://"));
            const bool remote = url && !item.startsWith(QLatin1String("file:"));
            locations << (url ? QString::fromUtf8(withDir(item.toUtf8())) : QUrl::fromLocalFile(path(item)).toString());
            expected << (remote ? "L:" + item : "F:" + (url ? QUrl(locations.last()).fileName() : item));
        }
        const M3uWriteResult result = writeM3u(path(name), locations);
        QVERIFY(result.written);
        QCOMPARE(result.fileName, path(writtenName));
        QFile written(result.fileName);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), withDir(bytes));
        if (writtenName != name)
            QVERIFY(!QFile::exists(path(name)));
        QCOMPARE(render(readM3u(result.fileName)), expected);
    }
};

QTEST_GUILESS_MAIN(M3uTest)
#include "tst_m3u.moc"
