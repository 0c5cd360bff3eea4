// Seek-bar previews: the pass plan and the disk cache as values, then the
// pictures over the real window's time slider, with the real engines, the
// real pointer and the 60-s clip whose colour changes every 10 s.
#include "windowfixture.h"

#include "previewcache.h"
#include "previewengine.h"
#include "seekpreviews.h"
#include "timeslider.h"
#include "videoframe.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <set>

using LibPlayer::PreviewCache;
using TarnTest::media;
namespace PreviewStore = LibPlayer::PreviewStore;

namespace {

// The clip's colour at a time, by the name the test gives it.
QString colourAt(qint64 ms)
{
    static const char *const names[] = {"red", "green", "blue", "yellow", "magenta", "cyan"};
    return QString::fromLatin1(names[std::clamp<qint64>(ms / 10000, 0, 5)]);
}

QString colourName(const QColor &colour)
{
    const bool r = colour.red() > 160;
    const bool g = colour.green() > 160;
    const bool b = colour.blue() > 160;
    if (r && !g && !b)
        return QStringLiteral("red");
    if (!r && g && !b)
        return QStringLiteral("green");
    if (!r && !g && b)
        return QStringLiteral("blue");
    if (r && g && !b)
        return QStringLiteral("yellow");
    if (r && !g && b)
        return QStringLiteral("magenta");
    if (!r && g && b)
        return QStringLiteral("cyan");
    return colour.name();
}

QImage filled(const QColor &colour)
{
    QImage image(160, 90, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class PreviewsTest : public QObject, private TarnTest::WindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { useSilentAudio(); }
    void cleanup() { destroyWindow(); }

    void passTimesSpreadCoarseToFine_data()
    {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<int>("steps");
        QTest::newRow("none") << 0LL << 0;
        QTest::newRow("10 s: no closer than 500 ms") << 10000LL << 20;
        QTest::newRow("60 s: 100 steps") << 60000LL << 100;
        QTest::newRow("20 min: every 10 s") << 1200000LL << 120;
        QTest::newRow("2 h: at most 200") << 7200000LL << 200;
    }
    void passTimesSpreadCoarseToFine()
    {
        QFETCH(qint64, lengthMs);
        QFETCH(int, steps);
        const QVector<qint64> times = LibPlayer::previewPassTimes(lengthMs);
        QCOMPARE(times.size(), steps);
        if (steps == 0)
            return;
        const std::set<qint64> distinct(times.begin(), times.end());
        QCOMPARE(int(distinct.size()), steps);
        const double step = double(lengthMs) / steps;
        QCOMPARE(*distinct.begin(), qint64(step / 2));
        QVERIFY(*distinct.rbegin() < lengthMs);
        // The first quarter of the pass already spans the whole length.
        const auto firstQuarter = std::minmax_element(times.begin(), times.begin() + (steps + 3) / 4);
        QVERIFY(*firstQuarter.second - *firstQuarter.first >= lengthMs / 2);
    }

    void cacheFindsTheNearestWithinItsCap()
    {
        const qint64 one = filled(Qt::red).sizeInBytes();
        PreviewCache cache(3 * one);
        QVERIFY(cache.nearest(5000).isNull());
        QVERIFY(cache.insert(1000, filled(Qt::red)));
        QVERIFY(cache.insert(3000, filled(Qt::green)));
        QVERIFY(cache.insert(9000, filled(Qt::blue)));
        QVERIFY(!cache.insert(5000, filled(Qt::yellow))); // past the cap: dropped
        QVERIFY(cache.insert(3000, filled(Qt::cyan)));    // a replacement fits
        QCOMPARE(cache.count(), 3);
        QCOMPARE(cache.bytes(), 3 * one);
        const QList<QPair<qint64, qint64>> nearest{{0, 1000}, {1999, 1000}, {2000, 1000}, {2001, 3000},
                                                   {5999, 3000}, {6001, 9000}, {60000, 9000}};
        for (const auto &pair : nearest)
            QCOMPARE(cache.nearest(pair.first).timeMs, pair.second);
        QCOMPARE(colourName(cache.nearest(3000).image.pixelColor(0, 0)), QStringLiteral("cyan"));
        QVERIFY(cache.covers(3400, 400) && !cache.covers(3401, 400));
    }

    void onlyLocalVideoFilesGetPreviews_data()
    {
        QTest::addColumn<QString>("mrl");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("video file") << "file:///films/a%20b.mkv" << true;
        QTest::newRow("unknown suffix: the engine decides") << "file:///films/clip.xyz" << true;
        QTest::newRow("audio file") << "file:///music/song.MP3" << false;
        QTest::newRow("disc image") << "file:///discs/film.iso" << false;
        QTest::newRow("network stream") << "http://127.0.0.1/film.mkv" << false;
        QTest::newRow("DVD folder") << "dvd:///discs/FILM" << false;
        QTest::newRow("audio CD") << "cdda:///dev/sr0" << false;
    }
    void onlyLocalVideoFilesGetPreviews()
    {
        QFETCH(QString, mrl);
        QFETCH(bool, wanted);
        QCOMPARE(SeekPreviews::wantsPreviews(mrl), wanted);
    }

    void damagedEntryIsDiscardedSilently_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("intact") << "";
        QTest::newRow("one byte changed") << "flip";
        QTest::newRow("cut short") << "truncate";
        QTest::newRow("another medium's key") << "key";
        QTest::newRow("empty") << "empty";
    }
    void damagedEntryIsDiscardedSilently()
    {
        QFETCH(QString, damage);
        QTemporaryDir folder;
        PreviewCache written;
        QVERIFY(written.insert(1000, filled(Qt::red)));
        QVERIFY(written.insert(7000, filled(Qt::blue)));
        QVERIFY(PreviewStore::save(folder.path(), "file:1:aa", written));
        const QString file = PreviewStore::fileFor(folder.path(), "file:1:aa");
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadWrite));
        QByteArray bytes = raw.readAll();
        if (damage == "flip")
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
        else if (damage == "truncate")
            bytes.chop(bytes.size() / 3);
        else if (damage == "empty")
            bytes.clear();
        raw.resize(0);
        raw.write(bytes);
        raw.close();
        if (damage == "key")
            QVERIFY(QFile::rename(file, PreviewStore::fileFor(folder.path(), "file:2:bb")));
        const QString key = damage == "key" ? QStringLiteral("file:2:bb") : QStringLiteral("file:1:aa");

