// The player on a private session bus: MPRIS drives the real window through
// its controls and reports back, the screen saver is held off only while a
// video plays, and a killed player leaves no inhibition behind.
#include "desktopintegration.h"
#include "localhttpserver.h"
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
#include <QScopeGuard>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

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
    QList<qint64> changeTimes; // ms on clock
    QList<qlonglong> seeks;
    QElapsedTimer clock;

    bool announced(const QVariantMap &expected) const
    {
        return std::any_of(changes.begin(), changes.end(), [&](const QVariantMap &c) { return holds(c, expected); });
    }

public slots:
    void propertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
    {
        if (interface == playerInterface) {
            changes << changed;
            changeTimes << clock.elapsed();
        }
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
        QVERIFY(TarnTest::copyToNativeName(media("av.mkv"), notTextName));
    }
    void cleanupTestCase() { std::remove(notTextName.constData()); }

    void init()
    {
        QSettings().clear();
        QVERIFY(createWindow());
        QTRY_VERIFY(!window->desktop->serviceName().isEmpty());
        QCOMPARE(window->desktop->serviceName(), MprisService::baseName);
        listener.changes.clear();
        listener.changeTimes.clear();
        listener.clock.start();
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
        const QByteArray location = "file://" + notTextName.toPercentEncoding("/");
        QTest::newRow("OpenUri plays a file whose name is not UTF-8")
            << QStringList() << false << "OpenUri" << QVariantList{QString::fromLatin1(location)}
            << Check([location](TestWindow &w) { return QUrl(w.core->location()).toEncoded() == location; })
            << QVariantMap{{"PlaybackStatus", "Playing"}} << qlonglong(-1);
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

    // The title reaches the bus with the start of playback, before the
    // engine's first parse (a second later): an MP3's own tag with its
    // picture as a file (gone at quit), the file name for other media.
    void metadataArrivesWithPlayback_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QVariantMap>("expected");
        QTest::addColumn<bool>("picture");
        QTest::newRow("tagged MP3 with a picture")
            << folder.filePath(QStringLiteral("cover.mp3"))
            << QVariantMap{{"xesam:title", "Early Title"}, {"xesam:artist", QStringList{"Early Artist"}},
                           {"xesam:album", "Early Album"}, {"xesam:trackNumber", 7}}
            << true;
        QTest::newRow("film by its name") << media("av.mkv") << QVariantMap{{"xesam:title", "av.mkv"}} << false;
    }

    void metadataArrivesWithPlayback()
    {
        QFETCH(QString, file);
        QFETCH(QVariantMap, expected);
        QFETCH(bool, picture);
        const QByteArray image("\x89PNG\r\n\x1a\n-cover-bytes");
        if (picture) {
            QVERIFY(TarnTest::writeMp3(file, {{"TIT2", "Early Title"}, {"TPE1", "Early Artist"},
                                              {"TALB", "Early Album"}, {"TRCK", "7/9"}}, image));
        }
        window->dropUri({QUrl::fromLocalFile(file)});
        QTRY_VERIFY(listener.announced({{"PlaybackStatus", "Playing"}}));
        QTRY_VERIFY(listener.announced({{"Metadata", expected}}));
        const auto first = [this](const QVariantMap &wanted) {
            for (int i = 0; i < listener.changes.size(); ++i) {
                if (holds(listener.changes.at(i), wanted))
                    return i;
            }
            return -1;
        };
        const int playing = first({{"PlaybackStatus", "Playing"}});
        const int titled = first({{"Metadata", expected}});
        QVERIFY2(listener.changeTimes.at(titled) - listener.changeTimes.at(playing) <= 300,
                 qPrintable(QString::number(listener.changeTimes.at(titled) - listener.changeTimes.at(playing))));
        const QVariantMap metadata =
            qdbus_cast<QVariantMap>(listener.changes.at(titled).value("Metadata").value<QDBusArgument>());
        const QString art = QUrl(metadata.value("mpris:artUrl").toString()).toLocalFile();
        QCOMPARE(!art.isEmpty(), picture);
        if (picture) {
            QFile written(art);
            QVERIFY(written.open(QIODevice::ReadOnly));
            QCOMPARE(written.readAll(), image);
            destroyWindow();
            QVERIFY(!QFile::exists(art));
        }
    }

    // Clients often send without expecting a reply: GDBus without a callback
    // sets the call's "no reply expected" flag, and dbus-send without
    // --print-reply sends a signal addressed to the player. Both count.
    void everyMethodIsCarriedOutWithOrWithoutReply_data()
    {
        QTest::addColumn<QString>("method"); // "Volume": the property set
        QTest::addColumn<bool>("pausedFirst");
        QTest::addColumn<QString>("way");
        QTest::addColumn<Check>("effect");
        const QString song = media("audio.mp3");
        const QList<std::tuple<QString, bool, Check>> methods{
            {"Play", true, [](TestWindow &w) { return w.bottomBar->playButton->isPlaying(); }},
            {"Pause", false, [](TestWindow &w) { return w.playing() && !w.bottomBar->playButton->isPlaying(); }},
            {"PlayPause", true, [](TestWindow &w) { return w.bottomBar->playButton->isPlaying(); }},
            {"Stop", false, [](TestWindow &w) { return !w.playing(); }},
            {"Next", true, [](TestWindow &w) { return w.currentItem() == 2 && w.playing(); }},
            {"Previous", true, [](TestWindow &w) { return w.currentItem() == 1 && w.playing(); }},
            {"Seek", true, [](TestWindow &w) { return w.bottomBar->timeLabel->text().startsWith("00:01"); }},
            {"SetPosition", true, [](TestWindow &w) { return w.bottomBar->timeLabel->text().startsWith("00:01"); }},
            {"OpenUri", true, [song](TestWindow &w) { return w.playback->lastFile() == song && w.playing(); }},
            {"Volume", true, [](TestWindow &w) { return w.bottomBar->volumeControl->value() == 40; }},
            {"Raise", true, [this](TestWindow &) { return raised > 0; }},
            {"Quit", true, [this](TestWindow &) { return quitAsked > 0; }},
        };
        for (const auto &[method, pausedFirst, effect] : methods) {
            for (const char *way : {"reply expected", "no reply expected", "dbus-send without --print-reply"})
                QTest::addRow("%s, %s", qPrintable(method), way) << method << pausedFirst << QString(way) << effect;
        }
    }

    void everyMethodIsCarriedOutWithOrWithoutReply()
    {
        QFETCH(QString, method);
        QFETCH(bool, pausedFirst);
        QFETCH(QString, way);
        QFETCH(Check, effect);
        raised = quitAsked = 0;
        connect(window.get(), &TestWindow::needToShow, this, [this] { ++raised; });
        connect(window->desktop, &Desktop::DesktopIntegration::quitRequested, this, [this] { ++quitAsked; });
        // Counted, not carried out: an event loop told to quit stays so for every later box here
        // (the players quit for real below).
        QObject::disconnect(window->desktop, SIGNAL(quitRequested()), window.get(), nullptr);
        play({media("av.mkv"), media("clip.ts")});
        if (method == QLatin1String("Previous"))
            window->commands->next();
        if (pausedFirst)
            window->commands->pause();

        // The call, and the same arguments as dbus-send writes them.
        QString interface = playerInterface;
        QVariantList arguments;
        QStringList typed;
        if (method == QLatin1String("Seek")) {
            arguments << qlonglong(1500000);
            typed << "int64:1500000";
        } else if (method == QLatin1String("SetPosition")) {
            const QVariantMap metadata =
                qdbus_cast<QVariantMap>(property(playerInterface, QStringLiteral("Metadata")).value<QDBusArgument>());
            const QDBusObjectPath track = metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>();
            arguments << QVariant::fromValue(track) << qlonglong(1500000);
            typed << "objpath:" + track.path() << "int64:1500000";
        } else if (method == QLatin1String("OpenUri")) {
            arguments << QUrl::fromLocalFile(media("audio.mp3")).toString();
            typed << "string:" + arguments.first().toString();
        } else if (method == QLatin1String("Raise") || method == QLatin1String("Quit")) {
            interface = QStringLiteral("org.mpris.MediaPlayer2");
        } else if (method == QLatin1String("Volume")) {
            interface = propertiesInterface;
            arguments << playerInterface << method << QVariant::fromValue(QDBusVariant(0.4));
            typed << "string:" + playerInterface << "string:Volume" << "variant:double:0.4";
            method = QStringLiteral("Set");
        }
        if (way == QLatin1String("reply expected")) {
            QCOMPARE(call(interface, method, arguments).type(), QDBusMessage::ReplyMessage);
        } else if (way == QLatin1String("no reply expected")) {
            QDBusMessage message =
                QDBusMessage::createMethodCall(MprisService::baseName, MprisService::objectPath, interface, method);
            message.setArguments(arguments);
            QVERIFY(client.send(message)); // sent with the flag: QtDBus expects no reply to a plain send
        } else {
            QProcess dbusSend;
            dbusSend.start(QStringLiteral("dbus-send"), QStringList{"--session", "--dest=" + MprisService::baseName,
                                                                    MprisService::objectPath, interface + '.' + method}
                                                            + typed);
            QVERIFY(dbusSend.waitForFinished(5000));
            QCOMPARE(dbusSend.exitCode(), 0);
        }
        QTRY_VERIFY_WITH_TIMEOUT(effect(*window), 5000);
    }

    void failedOpenReportsStopped()
    {
        play({media("av.mkv")});
        window->commands->pause();
        QTRY_COMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Paused")));
        listener.changes.clear();
        const QString broken = folder.filePath(QStringLiteral("empty.mp3"));
        QFile(broken).open(QIODevice::WriteOnly);
        window->handleMessage(broken); // as a second launch hands it over
        QTRY_COMPARE(answerer->boxes.size(), 1);
        QVERIFY2(answerer->boxes.first().startsWith("<b>Failed to play file</b>"), qPrintable(answerer->boxes.first()));
        QTRY_VERIFY(listener.announced({{"PlaybackStatus", "Stopped"}}));
        QCOMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Stopped")));
    }

    // The engine's state alone drives both: a pause or resume asked of the
    // engine directly shows on the bus and on the button.
    void busAndPlayButtonFollowTheEngineState()
    {
        play({media("av.mkv")});
        LibPlayer::PlayToolButton *button = window->bottomBar->playButton;
        QTRY_COMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")), QVariant(QStringLiteral("Playing")));
        QVERIFY(button->isPlaying());
        for (const bool pause : {true, false}) {
            if (pause)
                window->core->pausePlayback();
            else
                window->core->resumePlayback();
            QCOMPARE(button->isPlaying(), !pause);
            QTRY_COMPARE(property(playerInterface, QStringLiteral("PlaybackStatus")),
                         QVariant(pause ? QStringLiteral("Paused") : QStringLiteral("Playing")));
        }
    }

    // A real player whose start file is on a server that accepts and never
    // answers: Quit ends it at once, without a crash.
    void quitDuringAHangingOpenEndsTheProcessAtOnce()
    {
        QSettings settings;
        settings.setValue(QStringLiteral("Check update"), false);
        settings.sync();
        TarnTest::LocalHttpServer server;
        server.reply.silent = true;
        QProcess player;
        player.setProcessChannelMode(QProcess::ForwardedChannels);
        player.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), server.base() + QStringLiteral("/hang.ts")});
        QVERIFY(player.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(registered(instanceName(player)), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(server.requests.size(), 1, 10000);
        QCOMPARE(property(instanceName(player), playerInterface, QStringLiteral("PlaybackStatus")),
                 QVariant(QStringLiteral("Stopped")));
        QElapsedTimer quitting;
        quitting.start();
        call(instanceName(player), QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"), {});
        QVERIFY(player.waitForFinished(10000));
        QVERIFY2(quitting.elapsed() < 2000, qPrintable(QString::number(quitting.elapsed())));
        QCOMPARE(player.exitStatus(), QProcess::NormalExit);
        QCOMPARE(player.exitCode(), 0);
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
        const QString name = instanceName(player);
        QTRY_VERIFY_WITH_TIMEOUT(registered(name), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(screenSaver.events, QStringList{held()}, 10000);
        player.kill();
        QVERIFY(player.waitForFinished(10000));
        QTRY_COMPARE(screenSaver.events, QStringList({held(), QStringLiteral("dropped 1")}));
        QVERIFY(!registered(name));
        // The window of this process kept its own name all along.
        QVERIFY(registered(MprisService::baseName));
    }

    // Real launches, seen through the player's own MPRIS name: a start file
    // whose name is not UTF-8 (with --start, or bare and relative to the
    // launch folder), the same handed over to a running player, and a start
    // location with a scheme, which opens as a URL instead of a file.
    void launchesPlayWhatTheyAreGiven_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments"); // "<folder>" and "<server>" are filled in
        QTest::addColumn<bool>("handedOver");
        QTest::addColumn<QByteArray>("played"); // encoded location
        const QByteArray file = "<folder>/lat\xe9.ts";
        const QByteArray location = "file://<folder>/lat%E9.ts";
        QTest::newRow("--start") << QList<QByteArray>{"--start", file} << false << location;
        QTest::newRow("bare relative name") << QList<QByteArray>{"lat\xe9.ts"} << false << location;
        QTest::newRow("handed over") << QList<QByteArray>{"--start", file} << true << location;
        for (bool handedOver : {false, true}) {
            QTest::newRow(handedOver ? "handed over http://" : "--start http://")
                << QList<QByteArray>{"--start", "<server>/clip.ts"} << handedOver << QByteArray("<server>/clip.ts");
        }
    }

    void launchesPlayWhatTheyAreGiven()
    {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(bool, handedOver);
        QFETCH(QByteArray, played);
        QTemporaryDir launchFolder;
        TarnTest::LocalHttpServer server;
        QFile clip(media("clip.ts"));
        QVERIFY(clip.open(QIODevice::ReadOnly));
        server.reply = TarnTest::HttpReply(clip.readAll());
        const auto fill = [&](QByteArray text) {
            return text.replace("<folder>", QFile::encodeName(launchFolder.path())).replace("<server>", server.base().toLatin1());
        };
        const QByteArray name = fill("<folder>/lat\xe9.ts");
        QVERIFY(TarnTest::copyToNativeName(media("clip.ts"), name));
        const auto removeName = qScopeGuard([&name] { std::remove(name.constData()); });

        RawArgumentsProcess primary;
        if (handedOver) {
            primary.start({});
            QVERIFY(primary.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(registered(instanceName(primary)), 10000);
        }
        RawArgumentsProcess launch;
        launch.setWorkingDirectory(launchFolder.path());
        for (QByteArray &argument : arguments)
            argument = fill(argument);
        launch.start(arguments);
        QVERIFY(launch.waitForStarted());
        if (handedOver) {
            QVERIFY(launch.waitForFinished(10000));
            QCOMPARE(launch.exitCode(), 0);
        }
        const QVariantMap announced{{"Metadata", QVariantMap{{"xesam:url", QString::fromLatin1(fill(played))}}}};
        QTRY_VERIFY_WITH_TIMEOUT(listener.announced(announced), 15000);
        for (QProcess *process : {&launch, &primary}) {
            process->kill();
            process->waitForFinished(10000);
        }
    }

    // "Open video in new window": two processes share the settings file. One
    // changes the volume, the other opens a video; whichever quits last, both
    // changes are kept.
    void twoWindowsKeepEachOthersChangesWhateverTheQuitOrder_data()
    {
        QTest::addColumn<bool>("changedVolumeQuitsFirst");
        QTest::newRow("volume changer quits first") << true;
        QTest::newRow("volume changer quits last") << false;
    }

    void twoWindowsKeepEachOthersChangesWhateverTheQuitOrder()
    {
        QFETCH(bool, changedVolumeQuitsFirst);
        // This process's window keeps the plain name: both players take instance names.
        QSettings settings;
        settings.clear();
        settings.setValue(QStringLiteral("Check update"), false);
        settings.setValue(QStringLiteral("Input/video instance"), true);
        settings.setValue(QStringLiteral("Output/volume"), 20);
        settings.setValue(QStringLiteral("Input/last file"), QStringLiteral("/old/film.mkv"));
        settings.sync();

        QProcess volumeWindow;
        QProcess videoWindow;
        for (QProcess *player : {&volumeWindow, &videoWindow})
            player->setProcessChannelMode(QProcess::ForwardedChannels);
        // The first window runs before the video is opened in a new one: a
        // launch without a file that found another window first would only
        // hand its (empty) text over to it.
        volumeWindow.start(QStringLiteral(PLAYER), QStringList());
        QVERIFY(volumeWindow.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(registered(instanceName(volumeWindow)), 15000);
        videoWindow.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), media("av.mkv")});
        QVERIFY(videoWindow.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(registered(instanceName(videoWindow)), 15000);
        call(instanceName(volumeWindow), propertiesInterface, QStringLiteral("Set"),
             {playerInterface, QStringLiteral("Volume"), QVariant::fromValue(QDBusVariant(0.9))});
        QTRY_COMPARE(property(instanceName(volumeWindow), playerInterface, QStringLiteral("Volume")), QVariant(0.9));
        QTRY_COMPARE_WITH_TIMEOUT(property(instanceName(videoWindow), playerInterface, QStringLiteral("PlaybackStatus")),
                                  QVariant(QStringLiteral("Playing")), 10000);

        for (QProcess *player : changedVolumeQuitsFirst ? QList<QProcess *>{&volumeWindow, &videoWindow}
                                                         : QList<QProcess *>{&videoWindow, &volumeWindow}) {
            call(instanceName(*player), QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Quit"), {});
            QVERIFY(player->waitForFinished(15000));
        }
        settings.sync();
        QCOMPARE(settings.value(QStringLiteral("Output/volume")).toInt(), 90);
        QCOMPARE(settings.value(QStringLiteral("Input/last file")).toString(), media("av.mkv"));
    }

private:
    // Starts the player with arguments given as bytes (QProcess would pass
    // them through QString, which replaces bytes that are not UTF-8).
    class RawArgumentsProcess : public QProcess
    {
    public:
        void start(const QList<QByteArray> &arguments)
        {
            raw = QList<QByteArray>{PLAYER} + arguments;
            argv.clear();
            for (QByteArray &argument : raw)
                argv.push_back(argument.data());
            argv.push_back(nullptr);
            setProcessChannelMode(QProcess::ForwardedChannels);
            QProcess::start(QStringLiteral(PLAYER), QStringList());
        }

    protected:
        // In the child, after the working folder is entered.
        void setupChildProcess() override
        {
            ::execv(argv.front(), argv.data());
            ::_exit(127);
        }

    private:
        QList<QByteArray> raw;
        std::vector<char *> argv;
    };

    static QString instanceName(const QProcess &player)
    {
        return MprisService::baseName + QStringLiteral(".instance%1").arg(player.processId());
    }

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
        return call(MprisService::baseName, interface, method, arguments);
    }
    QDBusMessage call(const QString &service, const QString &interface, const QString &method,
                      const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, MprisService::objectPath, interface, method);
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
        return property(MprisService::baseName, interface, name);
    }
    QVariant property(const QString &service, const QString &interface, const QString &name)
    {
        const QDBusMessage reply = call(service, propertiesInterface, QStringLiteral("Get"), {interface, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    void setProperty(const QString &interface, const QString &name, const QVariant &value)
    {
        call(propertiesInterface, QStringLiteral("Set"), {interface, name, QVariant::fromValue(QDBusVariant(value))});
    }

    int raised = 0;
    int quitAsked = 0;
    QTemporaryDir folder;
    QString taggedSong = folder.filePath(QStringLiteral("tagged.mp3"));
    QByteArray notTextName = QFile::encodeName(folder.path()) + "/lat\xe9.mkv"; // Latin-1 é
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
