// Drops, the playlist, playlist files and URLs in the real window, over real
// files and the real engine.
#include "logdialog.h"
#include "windowfixture.h"

#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "subtitletoolbutton.h"
#include "timelabel.h"
#include "videoframe.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QtEndian>

#include <cstdio>

#include <sys/stat.h>

using TarnTest::media;

namespace {

using Frames = QMap<QByteArray, QString>;

QString fileNames(const QStringList &locations)
{
    QStringList names;
    for (const QString &location : locations)
        names << QUrl(location).fileName();
    return names.join(QLatin1Char(','));
}

// A file that only looks like media: random bytes, or the sample film
// without its index (the "moov" box).
bool writeBroken(const QString &path, const QString &kind)
{
    QByteArray bytes;
    if (kind == QLatin1String("random bytes")) {
        QRandomGenerator random(17);
        for (int i = 0; i < 8192; ++i)
            bytes += char(random.bounded(256));
    } else {
        QFile sample(QStringLiteral(TARN_SAMPLE_CLIP));
        if (!sample.open(QIODevice::ReadOnly))
            return false;
        const QByteArray film = sample.readAll();
        for (int at = 0; at + 8 <= film.size();) {
            const int size = int(qFromBigEndian<quint32>(film.constData() + at));
            if (size < 8)
                return false;
            if (film.mid(at + 4, 4) != "moov")
                bytes += film.mid(at, size);
            at += size;
        }
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<missing>");
}

} // namespace

class WindowPlaylistTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { useSilentAudio(); }
    void init()
    {
        QSettings().clear();
        QVERIFY(folder.isValid());
        QVERIFY(createWindow());
    }
    void cleanup()
    {
        destroyWindow();
        QDir(folder.path()).removeRecursively();
        QDir().mkpath(folder.path());
    }

    void dropBuildsPlaylistOrPlays_data()
    {
        // Files to make: "name" copies a clip by suffix; "name=Artist|Album|Track" writes a tagged song.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("items");   // playlist, by file name
        QTest::addColumn<QString>("playing"); // file the frame or title names; "" when nothing plays
        QTest::addColumn<int>("subtitles");   // subtitle files handed to the engine
        QTest::newRow("tag order") << QStringList{"c.mp3=Zed|Two|2", "a.mp3=Zed|Two|10", "b.mp3=Abe|One|1"}
                                   << "b.mp3,c.mp3,a.mp3" << "b.mp3" << 0;
        QTest::newRow("a missing tag orders by name")
            << QStringList{"c.mp3=Zed|Two|2", "a.mp3=Zed||10", "b.mp3=Abe|One|1"} << "a.mp3,b.mp3,c.mp3" << "a.mp3"
            << 0;
        QTest::newRow("track n/total orders by n")
            << QStringList{"a.mp3=Zed|Two|3/3", "b.mp3=Zed|Two| 2 / 3 ", "c.mp3=Zed|Two|1/3"} << "c.mp3,b.mp3,a.mp3"
            << "c.mp3" << 0;
        QTest::newRow("track without a number orders by name")
            << QStringList{"b.mp3=Zed|Two|1", "a.mp3=Zed|Two|x/12"} << "a.mp3,b.mp3" << "a.mp3" << 0;
        QTest::newRow("same names from two folders") << QStringList{"1/clip.mkv", "2/clip.mkv"} << "clip.mkv,clip.mkv"
                                                     << "clip.mkv" << 0;
        QTest::newRow("upper-case extensions") << QStringList{"MVI_1.MOV", "CLIP.AVI"} << "CLIP.AVI,MVI_1.MOV"
                                               << "CLIP.AVI" << 0;
        QTest::newRow("one video, two subtitles") << QStringList{"film.mkv", "b.srt", "a.srt"} << "" << "film.mkv"
                                                  << 2;
        QTest::newRow("only subtitles") << QStringList{"a.srt"} << "" << "" << 1;
        QTest::newRow("one song, one video") << QStringList{"film.mkv", "song.mp3=Zed|Two|1"} << "" << "song.mp3"
                                             << 0;
        QTest::newRow("three ogg make a video playlist") << QStringList{"3.ogg", "1.ogg", "2.ogg"} << "1.ogg,2.ogg,3.ogg"
                                                         << "1.ogg" << 0;
    }

