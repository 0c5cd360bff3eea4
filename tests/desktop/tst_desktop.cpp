// The media types the desktop entry claims, the mimeapps.list editing, and
// "Set as default player..." run against a stand-in xdg-mime that records
// its arguments, with its boxes answered by the test.

#include "desktop/defaultplayer.h"
#include "desktop/mimeappslist.h"
#include "desktopentry.h"
#include "mediaformats.h"
#include "modalanswerer.h"
#include "tarntest.h"

#include <QMessageBox>
#include <QMimeDatabase>

namespace {

enum class XdgMime { Succeeds, Fails, Absent };

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

} // namespace

Q_DECLARE_METATYPE(XdgMime)

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
        root = TarnTest::isolationDir().path();
        // No system configuration decides a default here.
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(root + QStringLiteral("/system-config")));
        qunsetenv("XDG_CURRENT_DESKTOP");
        QDir().mkpath(root + QStringLiteral("/config"));
    }

    void mimeTypesAreThoseOfTheExtensionTables()
    {
        // Every video or audio type of a table suffix is claimed, and nothing is
        // claimed that no table suffix maps to, playlists aside.
        const QStringList suffixes = MediaFormats::suffixes(MediaFormats::videoPatterns)
                                     + MediaFormats::suffixes(MediaFormats::audioPatterns);
        const QStringList claimed = Desktop::DefaultPlayer::mimeTypes();
        QMimeDatabase database;
        QSet<QString> covered;
        for (const QString &suffix : suffixes) {
            const QList<QMimeType> types = database.mimeTypesForFileName(QStringLiteral("x.") + suffix);
            for (const QMimeType &type : types) {
                covered.insert(type.name());
                if (type.name().startsWith(QLatin1String("video/")) || type.name().startsWith(QLatin1String("audio/")))
                    QVERIFY2(claimed.contains(type.name()), qPrintable(suffix + QLatin1Char(' ') + type.name()));
            }
        }
        const QStringList playlists{"audio/x-mpegurl", "application/vnd.apple.mpegurl"};
        for (const QString &type : claimed) {
            QVERIFY2(covered.contains(type) || playlists.contains(type), qPrintable(type));
            QCOMPARE(database.mimeTypeForName(type).name(), type); // canonical, not an alias
        }
        QCOMPARE(claimed.count(QStringLiteral("audio/x-mpegurl")), 1);
        QCOMPARE(claimed.count(QStringLiteral("application/vnd.apple.mpegurl")), 1);
    }

    void userFileEditKeepsEverythingElse_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("no file") << "" << "[Default Applications]\nvideo/mp4=me.desktop;\naudio/mpeg=me.desktop;\n";
        QTest::newRow("group added after others")
            << "[Added Associations]\nvideo/mp4=a.desktop;\n"
            << "[Added Associations]\nvideo/mp4=a.desktop;\n\n[Default Applications]\nvideo/mp4=me.desktop;\n"
               "audio/mpeg=me.desktop;\n";
        QTest::newRow("own types replaced, others and comments kept")
            << "# mine\n[Default Applications]\ntext/plain=ed.desktop;\nvideo/mp4=a.desktop;b.desktop;\n\n"
               "[Removed Associations]\naudio/mpeg=me.desktop;\n"
            << "# mine\n[Default Applications]\ntext/plain=ed.desktop;\nvideo/mp4=me.desktop;\naudio/mpeg=me.desktop;\n\n"
               "[Removed Associations]\naudio/mpeg=me.desktop;\n";
    }

    void userFileEditKeepsEverythingElse()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QStringList types{"video/mp4", "audio/mpeg"};
        QCOMPARE(MimeAppsList::withDefaults(before, types, QStringLiteral("me.desktop")), after);
        const auto defaults = MimeAppsList::defaultApplications(after);
        for (const QString &type : types)
            QCOMPARE(defaults.value(type), QStringList{"me.desktop"});
    }

    void changeCountFollowsLookupPriority_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("changes");
        const QString mine = QStringLiteral("[Default Applications]\nvideo/mp4=me.desktop;\naudio/mpeg=me.desktop;\n");
        const QString other = QStringLiteral("[Default Applications]\nvideo/mp4=other.desktop;me.desktop;\n");
        QTest::newRow("two already mine") << QStringList{mine} << 1;
        QTest::newRow("higher file wins") << QStringList{other, mine} << 2;
        QTest::newRow("other group ignored") << QStringList{"[Added Associations]\nvideo/mp4=me.desktop;\n"} << 3;
    }

    void changeCountFollowsLookupPriority()
    {
        QFETCH(QStringList, texts);
        const QStringList types{"video/mp4", "audio/mpeg", "audio/flac"};
        QTEST(MimeAppsList::typesToChange(types, QStringLiteral("me.desktop"), texts), "changes");
    }

    void defaultPlayerFlow_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<XdgMime>("xdgMime");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("xdgMimeRuns");
        QTest::addColumn<bool>("changed");
        const QString ask = QStringLiteral("Set as default player");
        const QString issue = QStringLiteral("Installation issue");
        QTest::newRow("confirmed: xdg-mime sets every type")
            << true << XdgMime::Succeeds << int(QMessageBox::Yes) << QStringList{ask} << true << true;
        QTest::newRow("declined: nothing runs")
            << true << XdgMime::Succeeds << int(QMessageBox::No) << QStringList{ask} << false << false;
        QTest::newRow("xdg-mime fails: installation issue")
            << true << XdgMime::Fails << int(QMessageBox::Yes) << QStringList{ask, issue} << true << false;
        QTest::newRow("entry not installed: how to install the package")
            << false << XdgMime::Succeeds << int(QMessageBox::Yes) << QStringList{"Desktop entry not installed"}
            << false << false;
        QTest::newRow("no xdg-mime: user mimeapps.list written")
            << true << XdgMime::Absent << int(QMessageBox::Yes) << QStringList{ask} << false << true;
    }

    void defaultPlayerFlow()
    {
        QFETCH(bool, installed);
        QFETCH(XdgMime, xdgMime);
        QFETCH(int, answer);
        QFETCH(QStringList, boxes);
        QFETCH(bool, xdgMimeRuns);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString record = dir.filePath(QStringLiteral("arguments"));
        const QString bin = dir.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        if (xdgMime != XdgMime::Absent) {
            const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record) + "'\nexit "
                                      + (xdgMime == XdgMime::Fails ? "3" : "0") + "\n";
            writeFile(bin + QStringLiteral("/xdg-mime"), script);
            QFile::setPermissions(bin + QStringLiteral("/xdg-mime"), QFile::ReadOwner | QFile::ExeOwner);
        }
        // Only the stand-in on PATH, and no desktop entry installed system-wide.
        const QByteArray path = qgetenv("PATH");
        const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
        qputenv("PATH", QFile::encodeName(bin) + (xdgMime == XdgMime::Absent ? QByteArray() : ":" + path));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath(QStringLiteral("system-data"))));
        const QString entry = root + QStringLiteral("/data/applications/player-tarn.desktop");
        QFile::remove(entry);
        if (installed)
            writeFile(entry, "[Desktop Entry]\nType=Application\nName=Player Tarn\nExec=player-tarn\n");
        // One type already ours, one another player's.
        const QString userFile = root + QStringLiteral("/config/mimeapps.list");
        writeFile(userFile, "[Default Applications]\nvideo/mp4=player-tarn.desktop;\naudio/mpeg=other.desktop;\n");

        QVERIFY(Desktop::DefaultPlayer::available());
        QWidget window;
        window.show();
        TarnTest::ModalAnswerer answerer; // the question gets answer, the warning Ok
        answerer.boxButton = QMessageBox::StandardButton(answer);
        auto *defaultPlayer = new Desktop::DefaultPlayer(&window);
        QSignalSpy finished(defaultPlayer, &Desktop::DefaultPlayer::finished);
        defaultPlayer->run();
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        qputenv("PATH", path);
        qputenv("XDG_DATA_DIRS", dataDirs);

        QCOMPARE(finished.at(0).at(0).toBool(), changed);
        QCOMPARE(answerer.boxes.size(), boxes.size());
        for (int i = 0; i < boxes.size(); ++i)
            QVERIFY2(answerer.boxes.at(i).startsWith("<b>" + boxes.at(i) + "</b>"), qPrintable(answerer.boxes.at(i)));
        if (!installed)
            QVERIFY2(answerer.boxes.first().contains("sudo apt install ./build/player-tarn_*.deb"),
                     qPrintable(answerer.boxes.first()));
        const QStringList types = Desktop::DefaultPlayer::mimeTypes();
        if (boxes.first() == QLatin1String("Set as default player")) // one type of the user's file is ours already
            QVERIFY2(answerer.boxes.first().contains(
                         QStringLiteral("for %1 of its %2 media types").arg(types.size() - 1).arg(types.size())),
                     qPrintable(answerer.boxes.first()));
        QCOMPARE(QFile::exists(record), xdgMimeRuns);
        if (xdgMimeRuns) {
            QFile file(record);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                     QStringList({"default", "player-tarn.desktop"}) + types);
        }
        QFile file(userFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const auto defaults = MimeAppsList::defaultApplications(QString::fromUtf8(file.readAll()));
        const bool written = xdgMime == XdgMime::Absent && changed;
        for (const QString &type : types)
            QCOMPARE(defaults.value(type).value(0) == QLatin1String("player-tarn.desktop"),
                     written || type == QLatin1String("video/mp4"));
    }

private:
    QString root;
};

TARN_TEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
