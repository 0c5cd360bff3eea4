// What the desktop sees of the player, computed without a bus: MPRIS status,
// metadata and volume, what counts as a change, and when the screen saver is
// held off.
#include "mprisstate.h"
#include "tarntest.h"

#include <QDBusObjectPath>

#include <cmath>
#include <limits>

using namespace Desktop;

namespace {

PlayerSnapshot playingSong()
{
    PlayerSnapshot player;
    player.loaded = true;
    player.playing = true;
    player.serial = 7;
    player.title = QStringLiteral("Test Tone");
    player.artist = QStringLiteral("Tarn Tests");
    player.location = QStringLiteral("file:///music/tone.mp3");
    player.lengthMs = 2000;
    player.canPlayPause = true;
    return player;
}

} // namespace

class DesktopStateTest : public QObject
{
    Q_OBJECT

private slots:
    void statusAndInhibitionFollowThePlayer_data()
    {
        QTest::addColumn<bool>("loaded");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("inhibit");
        QTest::newRow("video playing") << true << true << true << "Playing" << true;
        QTest::newRow("video paused") << true << false << true << "Paused" << false;
        QTest::newRow("audio playing") << true << true << false << "Playing" << false;
        // The play button's look outlives the medium for a moment at its end.
        QTest::newRow("nothing loaded") << false << true << true << "Stopped" << false;
    }

    void statusAndInhibitionFollowThePlayer()
    {
        QFETCH(bool, loaded);
        QFETCH(bool, playing);
        QFETCH(bool, video);
        PlayerSnapshot player;
        player.loaded = loaded;
        player.playing = playing;
        player.video = video;
        QTEST(playbackStatusText(playbackStatus(player)), "status");
        QTEST(wantsInhibition(player), "inhibit");
    }

    void metadataCarriesTheTrackInBusTypes()
    {
        const QVariantMap map = metadata(playingSong());
        QCOMPARE(map.value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QStringLiteral("/org/mpris/MediaPlayer2/player_tarn/track/7"));
        QCOMPARE(map.value("mpris:length").userType(), int(QMetaType::LongLong));
        QCOMPARE(map.value("mpris:length").toLongLong(), 2000000LL);
        QCOMPARE(map.value("xesam:artist"), QVariant(QStringList{"Tarn Tests"}));
        QCOMPARE(map.value("xesam:title").toString(), QStringLiteral("Test Tone"));
        QCOMPARE(map.value("xesam:url").toString(), QStringLiteral("file:///music/tone.mp3"));
        QVERIFY(!map.contains("xesam:album")); // no empty entries
        QVERIFY(metadata(PlayerSnapshot()).isEmpty());
    }

    void onlyRealChangesAreAnnounced_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<QStringList>("announced");
        QTest::newRow("same player") << 0 << QStringList();
        QTest::newRow("volume") << 1 << QStringList{"Volume"};
        QTest::newRow("next track") << 2 << QStringList{"CanGoPrevious", "Metadata"};
        QTest::newRow("paused") << 3 << QStringList{"PlaybackStatus"};
    }

    void onlyRealChangesAreAnnounced()
    {
        QFETCH(int, change);
        PlayerSnapshot after = playingSong();
        if (change == 1)
            after.volume = 40;
        if (change == 2) {
            ++after.serial;
            after.canGoPrevious = true;
        }
        if (change == 3)
            after.playing = false;
        const QVariantMap changed = changedProperties(playerProperties(playingSong()), playerProperties(after));
        QTEST(QStringList(changed.keys()), "announced");
    }

    void volumeMapsOntoTheControl_data()
    {
        QTest::addColumn<double>("mpris");
        QTest::addColumn<int>("control");
        QTest::newRow("0.4") << 0.4 << 40;
        QTest::newRow("above the control's range") << 2.0 << 150;
        QTest::newRow("negative") << -0.5 << 0;
        QTest::newRow("not a number keeps the level") << std::numeric_limits<double>::quiet_NaN() << 70;
    }

    void volumeMapsOntoTheControl()
    {
        QFETCH(double, mpris);
        QTEST(controlVolume(mpris, 70), "control");
    }

    void openUriTellsFilesFromLocations()
    {
        QCOMPARE(openTarget("file:///films/a%20b.mkv").localFile, true);
        QCOMPARE(openTarget("file:///films/a%20b.mkv").text, QStringLiteral("/films/a b.mkv"));
        QCOMPARE(openTarget("http://127.0.0.1/stream").localFile, false);
        QCOMPARE(openTarget("http://127.0.0.1/stream").text, QStringLiteral("http://127.0.0.1/stream"));
    }
};

TARN_TEST_GUILESS_MAIN(DesktopStateTest)
#include "tst_desktop_state.moc"