    void dropBuildsPlaylistOrPlays()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, items);
        QFETCH(QString, playing);
        QFETCH(int, subtitles);
        const QList<QUrl> dropped = makeFiles(files);
        QSignalSpy loaded(window->bottomBar->subtitleButton,
                          qOverload<const QString &>(&LibPlayer::SubtitleToolButton::trackChanged));
        window->dropUri(dropped);
        QCOMPARE(fileNames(window->playlistItems()), items);
        QCOMPARE(window->playing(), !playing.isEmpty());
        if (!playing.isEmpty())
            QCOMPARE(QFileInfo(window->playback->lastFile()).fileName(), playing);
        QCOMPARE(!window->bottomBar->playlistButton->isHidden(), !items.isEmpty());
        QCOMPARE(loaded.count(), subtitles);
        if (subtitles == 2) // in drop order (by name), native paths
            QCOMPARE(loaded.at(1).at(0).toString(), QDir::toNativeSeparators(folder.filePath("b.srt")));
        QVERIFY(answerer->boxes.isEmpty());
    }

    // A folder, dropped or opened (Ctrl+Shift+O), gives its media files in
    // natural order, its own files before its sub-folders, without hidden
    // names and without walking a link back up the tree; several files
    // chosen in "Open file" go as a drop; a folder with nothing to play gives
    // a box.
    void foldersAndSeveralFilesGoAsADrop_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<bool>("media");
        QTest::addColumn<QString>("items"); // relative to the tree, in order
        const QString walked = "1.mkv,2.mkv,10.mkv,disc 2/a.mkv,disc 2/B.mkv,disc 2/c.MKV,Disc 10/01.mkv";
        QTest::newRow("dropped folder") << "drop" << true << walked;
        QTest::newRow("Open folder") << "Open folder" << true << walked;
        QTest::newRow("Open file, three files") << "Open file" << true << "1.mkv,10.mkv,2.mkv";
        QTest::newRow("dropped empty folder") << "drop" << false << "";
        QTest::newRow("Open folder, nothing playable") << "Open folder" << false << "";
    }

    void foldersAndSeveralFilesGoAsADrop()
    {
        QFETCH(QString, route);
        QFETCH(bool, media);
        QFETCH(QString, items);
        const QString tree = folder.filePath("tree");
        QDir().mkpath(tree);
        if (media) {
            makeFiles({"tree/10.mkv", "tree/2.mkv", "tree/1.mkv", "tree/.hidden.mkv", "tree/.extras/x.mkv",
                       "tree/cover.srt", "tree/Disc 10/01.mkv", "tree/disc 2/B.mkv", "tree/disc 2/a.mkv",
                       "tree/disc 2/c.MKV", "tree/disc 2/notes.srt", "tree/disc 2/deeper/.x.mkv"});
            QVERIFY(QFile::link(tree, tree + "/disc 2/loop"));
        } else {
            makeFiles({"tree/notes.srt", "tree/.hidden.mkv"});
        }
        window->activateWindow();
        QTRY_VERIFY(QGuiApplication::focusWindow() == window->windowHandle());
        if (route == "drop") {
            window->dropUri({QUrl::fromLocalFile(tree)});
        } else if (route == "Open folder") {
            answerer->fileAnswers << tree;
            QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            answerer->fileAnswers << QString("\"%1/10.mkv\" \"%1/2.mkv\" \"%1/1.mkv\"").arg(tree);
            QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
        }
        if (!media) {
            QTRY_COMPARE(answerer->boxes.size(), 1);
            QVERIFY2(answerer->boxes.first().contains("no video or audio file"), qPrintable(answerer->boxes.first()));
            QVERIFY(!window->playing());
            return;
        }
        const auto relative = [&tree, this] {
            QStringList names;
            for (const QString &location : window->playlistItems())
                names << QDir(tree).relativeFilePath(QUrl(location).toLocalFile());
            return names.join(QLatin1Char(','));
        };
        QTRY_COMPARE(relative(), items);
        QVERIFY(window->playing());
        QCOMPARE(window->currentItem(), 1);
        QVERIFY2(answerer->boxes.isEmpty(), qPrintable(answerer->boxes.join('\n')));
    }

    void dropOnOpenPlaylistAppendsItsKindWithNotices_data()
    {
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QString>("items");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("audio playlist") << QStringList{"a.mp3=Zed|Two|1", "b.mp3=Zed|Two|2"}
                                        << QStringList{"c.mp3=Zed|Two|3", "film.mkv", "s.srt"} << "a.mp3,b.mp3,c.mp3"
                                        << QStringList{"Video files ignored", "Subtitle files ignored"};
        QTest::newRow("video playlist") << QStringList{"1.mkv", "2.mkv"} << QStringList{"3.mkv", "x.mp3=Zed|Two|1"}
                                        << "1.mkv,2.mkv,3.mkv" << QStringList{"Audio files ignored"};
    }

    void dropOnOpenPlaylistAppendsItsKindWithNotices()
    {
        QFETCH(QStringList, first);
        QFETCH(QStringList, second);
        QFETCH(QString, items);
        QFETCH(QStringList, notices);
        window->dropUri(makeFiles(first));
        window->dropUri(makeFiles(second));
        QCOMPARE(fileNames(window->playlistItems()), items);
        QCOMPARE(window->currentItem(), 1); // still playing the first item
        QCOMPARE(answerer->boxes.size(), notices.size());
        for (int i = 0; i < notices.size(); ++i)
            QVERIFY2(answerer->boxes.at(i).contains(notices.at(i)), qPrintable(answerer->boxes.at(i)));
    }

    void playlistAdvancesAndKeepsItsMenu()
    {
        window->dropUri(makeFiles({"a.ogg", "b.ogg", "c.ogg"}));
        QCOMPARE(window->currentItem(), 1);
        window->finishMedium();
        QTRY_COMPARE(window->currentItem(), 2);
        // A menu choice, then its end: the item after the chosen one plays.
        window->changeListItem(1);
        QCOMPARE(window->currentItem(), 1);
        QVERIFY(window->playing());
        window->finishMedium();
        QTRY_COMPARE(window->currentItem(), 2);
        window->finishMedium();
        QTRY_COMPARE(window->currentItem(), 3);
        window->finishMedium();
        QTRY_VERIFY(!window->playing()); // after the last item nothing plays
        QCOMPARE(window->playlistItems().size(), 3);
        QVERIFY(!window->bottomBar->playlistButton->isHidden());

        window->changeListItem(2);
        QVERIFY(window->playing());
        window->changeListItem(LibPlayer::ListToolButton::ejectPlaylistId);
        QVERIFY(!window->playing());
        QVERIFY(window->playlistItems().isEmpty());
        QVERIFY(window->bottomBar->playlistButton->isHidden());
    }

    void realEndsWalkThePlaylistOnce()
    {
        // Real ends of 0.5 s songs: each item plays once, and a late end of
        // one item never ends the next.
        QStringList files;
        for (const char *name : {"1.mp3", "2.mp3", "3.mp3"}) {
            QVERIFY(QFile::copy(media("short.mp3"), folder.filePath(name)));
            files << folder.filePath(name);
        }
        QStringList played;
        recordPlayed(played);
        window->dropUri({QUrl::fromLocalFile(files.at(0)), QUrl::fromLocalFile(files.at(1)),
                         QUrl::fromLocalFile(files.at(2))});
        QTRY_VERIFY_WITH_TIMEOUT(!window->playing() && window->currentItem() == 3, 10000);
        QTest::qWait(300);
        QCOMPARE(played, (QStringList{"1.mp3", "2.mp3", "3.mp3"}));
    }

    void endDuringABoxWaitsForTheFlowAndIsDroppedWhenStale()
    {
        window->dropUri(makeFiles({"v1.mkv", "v2.mkv"}));
        QStringList played;
        recordPlayed(played);
        // The first video ends while the drop's notice is open.
        bool ended = false;
        answerer = std::make_unique<TarnTest::ModalAnswerer>([this, &ended](QWidget *modal) {
            if (qobject_cast<QMessageBox *>(modal) && !ended) {
                ended = true;
                window->finishMedium();
            }
            return false;
        });
        window->dropUri(makeFiles({"a.mp3=Zed|Two|1", "b.mp3=Zed|Two|2", "s.srt"}));
        QTest::qWait(300);
        QVERIFY(ended);
        // The end belonged to the first video, which the new playlist ended:
        // the second video never started.
        QCOMPARE(played, QStringList{"a.mp3"});
        QCOMPARE(fileNames(window->playlistItems()), QStringLiteral("a.mp3,b.mp3"));
        QCOMPARE(window->currentItem(), 1);
    }

    void cancelledDialogsKeepThePlaylist()
    {
        window->dropUri(makeFiles({"a.ogg", "b.ogg"}));
        answerer->fileAnswers << QString();
        window->openFile();
        answerer->textAnswers << QString(); // Play on an empty field is a cancel
        window->openUrl();
        QCOMPARE(window->playlistItems().size(), 2);
        QVERIFY(window->playing());
        QCOMPARE(answerer->fileDialogs, QStringList{"Open file"});
    }

    void newPlaylistEndsThePlayingFilmFirst()
    {
        window->openFile(media("av.mkv"));
        LibPlayer::VideoFrame *filmFrame = window->videoHost->frame();
        // The half-second items may already have moved on when the drop
        // returns: what started first is what counts.
        QStringList started;
        QObject guard;
        connect(window->core.get(), &LibPlayer::Core::mediaStarted, &guard,
                [&] { started << QUrl(window->core->location()).fileName(); });
        window->dropUri(makeFiles({"a.ogg", "b.ogg"}));
        QVERIFY(window->videoHost->frame() != filmFrame); // the film's frame was replaced
        QCOMPARE(started.value(0), QStringLiteral("a.ogg"));
        QVERIFY(window->currentItem() >= 1);
    }

    void playlistFileIsReadIntoThePlaylist()
    {
        makeFiles({"dir/a.mp3=Zed|Two|1", "dir/b.mp3=Zed|Two|2", "dir/c.mp3=Zed|Two|3", "dir/caf\u00e9 \u00fc.mp3=Zed|Two|4"});
        const QString list = folder.filePath("dir/list.m3u");
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // A UTF-8 line in an .m3u is read as UTF-8.
        file.write("#EXTM3U\n  a.mp3  \n" + QFile::encodeName(folder.filePath("dir/b.mp3")) + "\n"
                   + QUrl::fromLocalFile(folder.filePath("dir/c.mp3")).toEncoded() + "\nmissing.mp3\n"
                   + "caf\xc3\xa9 \xc3\xbc.mp3\nhttp://127.0.0.1:9/radio\n");
        file.close();
        QSignalSpy warnings(window.get(), &PlayerWindow::messageWarning);
        window->dropUri({QUrl::fromLocalFile(list)});
        QCOMPARE(fileNames(window->playlistItems()), QStringLiteral("a.mp3,b.mp3,c.mp3,caf\u00e9 \u00fc.mp3,radio"));
        QCOMPARE(window->currentItem(), 1);
        QCOMPARE(warnings.count(), 1);
        QCOMPARE(warnings.at(0).at(0).toString(), QStringLiteral("[Main] Invalid item in playlist: missing.mp3"));
        // The log window shows the read's lines as written, in their level's colour.
        auto *log = window->findChild<LibTarnCommon::LogDialog *>();
        const QStringList logLines = log->plainText().split(QLatin1Char('\n'));
        const QAbstractItemModel *rows = log->findChild<QListView *>()->model();
        const auto colourOf = [&](const QString &line) {
            const int row = logLines.indexOf(line);
            return row < 0 ? QStringLiteral("no line: ") + line
                           : rows->index(row, 0).data(Qt::ForegroundRole).value<QColor>().name();
        };
        QCOMPARE(colourOf(QStringLiteral("[Main] Invalid item in playlist: missing.mp3")), QColor("orange").name());
        QCOMPARE(colourOf(QStringLiteral("[Main] Found item in playlist: caf\u00e9 \u00fc.mp3")),
                 QColor(Qt::black).name());

        // Saved next to its entries: bare names; the stream unchanged; UTF-8 as .m3u8.
        answerer->fileAnswers << folder.filePath("dir/saved.m3u");
        window->changeListItem(LibPlayer::ListToolButton::savePlaylistId);
        QCOMPARE(readText(folder.filePath("dir/saved.m3u8")),
                 QStringLiteral("a.mp3\nb.mp3\nc.mp3\ncaf\u00e9 \u00fc.mp3\nhttp://127.0.0.1:9/radio\n"));
    }

    void playlistFilesWithoutEntriesOrUnreadableGiveABox()
    {
        QFile file(folder.filePath("list.m3u8"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#EXTM3U\nmissing.mp3\n") > 0);
        file.close();
        window->readList(file.fileName());
        window->readList(folder.filePath("none.m3u"));
        QCOMPARE(answerer->boxes.size(), 2);
        QVERIFY2(answerer->boxes.at(0).contains("Empty playlist"), qPrintable(answerer->boxes.at(0)));
        QVERIFY2(answerer->boxes.at(1).contains("Failed to read playlist file"), qPrintable(answerer->boxes.at(1)));
        QVERIFY(window->playlistItems().isEmpty());
    }

    // A pipe, a device or a folder named like media or a playlist, by each
    // route: refused at once with the box of its kind; nothing plays.
    void specialFilesAreRefusedAtOnce_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QStringList>("files"); // "pipe:", "device:" or "folder:" and a name, or a song
        QTest::addColumn<QString>("box");
        const QString list = QStringLiteral("Failed to read playlist file");
        const QString media = QStringLiteral("Failed to play file");
        QTest::newRow("start: pipe named .m3u") << "start" << QStringList{"pipe:list.m3u"} << list;
        QTest::newRow("start: pipe named .mp4") << "start" << QStringList{"pipe:film.mp4"} << media;
        QTest::newRow("hand-over: device named .m3u") << "hand-over" << QStringList{"device:zero.m3u"} << list;
        QTest::newRow("hand-over: folder named .mkv") << "hand-over" << QStringList{"folder:film.mkv"} << media;
        QTest::newRow("drop: device named .mp4") << "drop" << QStringList{"device:film.mp4"} << media;
        // A playlist skips the refused item without a box and plays the next.
        QTest::newRow("drop: pipe named .mp3 before a song") << "drop" << QStringList{"pipe:a.mp3", "b.mp3=Zed|Two|1"}
                                                             << QString();
        QTest::newRow("drop: pipe named .srt") << "drop" << QStringList{"pipe:sub.srt"} << media;
    }

    void specialFilesAreRefusedAtOnce()
    {
        QFETCH(QString, route);
        QFETCH(QStringList, files);
        QFETCH(QString, box);
        QList<QUrl> urls;
        for (const QString &file : files) {
            const QString kind = file.section(QLatin1Char(':'), 0, -2);
            const QString path = folder.filePath(file.section(QLatin1Char(':'), -1));
            if (kind == QLatin1String("pipe"))
                QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            else if (kind == QLatin1String("device"))
                QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
            else if (kind == QLatin1String("folder"))
                QVERIFY(QDir().mkpath(path));
            urls << (kind.isEmpty() ? makeFiles({file}).first() : QUrl::fromLocalFile(path));
        }
        const QString first = urls.first().toLocalFile();
        if (route == QLatin1String("start")) {
            window = std::make_unique<TarnTest::TestWindow>(first);
            window->show();
        } else if (route == QLatin1String("hand-over")) {
            window->handleMessage(first);
        } else {
            window->dropUri(urls);
        }
        if (box.isEmpty()) {
            QTRY_VERIFY(window->playing());
            QCOMPARE(window->currentItem(), 2);
            QVERIFY2(answerer->boxes.isEmpty(), qPrintable(answerer->boxes.join('\n')));
            return;
        }
        QTRY_COMPARE(answerer->boxes.size(), 1);
        QVERIFY2(answerer->boxes.first().contains(box), qPrintable(answerer->boxes.first()));
        QVERIFY(!window->playing());
    }

    void savingWritesTheVideoPlaylistRenamesOrWarns()
    {
        window->dropUri(makeFiles({"caf\u00e9.mkv", "b.mkv"}));
        // A name beyond ASCII makes an .m3u an .m3u8, remembered as such.
        answerer->fileAnswers << folder.filePath("list.m3u");
        window->changeListItem(LibPlayer::ListToolButton::savePlaylistId);
        QCOMPARE(readText(folder.filePath("list.m3u8")), QStringLiteral("b.mkv\ncaf\u00e9.mkv\n"));
        QVERIFY(!QFile::exists(folder.filePath("list.m3u")));
        QCOMPARE(QSettings().value("Output/last playlist saved").toString(), folder.filePath("list.m3u8"));
        QVERIFY(answerer->boxes.isEmpty());

        answerer->fileAnswers << folder.filePath("no/such/folder/list.m3u");
        window->changeListItem(LibPlayer::ListToolButton::savePlaylistId);
        QCOMPARE(answerer->boxes.size(), 1);
        QVERIFY(answerer->boxes.first().contains("Failed to save playlist"));
    }

    void urlReachesTheEngineAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("plays");
        const QString url = QUrl::fromLocalFile(media("av.mkv")).toString();
        QTest::newRow("local URL") << url << true;
        QTest::newRow("leading space") << " " + url << false;
        QTest::newRow("refused connection") << QStringLiteral("http://127.0.0.1:9/none.mp3") << false;
    }

    void urlReachesTheEngineAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(bool, plays);
        QStringList engineLines;
        const auto record = [&engineLines](const QString &line) { engineLines << line; };
        connect(window->core.get(), &LibPlayer::Core::messageNotice, record);
        connect(window->core.get(), &LibPlayer::Core::messageError, record);
        answerer->textAnswers << typed;
        window->openUrl();
        QVERIFY2(engineLines.filter(QLatin1String("URL: ") + typed.toHtmlEscaped()).size() == 1,
                 qPrintable(engineLines.join('\n')));
        if (plays) {
            QCOMPARE(window->playback->lastFile(), media("av.mkv"));
            QVERIFY(answerer->boxes.isEmpty());
        } else {
            QCOMPARE(answerer->boxes.size(), 1);
            QVERIFY(answerer->boxes.first().contains("Failed to play URL"));
        }
    }

    void brokenFileGivesTheBoxOfItsCommand_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("command");
        for (const char *kind : {"random bytes", "no index"}) {
            for (const char *command : {"file", "URL"})
                QTest::addRow("%s, open %s", kind, command) << kind << command;
        }
    }

    void brokenFileGivesTheBoxOfItsCommand()
    {
        QFETCH(QString, kind);
        QFETCH(QString, command);
        const QString path = folder.filePath("broken.mp4");
        QVERIFY(writeBroken(path, kind));
        window->openFile(media("av.mkv"));
        QTRY_VERIFY(!window->bottomBar->timeLabel->text().isEmpty());
        if (command == "file") {
            answerer->fileAnswers << path;
            window->openFile();
        } else {
            answerer->textAnswers << QUrl::fromLocalFile(path).toString();
            window->openUrl();
        }
        QTRY_COMPARE(answerer->boxes.size(), 1);
        QCOMPARE(answerer->boxes.first(), QStringLiteral("<b>Failed to play %1</b><br><br>Player Tarn was not able to play "
                                                         "this %1.<br>%2").arg(command, path));
        QVERIFY(!window->playing());
        QVERIFY(!window->bottomBar->playButton->isPlaying());
        QVERIFY(!window->bottomBar->playButton->isEnabled());
        QCOMPARE(window->bottomBar->timeLabel->text(), QString());
        QCOMPARE(window->windowTitle(), QStringLiteral("Player Tarn"));
    }

    void brokenPlaylistItemsAreSkipped_data()
    {
        QTest::addColumn<QStringList>("files"); // "name" a short song, "name=kind" a broken file
        QTest::addColumn<int>("boxes");
        QTest::newRow("random bytes in the middle") << QStringList{"a.ogg", "broken.mp4=random bytes", "c.ogg"} << 0;
        QTest::newRow("no index in the middle") << QStringList{"a.ogg", "broken.mp4=no index", "c.ogg"} << 0;
        QTest::newRow("a file gone in the middle") << QStringList{"a.ogg", "gone.mp4=missing", "c.ogg", "d.ogg"} << 0;
        QTest::newRow("every item broken")
            << QStringList{"a.mp4=random bytes", "b.mp4=no index", "c.mp4=random bytes"} << 1;
    }

    void brokenPlaylistItemsAreSkipped()
    {
        QFETCH(QStringList, files);
        QFETCH(int, boxes);
        QList<QUrl> dropped;
        QStringList names; // those the engine plays, broken ones included
        QStringList broken;
        for (const QString &entry : files) {
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            const QString kind = entry.section(QLatin1Char('='), 1);
            const QString path = folder.filePath(name);
            if (kind.isEmpty())
                QVERIFY(QFile::copy(media("short.mp3"), path));
            else if (kind != QLatin1String("missing"))
                QVERIFY(writeBroken(path, kind));
            dropped << QUrl::fromLocalFile(path);
            if (kind != QLatin1String("missing"))
                names << name;
            if (!kind.isEmpty())
                broken << name;
        }
        QStringList played;
        recordPlayed(played);
        QStringList skipped;
        connect(window.get(), &PlayerWindow::messageWarning, [&skipped](const QString &line) {
            if (line.startsWith(QLatin1String("[Main] ")) && line.contains(QLatin1String("skipped")))
                skipped << QUrl(line.section(QLatin1String(": "), 1)).fileName();
        });
        window->dropUri(dropped);
        QTRY_VERIFY_WITH_TIMEOUT(
            !window->core->isPlaying() && played.size() == names.size() && skipped.size() == broken.size(), 15000);
        QTest::qWait(300);
        QCOMPARE(played, names);
        QCOMPARE(skipped, broken);
        QCOMPARE(answerer->boxes.size(), boxes);
        if (boxes)
            QVERIFY(answerer->boxes.first().endsWith("Player Tarn was not able to play any item of this playlist."));
        QCOMPARE(window->currentItem(), files.size());
    }

    void wholeFileNamesAreShown()
    {
        const QStringList names{QStringLiteral("Cr\u00e8me br\u00fbl\u00e9e #1 100% \u2013 \u65e5\u672c\u8a9e.mp4"),
                                QStringLiteral("a?b %41 c.mp4")};
        QList<QUrl> dropped;
        for (const QString &name : names) {
            QVERIFY(QFile::copy(media("clip.ts"), folder.filePath(name)));
            dropped << QUrl::fromLocalFile(folder.filePath(name));
        }
        window->dropUri(dropped);
        QStringList entries;
        for (QAction *action : window->bottomBar->playlistButton->menu()->actions())
            entries << action->text();
        QCOMPARE(entries.mid(entries.size() - 2), names);
        for (int item = 1; item <= 2; ++item) {
            if (item == 2)
                window->changeListItem(2);
            const QString name = names.at(item - 1);
            window->core->parseMedia();
            QTRY_COMPARE(window->m_titleLabel->text(), name);
            const QString title = name + QStringLiteral(" \u2014 Player Tarn");
            QCOMPARE(window->windowTitle(), title);
            const auto xName = [this] {
                QProcess xprop;
                xprop.start("xprop", {"-id", QString::number(window->winId()), "-notype", "_NET_WM_NAME"});
                xprop.waitForFinished(5000);
                return QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
            };
            QTRY_COMPARE(xName(), QStringLiteral("_NET_WM_NAME = \"%1\"").arg(title));
        }
    }

    // A name whose bytes are not UTF-8 (a Latin-1 é) plays by every route
    // of the window. Qt's own file dialog shows it, and returns it, with
    // U+FFFD in place of the byte.
    void nameThatIsNotTextPlaysByEveryRoute_data()
    {
        QTest::addColumn<QString>("route");
        for (const char *route : {"drop", "m3u entry", "m3u8 entry", "file URL entry", "Open file", "handed over"})
            QTest::newRow(route) << route;
    }

    void nameThatIsNotTextPlaysByEveryRoute()
    {
        QFETCH(QString, route);
        const QByteArray name = QFile::encodeName(folder.path()) + "/lat\xe9.mkv";
        QVERIFY(TarnTest::copyToNativeName(media("av.mkv"), name));
        const auto removeName = qScopeGuard([&name] { std::remove(name.constData()); });
        const QByteArray location = "file://" + name.toPercentEncoding("/");
        if (route == "drop") { // as a file manager drops it
            QMimeData mime;
            mime.setData(QStringLiteral("text/uri-list"), location + "\r\n");
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->videoHost->frame(), &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->videoHost->frame(), &drop);
        } else if (route == "Open file") {
            answerer = std::make_unique<TarnTest::ModalAnswerer>([&name, chosen = false](QWidget *modal) mutable {
                auto *dialog = qobject_cast<QFileDialog *>(modal);
                if (!dialog || chosen)
                    return false;
                chosen = true;
                // What choosing the name in the list gives: its text, with U+FFFD.
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QFile::decodeName(name));
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection); // the Open button
                return true;
            });
            window->openFile();
        } else if (route == "handed over") {
            window->handleMessage(QString::fromLatin1(location));
        } else {
            QFile list(folder.filePath(route.startsWith("m3u8") ? "list.m3u8" : "list.m3u"));
            QVERIFY(list.open(QIODevice::WriteOnly));
            list.write("#EXTM3U\n" + (route.startsWith("file") ? location : QByteArray("lat\xe9.mkv")) + "\n");
            list.close();
            window->readList(list.fileName());
        }
        QVERIFY2(answerer->boxes.isEmpty(), qPrintable(answerer->boxes.join('\n')));
        QVERIFY(window->playing());
        QCOMPARE(QUrl(window->core->location()).toEncoded(), location);
    }

