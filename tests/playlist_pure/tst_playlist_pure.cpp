// The drop decisions, the drop order and the playlist cursor, without a display.
#include "dropplan.h"
#include "droporder.h"
#include "playlist.h"

#include <QtTest>

Q_DECLARE_METATYPE(DropAction)
Q_DECLARE_METATYPE(Playlist::Kind)
Q_DECLARE_METATYPE(QList<DropWarning>)

namespace {

QList<QUrl> urls(const QStringList &texts)
{
    QList<QUrl> result;
    for (const QString &text : texts)
        result << (text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(text));
    return result;
}

QStringList names(const QList<QUrl> &list)
{
    QStringList result;
    for (const QUrl &url : list)
        result << url.path();
    return result;
}

} // namespace

class PlaylistPureTest : public QObject
{
    Q_OBJECT

private slots:
    void dropIsPlannedBySuffixAndOpenPlaylist_data()
    {
        using W = DropWarning;
        QTest::addColumn<QStringList>("dropped");
        QTest::addColumn<Playlist::Kind>("open");
        QTest::addColumn<bool>("fromPlaylistFile");
        QTest::addColumn<DropAction>("action");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("subtitles");
        QTest::addColumn<QList<DropWarning>>("warnings");
        const auto none = Playlist::Kind::None;

        QTest::newRow("two songs make an audio playlist, video ignored")
            << QStringList{"/m/a.mp3", "/m/v.mkv", "/m/b.FLAC"} << none << false << DropAction::NewAudio
            << QStringList{"file:///m/a.mp3", "file:///m/b.FLAC"} << QStringList()
            << QList<DropWarning>{W::VideoIgnoredInNewAudioPlaylist};
        QTest::newRow("three ogg make a video playlist")
            << QStringList{"/m/1.ogg", "/m/2.ogg", "/m/3.ogg", "/m/s.srt"} << none << false << DropAction::NewVideo
            << QStringList{"file:///m/1.ogg", "file:///m/2.ogg", "file:///m/3.ogg"} << QStringList()
            << QList<DropWarning>{W::SubtitlesIgnoredInNewVideoPlaylist};
        QTest::newRow("nothing usable") << QStringList{"/m/x.pdf", "http://h/a.mp3"} << none << false
                                        << DropAction::AddSubtitles << QStringList() << QStringList()
                                        << QList<DropWarning>();
        QTest::newRow("songs on a video playlist replace it")
            << QStringList{"/m/a.mp3", "/m/b.mp3"} << Playlist::Kind::Video << false << DropAction::NewAudio
            << QStringList{"file:///m/a.mp3", "file:///m/b.mp3"} << QStringList() << QList<DropWarning>();
        QTest::newRow("names needing encoding") << QStringList{"/m/a #1.mp3", "/m/caf\u00e9 50%.mp3"} << none << false
                                                << DropAction::NewAudio
                                                << QStringList{"file:///m/a %231.mp3", "file:///m/caf\u00e9 50%25.mp3"}
                                                << QStringList() << QList<DropWarning>();
        QTest::newRow("playlist file: streams count as audio")
            << QStringList{"http://h/radio", "rtsp://h/live.mkv", "javascript:alert(1)"} << none << true
            << DropAction::PlayAudio << QStringList{"http://h/radio"} << QStringList() << QList<DropWarning>();
        QTest::newRow("playlist file: two streams")
            << QStringList{"http://h/radio", "https://h/song.mp3"} << none << true << DropAction::NewAudio
            << QStringList{"http://h/radio", "https://h/song.mp3"} << QStringList() << QList<DropWarning>();
    }

