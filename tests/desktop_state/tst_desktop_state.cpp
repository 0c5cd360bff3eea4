// What the desktop sees of the player, computed without a bus: status and
// what counts as a change, metadata types, volume.
#include "mprisstate.h"
#include "tarntest.h"

#include <QDBusObjectPath>

#include <functional>
#include <limits>

using namespace Desktop;
using Change = std::function<void(PlayerSnapshot &)>;
Q_DECLARE_METATYPE(Change)

namespace {

PlayerSnapshot playingFilm()
{
    PlayerSnapshot player;
    player.loaded = player.playing = player.video = player.canPlayPause = true;
    player.serial = 7;
    player.title = QStringLiteral("Test Tone");
    player.lengthMs = 2000;
    return player;
}

} // namespace

class DesktopStateTest : public QObject
{
    Q_OBJECT

private slots:
    void changesAreAnnouncedOnce_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("announced");
        QTest::addColumn<QString>("status");
        QTest::newRow("nothing") << Change([](PlayerSnapshot &) {}) << QStringList() << "Playing";
        QTest::newRow("next track") << Change([](PlayerSnapshot &p) {
                                        ++p.serial;
                                        p.canGoPrevious = true;
                                    })
                                    << QStringList{"CanGoPrevious", "Metadata"} << "Playing";
        QTest::newRow("paused") << Change([](PlayerSnapshot &p) { p.playing = false; })
                                << QStringList{"PlaybackStatus"} << "Paused";
        // The play button's look outlives the medium for a moment at its end.
        QTest::newRow("ended") << Change([](PlayerSnapshot &p) { p.loaded = false; })
                               << QStringList{"Metadata", "PlaybackStatus"} << "Stopped";
    }

    void changesAreAnnouncedOnce()
    {
        QFETCH(Change, change);
        PlayerSnapshot after = playingFilm();
        change(after);
        const QVariantMap changed = changedProperties(playerProperties(playingFilm()), playerProperties(after));
        QTEST(QStringList(changed.keys()), "announced");
        QTEST(playbackStatusText(playbackStatus(after)), "status");
    }

    void metadataUsesTheBusTypes()
    {
        const QVariantMap map = metadata(playingFilm());
        QCOMPARE(map.value("mpris:trackid").value<QDBusObjectPath>().path(),
                 QStringLiteral("/org/mpris/MediaPlayer2/player_tarn/track/7"));
        QCOMPARE(map.value("mpris:length"), QVariant(qlonglong(2000000)));
        QCOMPARE(QStringList(map.keys()), QStringList({"mpris:length", "mpris:trackid", "xesam:title"}));
    }

    void volumeMapsOntoTheControl_data()
    {
        QTest::addColumn<double>("mpris");
        QTest::addColumn<int>("control");
        QTest::newRow("above the control's range") << 2.0 << 150;
        QTest::newRow("negative") << -0.5 << 0;
        QTest::newRow("not a number keeps the level") << std::numeric_limits<double>::quiet_NaN() << 70;
    }

    void volumeMapsOntoTheControl()
    {
        QFETCH(double, mpris);
        QTEST(controlVolume(mpris, 70), "control");
    }
};

TARN_TEST_GUILESS_MAIN(DesktopStateTest)
#include "tst_desktop_state.moc"