private:
    // The file names the engine is asked to play, in order.
    void recordPlayed(QStringList &played)
    {
        connect(window->core.get(), &LibPlayer::Core::messageNotice, [&played](const QString &line) {
            if (line.startsWith(QLatin1String("[Core] Playing URL:")))
                played << QUrl(line.section(QLatin1Char(' '), 3)).fileName();
        });
    }

    QList<QUrl> makeFiles(const QStringList &entries)
    {
        QList<QUrl> urls;
        for (const QString &entry : entries) {
            const QString name = entry.section(QLatin1Char('='), 0, 0);
            const QString path = folder.filePath(name);
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (entry.contains(QLatin1Char('='))) {
                const QStringList tags = entry.section(QLatin1Char('='), 1).split(QLatin1Char('|'));
                Frames frames{{"TPE1", tags.value(0)}, {"TRCK", tags.value(2)}};
                if (!tags.value(1).isEmpty())
                    frames.insert("TALB", tags.value(1));
                TarnTest::writeMp3(path, frames);
            } else {
                QFile::copy(media(name.endsWith(".srt") ? "sub.srt" : name.endsWith(".ogg") ? "short.mp3" : "av.mkv"), path);
            }
            urls << QUrl::fromLocalFile(path);
        }
        return urls;
    }

    QTemporaryDir folder;
};

TARN_TEST_MAIN(WindowPlaylistTest)
#include "tst_window_playlist.moc"
