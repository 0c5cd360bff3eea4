// The player on a private session bus: MPRIS drives the real window through
// its controls and reports back, the screen saver is held off only while a
// video plays, and a killed player leaves no inhibition behind.
#include "desktopintegration.h"
#include "mprisservice.h"
#include "playercommands.h"
#include "privatebus.h"
#include "windowfixture.h"

#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "timelabel.h"
#include "volumecontrol.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QProcess>
#include <QSettings>

#include <algorithm>
#include <functional>

using Desktop::MprisService;
using TarnTest::media;
using TarnTest::TestWindow;
using Check = std::function<bool(TestWindow &)>;
Q_DECLARE_METATYPE(Check)

namespace {

const QString playerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QDBusConnection connection(const QString &name)
{
    return QDBusConnection::connectToBus(QString::fromLatin1(qgetenv("DBUS_SESSION_BUS_ADDRESS")), name);
}

// Every entry of expected is in actual; nested maps, which arrive as D-Bus
// arguments still to be read, are compared entry by entry.
bool holds(const QVariantMap &actual, const QVariantMap &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        QVariant value = actual.value(it.key());
        if (value.userType() == qMetaTypeId<QDBusArgument>())
            value = qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
        if (it.value().userType() == QMetaType::QVariantMap ? !holds(value.toMap(), it.value().toMap())
                                                            : value != it.value())
            return false;
    }
    return true;
}

} // namespace

// What a client of the player sees: PropertiesChanged and Seeked.
class MprisListener : public QObject
{
    Q_OBJECT

public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    bool announced(const QVariantMap &expected) const
    {
        return std::any_of(changes.begin(), changes.end(), [&](const QVariantMap &c) { return holds(c, expected); });
    }

public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface == playerInterface)
            changes << changed;
    }
    void seeked(qlonglong position) { seeks << position; }
};

// Stands in for the desktop's screen saver. Like the real ones it drops the
// inhibitions of a client whose bus connection goes.
class FakeScreenSaver : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit FakeScreenSaver(const QDBusConnection &bus)
        : watcher(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
    {
        connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString &client) {
            for (auto it = holders.begin(); it != holders.end();) {
                if (it.value() == client) {
                    events << QStringLiteral("dropped %1").arg(it.key());
                    it = holders.erase(it);
                } else {
                    ++it;
                }
            }
        });
    }

    QStringList events;
    QMap<uint, QString> holders; // cookie -> client

    void reset()
    {
        events.clear();
        holders.clear();
        lastCookie = 0;
    }

public slots:
    uint Inhibit(const QString &application, const QString &)
    {
        const uint cookie = ++lastCookie;
        holders.insert(cookie, message().service());
        watcher.addWatchedService(message().service());
        events << QStringLiteral("inhibit %1 %2").arg(cookie).arg(application);
        return cookie;
    }
    void UnInhibit(uint cookie)
    {
        holders.remove(cookie);
        events << QStringLiteral("uninhibit %1").arg(cookie);
    }

private:
    QDBusServiceWatcher watcher;
    uint lastCookie = 0;
};

class DesktopBusTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useSilentAudio();
        // Long enough to outlast the silent device's fast playback until the pause.
        QVERIFY(TarnTest::writeMp3(taggedSong, {{"TPE1", "Tarn Tests"}, {"TIT2", "Test Tone"}}));
        QFile song(taggedSong);
        QVERIFY(song.open(QIODevice::Append));
        for (int i = 0; i < 30; ++i)
            song.write(TarnTest::toneAudio());
        song.close();

        client.connect(QString(), MprisService::objectPath, propertiesInterface, QStringLiteral("PropertiesChanged"),
                       &listener, SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        client.connect(QString(), MprisService::objectPath, playerInterface, QStringLiteral("Seeked"), &listener,
                       SLOT(seeked(qlonglong)));
        QVERIFY(screenSaverBus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &screenSaver,
                                              QDBusConnection::ExportAllSlots));
        QVERIFY(screenSaverBus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
    }

    void init()
    {
        QSettings().clear();
        QVERIFY(createWindow());
        QTRY_VERIFY(!window->desktop->serviceName().isEmpty());
        QCOMPARE(window->desktop->serviceName(), MprisService::baseName);
        listener.changes.clear();
        listener.seeks.clear();
        screenSaver.reset();
    }
    void cleanup()
    {
        destroyWindow();
        QTRY_VERIFY(!registered(MprisService::baseName));
    }

    void serviceNameAppearsOnceTheWindowShows()
    {
        destroyWindow();
        window = std::make_unique<TestWindow>();
        QTest::qWait(300);
        QVERIFY(!registered(MprisService::baseName));
        window->show();
        QTRY_VERIFY(registered(MprisService::baseName));
        QCOMPARE(property(QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("DesktopEntry")),
                 QVariant(QStringLiteral("player-tarn")));
        QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Stopped")));
    }

    void controlsFollowMprisCalls_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("pausedFirst");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<Check>("effect");
        QTest::addColumn<QVariantMap>("announced");
        QTest::addColumn<qlonglong>("seeked");

        const QString film = media("av.mkv");
        QTest::newRow("PlayPause toggles the play button")
            << QStringList{film} << false << "PlayPause" << QVariantList()
            << Check([](TestWindow &w) { return !w.bottomBar->playButton->isPlaying() && w.playing(); })
            << QVariantMap{{"PlaybackStatus", "Paused"}} << qlonglong(-1);
        QTest::newRow("Metadata of a tagged MP3 holds artist and title")
            << QStringList{taggedSong} << true << QString() << QVariantList()
            << Check([](TestWindow &w) { return w.playing(); })
            << QVariantMap{{"Metadata", QVariantMap{{"xesam:artist", QStringList{"Tarn Tests"}},
                                                    {"xesam:title", "Test Tone"},
                                                    {"xesam:url", QUrl::fromLocalFile(taggedSong).toString()}}}}
            << qlonglong(-1);
        QTest::newRow("Next plays item 2 of the playlist")
            << QStringList{film, media("clip.ts")} << false << "Next" << QVariantList()
            << Check([](TestWindow &w) { return w.currentItem() == 2 && w.playing(); })
            << QVariantMap{{"CanGoNext", false}, {"CanGoPrevious", true}} << qlonglong(-1);
        QTest::newRow("Volume 0.4 moves the volume control to 40")
            << QStringList() << false << "Volume" << QVariantList{0.4}
            << Check([](TestWindow &w) { return w.bottomBar->volumeControl->value() == 40; })
            << QVariantMap{{"Volume", 0.4}} << qlonglong(-1);
        QTest::newRow("Rate 1.5 speeds the medium up")
            << QStringList{film} << true << "Rate" << QVariantList{1.5}
            << Check([](TestWindow &w) { return std::abs(w.core->rate() - 1.5) < 0.01; })
            << QVariantMap{{"Rate", 1.5}} << qlonglong(-1);
        QTest::newRow("Seek moves the time label")
            << QStringList{film} << true << "Seek" << QVariantList{qlonglong(1500000)}
            << Check([](TestWindow &w) { return w.bottomBar->timeLabel->text().startsWith("00:01"); })
            << QVariantMap() << qlonglong(1500000);
    }

    void controlsFollowMprisCalls()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, pausedFirst);
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(Check, effect);
        QFETCH(QVariantMap, announced);
        QFETCH(qlonglong, seeked);

        play(files);
        if (pausedFirst)
            window->commands->pause();
        if (method == QLatin1String("Volume") || method == QLatin1String("Rate")) {
            setProperty(playerInterface, method, arguments.value(0));
        } else if (!method.isEmpty()) {
            const QDBusMessage reply = call(playerInterface, method, arguments);
            QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        }
        QTRY_VERIFY(effect(*window));
        QTRY_VERIFY(listener.announced(announced));
        // Seeked carries the time reached, from a pause close to the start.
        if (seeked >= 0) {
            QTRY_COMPARE(listener.seeks.size(), 1);
            QVERIFY(listener.seeks.first() >= seeked && listener.seeks.first() < seeked + 500000);
        }
    }

    void screenSaverHeldOnlyWhileVideoPlays_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("inhibited");
        QTest::newRow("video, paused") << media("av.mkv") << "pause" << true;
        QTest::newRow("video, stopped") << media("av.mkv") << "stop" << true;
        QTest::newRow("video, at its end") << media("av.mkv") << "end" << true;
        QTest::newRow("video, quit") << media("av.mkv") << "quit" << true;
        QTest::newRow("audio, at its end") << media("audio.mp3") << "end" << false;
    }

    void screenSaverHeldOnlyWhileVideoPlays()
    {
        QFETCH(QString, file);
        QFETCH(QString, ending);
        QFETCH(bool, inhibited);
        play({file});
        if (inhibited)
            QTRY_COMPARE(screenSaver.events, QStringList{held()});
        if (ending == QLatin1String("pause"))
            window->commands->pause();
        else if (ending == QLatin1String("stop"))
            window->commands->stop();
        else if (ending == QLatin1String("quit")) {
            window->fileQuit();
            window.reset();
        }
        if (window)
            QTRY_VERIFY_WITH_TIMEOUT(ending != QLatin1String("end") || !window->playing(), 6000);
        QTest::qWait(200);
        if (inhibited) {
            QTRY_COMPARE(screenSaver.events, QStringList({held(), QStringLiteral("uninhibit 1")}));
        } else {
            QCOMPARE(screenSaver.events, QStringList());
        }
        QVERIFY(screenSaver.holders.isEmpty());
    }

    void killedPlayerLeavesNoInhibitionAndTakesAnInstanceName()
    {
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), QStringLiteral(TARN_SAMPLE_CLIP)});
        QVERIFY(player.waitForStarted());
        const QString instanceName = MprisService::baseName + QStringLiteral(".instance%1").arg(player.processId());
        QTRY_VERIFY_WITH_TIMEOUT(registered(instanceName), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.events, QStringList{held()}, 10000);
        player.kill();
        QVERIFY(player.waitForFinished(10000));
        QTRY_COMPARE(screenSaver.events, QStringList({held(), QStringLiteral("dropped 1")}));
        QVERIFY(!registered(instanceName));
        // The window of this process kept its own name all along.
        QVERIFY(registered(MprisService::baseName));
    }