        PreviewCache read;
        const bool intact = damage.isEmpty();
        QCOMPARE(PreviewStore::load(folder.path(), key, read), intact);
        QCOMPARE(QFile::exists(PreviewStore::fileFor(folder.path(), key)), intact);
        QCOMPARE(read.count(), intact ? 2 : 0);
        if (intact) {
            QCOMPARE(colourName(read.nearest(2000).image.pixelColor(80, 45)), QStringLiteral("red"));
            QCOMPARE(read.nearest(5000).timeMs, 7000);
        }
    }

    void folderKeepsTheMostRecentlyUsedWithinItsCap()
    {
        QTemporaryDir folder;
        PreviewCache cache;
        QImage noise(160, 90, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y) {
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, qRgb((x * 37 + y * 91) % 256, (x * x + y) % 256, (y * y * 7 + x) % 256));
        }
        for (int i = 0; i < 20; ++i)
            QVERIFY(cache.insert(i * 1000, noise));
        const QStringList keys{"file:a", "file:b", "file:c"};
        const QDateTime now = QDateTime::currentDateTime();
        for (int i = 0; i < keys.size(); ++i) {
            QVERIFY(PreviewStore::save(folder.path(), keys[i], cache));
            QFile file(PreviewStore::fileFor(folder.path(), keys[i]));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(now.addSecs(i - 100), QFileDevice::FileModificationTime));
        }
        // Opening the oldest makes it the most recently used.
        PreviewCache read;
        QVERIFY(PreviewStore::load(folder.path(), "file:a", read));
        const qint64 one = QFileInfo(PreviewStore::fileFor(folder.path(), "file:a")).size();
        PreviewStore::trim(folder.path(), 2 * one + one / 2);
        QVERIFY(QFile::exists(PreviewStore::fileFor(folder.path(), "file:a")));
        QVERIFY(!QFile::exists(PreviewStore::fileFor(folder.path(), "file:b")));
        QVERIFY(QFile::exists(PreviewStore::fileFor(folder.path(), "file:c")));
    }

    void firstHoverShowsThePictureOfThatTime()
    {
        QVERIFY(openColours());
        hoverAt(15000);
        QTRY_COMPARE_WITH_TIMEOUT(shownColour(), QStringLiteral("green"), 10000);
        // Framed above the time text, within the window, hidden with it.
        const QLabel *tip = timeTip();
        QCOMPARE(preview()->geometry().bottom() + 1, tip->geometry().top());
        QVERIFY(preview()->x() >= 0 && preview()->geometry().right() < window->width());
        hoverAt(59900);
        QTRY_VERIFY(preview()->geometry().right() < window->width());
        QTest::mouseMove(window->videoHost->frame(), QPoint(20, 20));
        QTRY_VERIFY(!tip->isVisible());
        QVERIFY(!preview()->isVisible());
    }

    void sweepCoalescesAndEndsOnTheLastPosition()
    {
        QVERIFY(openColours());
        LibPlayer::PreviewEngine *engine = window->previews->engine();
        const int width = slider()->width();
        for (int i = 0; i < 50; ++i) {
            QTest::mouseMove(slider(), QPoint(width / 20 + i * width / 80, 4));
            QTest::qWait(20);
        }
        const qint64 last = qint64((width / 20 + 49 * width / 80) * 60000.0 / width);
        QTRY_COMPARE_WITH_TIMEOUT(shownColour(), colourAt(last), 10000);
        QTest::qWait(300);
        QVERIFY2(engine->requestGrabCount() <= 5, qPrintable(QString::number(engine->requestGrabCount())));
    }

    void passFillsTheCacheWhilePlaybackGoesOnThenTheDiskKeepsIt()
    {
        QVERIFY(openColours());
        LibPlayer::PreviewEngine *engine = window->previews->engine();
        QSignalSpy times(window->core.get(), &LibPlayer::Core::mediaPlayerTimeChanged);
        QTRY_VERIFY_WITH_TIMEOUT(engine->passGrabCount() > 0, 10000);
        const qint64 from = window->core->time();
        QElapsedTimer wall;
        wall.start();
        QTRY_VERIFY_WITH_TIMEOUT(engine->isPassFinished(), 40000);
        QCOMPARE(engine->cachedCount(), 100);
        // Playback kept its pace during the pass (it plays at most to the end).
        const qint64 played = window->core->time() - from;
        QVERIFY2(played >= std::min<qint64>(wall.elapsed() / 2, 20000),
                 qPrintable(QStringLiteral("%1 ms played in %2 ms").arg(played).arg(wall.elapsed())));

        const int grabs = engine->requestGrabCount();
        hoverAt(45000);
        QTRY_COMPARE(shownColour(), QStringLiteral("magenta"));
        QCOMPARE(engine->requestGrabCount(), grabs); // from the cache, before any grab

        // Opened again: the pictures come from the disk, no pass runs.
        QVERIFY(openColours());
        QTRY_COMPARE(engine->cachedCount(), 100);
        hoverAt(25000);
        QTRY_COMPARE(shownColour(), QStringLiteral("blue"));
        QTRY_VERIFY_WITH_TIMEOUT(engine->isPassFinished(), 10000);
        QCOMPARE(engine->passGrabCount(), 0);
    }

    void mediaWithoutVideoShowNoPicture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // empty: the audio clip
        QTest::newRow("audio file") << "tone.mp3" << QByteArray();
        QTest::newRow("audio under a video name") << "tone.mkv" << QByteArray();
        QTest::newRow("broken file") << "broken.mkv" << QByteArray("\x1a\x45\xdf\xa3 not a film", 16).repeated(500);
    }
    void mediaWithoutVideoShowNoPicture()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (content.isEmpty()) {
            QVERIFY(QFile::copy(media("audio.mp3"), path));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QVERIFY(createWindow());
        QSignalSpy warnings(window.get(), &PlayerWindow::messageWarning);
        window->openFile(path);
        showSlider();
        hoverAt(1000);
        QTest::qWait(1000);
        hoverAt(500);
        QTest::qWait(500);
        QVERIFY(!preview()->isVisible());
        QVERIFY(answerer->boxes.size() <= (content.isEmpty() ? 0 : 1)); // the broken file's own failure box
        int previewLines = 0;
        for (const QList<QVariant> &line : qAsConst(warnings))
            previewLines += line.first().toString().startsWith("[Previews]") ? 1 : 0;
        QVERIFY(previewLines <= 1);
    }

    void optionTurnsPreviewsOffAndIsKept()
    {
        QVERIFY(openColours());
        QAction *option = window->previews->action();
        QVERIFY(option->isChecked());
        option->trigger();
        QCOMPARE(QSettings().value("Interface/seek-bar previews").toBool(), false);
        hoverAt(15000);
        QTest::qWait(800);
        QVERIFY(!preview()->isVisible());
        destroyWindow();
        QVERIFY(createWindow());
        QVERIFY(!window->previews->action()->isChecked());
        window->previews->action()->trigger();
        QCOMPARE(QSettings().value("Interface/seek-bar previews").toBool(), true);
    }

