#include "commandline.h"
#include "startup.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void videoDecisionIsCaseSensitive_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("video");
        QTest::newRow("mkv") << "/media/clip.mkv" << true;
        QTest::newRow("MKV in capitals") << "/media/clip.MKV" << false;
        QTest::newRow("f4v without dot in the list") << "clip.f4v" << true;
        QTest::newRow("mp3 is audio") << "/media/song.mp3" << false;
        QTest::newRow("last dot decides") << "/media/archive.mkv.txt" << false;
        QTest::newRow("dot in folder only") << "/media.mkv/clip" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("url") << "http://host/stream.ts" << true;
    }

    void videoDecisionIsCaseSensitive()
    {
        QFETCH(QString, file);
        QTEST(Startup::isVideoFile(file), "video");
    }

    void languagePrecedence_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("language");
        QTest::newRow("locale cut at underscore") << "fr_FR" << "" << "" << "fr";
        QTest::newRow("locale without region") << "C" << "" << "" << "C";
        QTest::newRow("setting beats locale") << "de_DE" << "fr" << "" << "fr";
        QTest::newRow("option beats setting") << "de_DE" << "fr" << "en" << "en";
        QTest::newRow("option beats locale") << "fr_CA" << "" << "de" << "de";
    }

    void languagePrecedence()
    {
        QFETCH(QString, locale);
        QFETCH(QString, setting);
        QFETCH(QString, option);
        QTEST(Startup::interfaceLanguage(locale, setting, option), "language");
    }

    void debugModeNeedsFlagAndExactPassword_data()
    {
        QTest::addColumn<bool>("flag");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("granted");
        QTest::newRow("flag and password") << true << "kivo17" << true;
        QTest::newRow("password without flag") << false << "kivo17" << false;
        QTest::newRow("flag without password") << true << "" << false;
        QTest::newRow("wrong case") << true << "KIVO17" << false;
        QTest::newRow("longer") << true << "kivo170" << false;
    }

    void debugModeNeedsFlagAndExactPassword()
    {
        QFETCH(bool, flag);
        QFETCH(QString, password);
        QTEST(Startup::debugGranted(flag, password), "granted");
    }

    // Arguments as the bytes of argv; a name that is not UTF-8 becomes its
    // location, whole, so that neither the window nor a running instance
    // gets a name with U+FFFD.
    void startFileKeepsItsBytesAndLocationsPass_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::addColumn<QString>("resolved");
        using Args = QList<QByteArray>;
        QTest::newRow("bare name") << Args{"clip.mkv"} << "/home/user/videos/clip.mkv";
        QTest::newRow("sub folder") << Args{"-s", "season 1/ep01.mkv"} << "/home/user/videos/season 1/ep01.mkv";
        QTest::newRow("parent") << Args{"--start", "../music/a.mp3"} << "/home/user/music/a.mp3";
        QTest::newRow("absolute unchanged") << Args{"--start=/srv/clip.mkv"} << "/srv/clip.mkv";
        QTest::newRow("utf-8 name") << Args{"caf\xc3\xa9.mkv"} << QString::fromUtf8("/home/user/videos/caf\xc3\xa9.mkv");
        QTest::newRow("latin-1 byte, relative") << Args{"--start", "lat\xe9.mp4"}
                                                << "file:///home/user/videos/lat%E9.mp4";
        QTest::newRow("latin-1 byte, --start=") << Args{"--start=/srv/a b/lat\xe9.mp4"}
                                                << "file:///srv/a b/lat%E9.mp4";
        QTest::newRow("latin-1 byte, bare absolute") << Args{"/srv/\xff\xfe.mkv"} << "file:///srv/%FF%FE.mkv";
        QTest::newRow("http unchanged") << Args{"--start", "http://127.0.0.1:8000/x.mp4"}
                                        << "http://127.0.0.1:8000/x.mp4";
        QTest::newRow("rtsp unchanged") << Args{"rtsp://127.0.0.1/s"} << "rtsp://127.0.0.1/s";
        QTest::newRow("file url unchanged") << Args{"-s", "file:///srv/clip.mkv"} << "file:///srv/clip.mkv";
        QTest::newRow("colon in a relative name") << Args{"a:b.mkv"} << "/home/user/videos/a:b.mkv";
        QTest::newRow("empty stays empty") << Args{"-d"} << "";
    }

    void startFileKeepsItsBytesAndLocationsPass()
    {
        QFETCH(QList<QByteArray>, arguments);
        arguments.prepend("player-tarn");
        std::vector<char *> argv;
        for (QByteArray &argument : arguments)
            argv.push_back(argument.data());
        const QByteArray startFile = CommandLine::startFileBytes(int(argv.size()), argv.data());
        QTEST(Startup::resolveStartFile(startFile, "/home/user/videos"), "resolved");
    }

    void restartCodesStartANewProcess_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("restarted");
        QTest::newRow("0") << 0 << 0 << false;
        QTest::newRow("999") << 999 << 999 % 256 << false;
        QTest::newRow("1000") << 1000 << 0 << true;
        QTest::newRow("1001") << 1001 << 0 << true;
        QTest::newRow("1002") << 1002 << 1002 % 256 << false;
    }

    void restartCodesStartANewProcess()
    {
        QFETCH(int, code);
        QFETCH(int, exitCode);
        QFETCH(bool, restarted);

        QTemporaryDir dir;
        const QString markPath = dir.filePath(QStringLiteral("mark"));
        qputenv("RESTART_PROBE_MARK", QFile::encodeName(markPath));
        QProcess probe;
        probe.start(QStringLiteral(RESTART_PROBE), {QString::number(code)});
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitCode(), exitCode);

        const QByteArray expected = restarted ? QByteArray("run\nrestarted\n") : QByteArray("run\n");
        const auto marks = [&markPath] {
            QFile mark(markPath);
            return mark.open(QIODevice::ReadOnly) ? mark.readAll() : QByteArray();
        };
        // The restarted process is detached: give it time to write.
        QTRY_COMPARE_WITH_TIMEOUT(marks(), expected, 5000);
        if (!restarted) {
            QTest::qWait(300);
            QCOMPARE(marks(), expected);
        }
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