private:
    static QString held() { return QStringLiteral("inhibit 1 Player Tarn"); }

    void play(const QStringList &files)
    {
        if (files.isEmpty())
            return;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        window->dropUri(urls);
        QVERIFY(window->playing());
        // Parse now: the silent device plays faster than real time.
        window->core->parseMedia();
    }

    bool registered(const QString &name) { return client.interface()->isServiceRegistered(name).value(); }

    // Calls the player without blocking this thread, which also serves it.
    QDBusMessage call(const QString &interface, const QString &method, const QVariantList &arguments)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(MprisService::baseName, MprisService::objectPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(message);
        QElapsedTimer elapsed;
        elapsed.start();
        while (!pending.isFinished() && elapsed.elapsed() < 5000)
            QTest::qWait(10);
        return pending.reply();
    }
    QVariant property(const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call(propertiesInterface, QStringLiteral("Get"), {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    void setProperty(const QString &interface, const QString &name, const QVariant &value)
    {
        call(propertiesInterface, QStringLiteral("Set"), {interface, name, QVariant::fromValue(QDBusVariant(value))});
    }

    QTemporaryDir folder;
    QString taggedSong = folder.filePath(QStringLiteral("tagged.mp3"));
    QDBusConnection client = connection(QStringLiteral("tarn-test-client"));
    QDBusConnection screenSaverBus = connection(QStringLiteral("tarn-test-screensaver"));
    MprisListener listener;
    FakeScreenSaver screenSaver{screenSaverBus};
};

// The application object, started after a private session bus of its own.
struct StartedBus : TarnTest::PrivateSessionBus {
    StartedBus()
    {
        if (!start())
            qFatal("dbus-daemon could not be started");
    }
};
struct BusApplication : StartedBus, QApplication {
    BusApplication(int &argc, char **argv) : QApplication(argc, argv) {}
};

TARN_TEST_MAIN_IMPL(DesktopBusTest, BusApplication)

#include "tst_desktop_bus.moc"