private:
    LibPlayer::TimeSlider *slider() const { return window->bottomBar->timeSlider; }
    QLabel *preview() const { return window->findChild<QLabel *>(QStringLiteral("SeekPreview")); }
    QLabel *timeTip() const
    {
        for (QLabel *label : window->findChildren<QLabel *>()) {
            if (label->isVisible() && label->text().contains(':') && label->y() < slider()->y()
                && label->geometry().bottom() + 1 == slider()->y())
                return label;
        }
        return nullptr;
    }
    QString shownColour() const
    {
        const QLabel *label = preview();
        if (!label || !label->isVisible())
            return QString();
        const QImage image = label->pixmap(Qt::ReturnByValue).toImage();
        if (image.isNull())
            return QString();
        return colourName(image.pixelColor(image.width() / 2, image.height() / 2));
    }

    // A fresh window with an empty disk cache playing the colour clip, the
    // slider up and the length known.
    bool openColours()
    {
        if (!window) {
            QDir(PreviewStore::defaultFolder()).removeRecursively();
            QSettings().clear();
            if (!createWindow())
                return false;
        }
        window->openFile(media("colours.mkv"));
        if (!window->playing() || !QTest::qWaitFor([this] { return slider()->length() > 0; }, 10000))
            return false;
        showSlider();
        return QTest::qWaitFor([this] { return window->previews->engine()->hasMedium(); }, 10000);
    }
    void showSlider()
    {
        // The overlays come back when the pointer has moved between two of
        // their ticks.
        int step = 0;
        QVERIFY(QTest::qWaitFor(
            [this, &step] {
                QTest::mouseMove(window->videoHost->frame(), QPoint(40 + ++step % 2 * 10, 40));
                return slider()->isVisible();
            },
            5000));
    }
    void hoverAt(qint64 ms)
    {
        showSlider();
        const int x = int(ms * slider()->width() / 60000);
        QTest::mouseMove(slider(), QPoint(x, 4));
    }
};

TARN_TEST_MAIN(PreviewsTest)
#include "tst_previews.moc"
