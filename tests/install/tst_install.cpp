// `cmake --install` into a temporary prefix and the .deb that CPack makes,
// checked with desktop-file-validate, appstreamcli, dpkg-deb and the
// installed program itself (its window under the test's X server).

#include "desktopentry.h"
#include "tarntest.h"

#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAll())};
}

const QStringList iconSizes{"16", "24", "32", "48", "64", "128", "256"};

// Every file the install puts under the prefix.
QStringList installedFiles()
{
    QStringList files{"bin/player-tarn", "share/applications/player-tarn.desktop",
                      "share/metainfo/com.mirelva.PlayerTarn.metainfo.xml", "share/man/man1/player-tarn.1.gz",
                      "share/icons/hicolor/scalable/apps/player-tarn.svg"};
    for (const QString &size : iconSizes)
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/player-tarn.png").arg(size);
    return files;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const Run install = run(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void everyFileInPlace()
    {
        for (const QString &relative : installedFiles())
            QVERIFY2(QFileInfo(file(relative)).isFile(), qPrintable(relative));
        QVERIFY(QFileInfo(file(QStringLiteral("bin/player-tarn"))).isExecutable());
        for (const QString &size : iconSizes) {
            const QSize image =
                QImageReader(file(QStringLiteral("share/icons/hicolor/%1x%1/apps/player-tarn.png").arg(size))).size();
            QCOMPARE(image, QSize(size.toInt(), size.toInt()));
        }
        const QString page = run("gzip", {"-dc", file(QStringLiteral("share/man/man1/player-tarn.1.gz"))}).output;
        for (const char *option : {"start", "translate", "debug", "password", "help", "version"})
            QVERIFY2(page.contains(QStringLiteral("\\fB\\-\\-%1\\fR").arg(option)), option); // the man page names them
    }

    void toolsAcceptTheDesktopFiles_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("installed");
        QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList() << "share/applications/player-tarn.desktop";
        QTest::newRow("AppStream metainfo") << "appstreamcli" << QStringList{"validate", "--no-net"}
                                            << "share/metainfo/com.mirelva.PlayerTarn.metainfo.xml";
    }

    void toolsAcceptTheDesktopFiles()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, installed);
        const Run check = run(program, arguments << file(installed));
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
        // Warnings fail too: desktop-file-validate prints nothing at all when
        // clean, appstreamcli only its success line (and pedantic hints).
        static const QRegularExpression complaint(QStringLiteral("(^|\\n)(E|W|I): |error|warning"));
        QVERIFY2(!complaint.match(check.output).hasMatch(), qPrintable(check.output));
    }

    void desktopEntryStartsTheProgramWithItsTypes()
    {
        QFile entryFile(file(QStringLiteral("share/applications/player-tarn.desktop")));
        QVERIFY(entryFile.open(QIODevice::ReadOnly | QIODevice::Text));
        QHash<QString, QString> entry;
        for (const QByteArray &line : entryFile.readAll().split('\n'))
            entry.insert(QString::fromUtf8(line.left(line.indexOf('='))), QString::fromUtf8(line.mid(line.indexOf('=') + 1)));
        QCOMPARE(entry.value("Exec"), QStringLiteral("player-tarn --start %f"));
        QCOMPARE(entry.value("MimeType"), QString::fromLatin1(DesktopEntry::mimeTypes));

        // The window manager class of the installed program's window.
        QProcess player;
        player.start(file(QStringLiteral("bin/player-tarn")), QStringList());
        QVERIFY(player.waitForStarted());
        static const QRegularExpression windowClass(QStringLiteral("\\(\"player-tarn\" \"([^\"]+)\"\\)"));
        QString wmClass;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(wmClass = windowClass.match(run("xwininfo", {"-root", "-tree"}).output).captured(1)).isEmpty(), 15000);
        player.kill();
        player.waitForFinished();
        QCOMPARE(entry.value("StartupWMClass"), wmClass);
    }

    void helpAndVersionPrintWithoutDisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("usage");
        QTest::newRow("--help") << QStringList{"--help"} << true;
        QTest::newRow("-h after a start file") << QStringList{"--start", "clip.mkv", "-h"} << true;
        QTest::newRow("--version") << QStringList{"--version"} << false;
        QTest::newRow("-v") << QStringList{"-v"} << false;
    }

    void helpAndVersionPrintWithoutDisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, usage);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        const Run info = run(file(QStringLiteral("bin/player-tarn")), arguments, environment);
        QCOMPARE(info.exitCode, 0);
        QVERIFY2(info.output.contains(QLatin1String("Version 1.0 64-bit (1.0.0.0 build 1777)\n")), qPrintable(info.output));
        for (const char *option : {"--start <input file>", "--translate <en>", "--debug", "--password <password>"})
            QCOMPARE(info.output.contains(QLatin1String(option)), usage);
    }

    void debianPackageHoldsFilesAndDependencies()
    {
        QTemporaryDir output;
        const Run pack = run(CPACK_COMMAND, {"-G", "DEB", "--config", BUILD_DIR "/CPackConfig.cmake", "-B", output.path()});
        QVERIFY2(pack.exitCode == 0, qPrintable(pack.output));
        const QStringList debs = QDir(output.path()).entryList({"player-tarn_*.deb"}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        const QString deb = output.filePath(debs.first());

        const Run contents = run(QStringLiteral("dpkg-deb"), {"--contents", deb});
        QCOMPARE(contents.exitCode, 0);
        for (const QString &relative : installedFiles())
            QVERIFY2(contents.output.contains(QStringLiteral(" ./usr/") + relative + QLatin1Char('\n')), qPrintable(relative));

        const Run info = run(QStringLiteral("dpkg-deb"), {"--info", deb});
        QCOMPARE(info.exitCode, 0);
        const QString depends = QRegularExpression(QStringLiteral("\\n Depends: ([^\\n]*)")).match(info.output).captured(1);
        for (const char *package : {"vlc-plugin-base", "vlc-plugin-video-output", "libqt5sql5-sqlite", "libqt5widgets5", "libvlc5"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(depends));
    }

private:
    QString file(const QString &relative) const { return prefix.filePath(relative); }
    QTemporaryDir prefix;
};

TARN_TEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