    void dropIsPlannedBySuffixAndOpenPlaylist()
    {
        QFETCH(QStringList, dropped);
        QFETCH(Playlist::Kind, open);
        QFETCH(bool, fromPlaylistFile);
        QFETCH(DropAction, action);
        QFETCH(QStringList, items);
        QFETCH(QStringList, subtitles);
        QFETCH(QList<DropWarning>, warnings);
        const DropPlan plan =
            planDrop(urls(dropped), open, fromPlaylistFile ? DropSource::PlaylistFile : DropSource::Drop);
        QCOMPARE(plan.action, action);
        QCOMPARE(plan.items, items);
        QCOMPARE(plan.subtitles, subtitles);
        QCOMPARE(plan.warnings, warnings);
    }

    void dropOrderUsesTagsOnlyWhenAllAreUsable_data()
    {
        // Tags per file: "Artist|Album|Disc|Track", "-" for none.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("tags");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("tag order, then other files by name")
            << QStringList{"/m/c.mp3", "/m/z.mkv", "/m/a.mp3", "/m/b.mp3", "/m/y.avi"}
            << QStringList{"Zed|Two|1|2", "-", "Zed|Two|1|10", "Abe|One|2|1", "-"}
            << QStringList{"/m/b.mp3", "/m/c.mp3", "/m/a.mp3", "/m/y.avi", "/m/z.mkv"};
        QTest::newRow("same names from two folders are both kept")
            << QStringList{"/m/2/clip.mkv", "/m/1/clip.mkv", "/m/1/song.MP3", "/m/2/song.mp3"}
            << QStringList{"-", "-", "-", "-"}
            << QStringList{"/m/1/song.MP3", "/m/2/song.mp3", "/m/1/clip.mkv", "/m/2/clip.mkv"};
        QTest::newRow("track and disc before their totals")
            << QStringList{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"}
            << QStringList{"Zed|Two|1/2|3/12", "Zed|Two| 1 / 2 | 2 / 12 ", "Zed|Two|1|1/12"}
            << QStringList{"/m/c.mp3", "/m/b.mp3", "/m/a.mp3"};
        QTest::newRow("a track without a number goes by name")
            << QStringList{"/m/b.mp3", "/m/a.mp3"} << QStringList{"Zed|Two|1|1/12", "Zed|Two|1|x/12"}
            << QStringList{"/m/a.mp3", "/m/b.mp3"};
        QTest::newRow("same tags are both kept") << QStringList{"/m/b/x.mp3", "/m/a/y.mp3"}
                                                 << QStringList{"Zed|Two|1|1", "Zed|Two|1|1"}
                                                 << QStringList{"/m/a/y.mp3", "/m/b/x.mp3"};
    }

    void dropOrderUsesTagsOnlyWhenAllAreUsable()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, tags);
        QFETCH(QStringList, order);
        QHash<QString, QHash<QString, QString>> tagsByPath;
        for (int i = 0; i < files.size(); ++i) {
            const QStringList parts = tags.at(i).split(QLatin1Char('|'));
            if (parts.size() == 4)
                tagsByPath[files.at(i)] = {{"Artist", parts.at(0)}, {"Album", parts.at(1)},
                                           {"DiscNumber", parts.at(2)}, {"TrackNumber", parts.at(3)}};
        }
        const auto reader = [&tagsByPath](const QString &path) { return tagsByPath.value(path); };
        QCOMPARE(names(dropOrder(urls(files), reader)), order);
    }

    // The walk through the list is pinned in the window; here its ends.
    void cursorStopsAtBothEnds()
    {
        Playlist list;
        list.create(Playlist::Kind::Audio);
        QCOMPARE(list.append({"a", "b"}), (QList<int>{1, 2}));
        QCOMPARE(list.next(), 1);
        QCOMPARE(list.previous(), 0); // nothing before the first item
        QVERIFY(!list.setCurrent(3));
        QVERIFY(list.setCurrent(2));
        QVERIFY(!list.hasNext());
        list.clear();
        QCOMPARE(list.kind(), Playlist::Kind::None);
    }
};

QTEST_GUILESS_MAIN(PlaylistPureTest)
#include "tst_playlist_pure.moc"
