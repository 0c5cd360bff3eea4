// Measures the seek-bar previews with the real engines: a Core plays a
// generated 720p H.264 clip into a window while a PreviewEngine on its
// instance grabs pictures, then runs its background pass; prints the figures.
#include "core.h"
#include "previewengine.h"
#include "threadpriority.h"
#include "timeslider.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHoverEvent>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

using LibPlayer::PreviewEngine;

namespace {

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// CPU time of this process's lowered threads: the preview engine's worker and
// the libvlc threads its player started (they inherit the worker's
// priority); the playback engine's threads run at 0.
double lowPriorityCpuMs()
{
    double ticks = 0;
    const QStringList tasks = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(task));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // Fields after the command name: state is field 3, utime 14, stime 15, nice 19.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 16 && fields.at(16).toInt() == Platform::LowPriorityNice)
            ticks += fields.at(11).toDouble() + fields.at(12).toDouble();
    }
    return ticks * 1000.0 / sysconf(_SC_CLK_TCK);
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs the event loop until done() or limitMs; false on the limit.
template<typename Done>
bool waitFor(Done done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

void runFor(int ms)
{
    waitFor([] { return false; }, ms);
}

bool makeClip(const QString &path, int minutes)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return false;
    const QString seconds = QString::number(minutes * 60);
    QProcess process;
    process.start(ffmpeg, {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                           "testsrc2=size=1280x720:rate=25", "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000",
                           "-t", seconds, "-c:v", "libx264", "-preset", "ultrafast", "-crf", "30", "-g", "250",
                           "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "64k", path});
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

// Time from a hover event to the slider's time text, in ms.
double timeTextMs(LibPlayer::TimeSlider &slider)
{
    std::vector<double> samples;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer timer;
        timer.start();
        QHoverEvent move(QEvent::HoverMove, QPoint(10 + i * 7, 3), QPoint(9 + i * 7, 3));
        QCoreApplication::sendEvent(&slider, &move);
        samples.push_back(timer.nsecsElapsed() / 1e6);
    }
    return median(samples);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setOrganizationName(QStringLiteral("Mirelva"));
    app.setApplicationName(QStringLiteral("Player"));
    const int minutes = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QTemporaryDir temp;
    const QString clip = temp.filePath(QStringLiteral("film.mp4"));
    std::printf("Generating a %d-minute 720p H.264 clip...\n", minutes);
    std::fflush(stdout);
    if (!makeClip(clip, minutes)) {
        std::printf("skipped: ffmpeg (with libx264) is needed to make the clip\n");
        return 0;
    }

    QWidget window;
    window.resize(960, 560);
    auto *video = new QWidget(&window);
    video->setGeometry(0, 0, 960, 540);
    auto *slider = new LibPlayer::TimeSlider(&window);
    slider->setGeometry(0, 540, 960, 8);
    window.show();
    LibPlayer::Core core;
    core.setVideoWidget(video);
    if (!core.isLoaded() || !core.playFile(clip)) {
        std::printf("the engine cannot play the clip\n");
        return 1;
    }
    const QString mrl = core.location();
    slider->setSliding(true);
    QObject::connect(&core, &LibPlayer::Core::mediaPlayerLengthChanged, slider,
                     &LibPlayer::TimeSlider::setLengthMilliseconds);
    waitFor([&] { return core.length() > 0; }, 5000);
    slider->setLengthMilliseconds(core.length());
    QHoverEvent enter(QEvent::HoverEnter, QPoint(5, 3), QPoint(-1, -1));
    QCoreApplication::sendEvent(slider, &enter);
    const double textMs = timeTextMs(*slider);
    runFor(1000);

    const long rssBefore = residentKb();
    auto previews = std::make_unique<PreviewEngine>(&core);
    previews->setCacheFolder(temp.filePath(QStringLiteral("previews")));
    const qint64 length = core.length();

    // Cold: the first hover right after the medium is given (opens the
    // preview player too), then hovers on the opened player.
    qint64 lastTime = -1;
    QImage lastImage;
    int pictures = 0;
    QObject::connect(previews.get(), &PreviewEngine::pictureReady,
                     [&](qint64, qint64 timeMs, const QImage &image) {
                         lastTime = timeMs;
                         lastImage = image;
                         ++pictures;
                     });
    QElapsedTimer timer;
    timer.start();
    previews->setMedium(mrl, QStringLiteral("bench-key"));
    previews->request(length / 3);
    waitFor([&] { return pictures == 1; }, 10000);
    const double firstMs = timer.nsecsElapsed() / 1e6;
    std::vector<double> cold;
    for (int i = 1; i <= 20; ++i) {
        const int before = pictures;
        timer.restart();
        previews->request(qint64(length * ((i * 37) % 100) / 100.0));
        waitFor([&] { return pictures > before; }, 10000);
        cold.push_back(timer.nsecsElapsed() / 1e6);
        runFor(50);
    }

    // Playback alone, then with the pass: CPU and the longest gap between
    // the playback engine's time events.
    qint64 longestGap = 0;
    QElapsedTimer sinceEvent;
    sinceEvent.start();
    QObject::connect(&core, &LibPlayer::Core::mediaPlayerTimeChanged, [&](qint64) {
        longestGap = std::max(longestGap, sinceEvent.restart());
    });
    double cpu = processCpuMs();
    timer.restart();
    runFor(3000);
    const double playbackCores = (processCpuMs() - cpu) / (timer.nsecsElapsed() / 1e6);
    const qint64 playbackGap = std::exchange(longestGap, 0);

    cpu = processCpuMs();
    const double previewCpu = lowPriorityCpuMs();
    timer.restart();
    previews->startPass();
    waitFor([&] { return previews->isPassFinished(); }, 600000);
    const double passMs = timer.nsecsElapsed() / 1e6;
    const double passCores = (processCpuMs() - cpu) / passMs;
    const double previewCores = (lowPriorityCpuMs() - previewCpu) / passMs;
    const qint64 passGap = longestGap;
    const long rssAfter = residentKb();

    const int passPictures = previews->passGrabCount();
    // Cached: the nearest picture and its pixmap, as a hover does.
    std::vector<double> cached;
    for (int i = 0; i < 50; ++i) {
        timer.restart();
        const QPixmap pixmap = QPixmap::fromImage(previews->nearest(length * i / 50).image);
        cached.push_back(timer.nsecsElapsed() / 1e6);
    }

    // Opened again: pictures from the disk cache.
    previews->clearMedium();
    timer.restart();
    previews->setMedium(mrl, QStringLiteral("bench-key"));
    waitFor([&] { return previews->cachedCount() > 0; }, 10000);
    const double reopenMs = timer.nsecsElapsed() / 1e6;
    const int reopened = previews->cachedCount();

    // Quitting in the middle of a pass (another key: the pass starts over).
    previews->setMedium(mrl, QStringLiteral("bench-key-2"));
    previews->startPass();
    waitFor([&] { return previews->passGrabCount() >= 10; }, 30000);
    const int grabbedAtQuit = previews->passGrabCount();
    timer.restart();
    previews.reset();
    const double quitMs = timer.nsecsElapsed() / 1e6;

    std::printf("clip: %lld s, 1280x720 H.264, keyframe every 10 s\n", length / 1000);
    std::printf("hover time text:                 %8.3f ms (median of 50)\n", textMs);
    std::printf("hover to picture, cold, preview player open: %.1f ms (median of 20; %.1f ms after the time text,"
                " target under 300 ms)\n", median(cold), median(cold) - textMs);
    std::printf("  hover at the very moment the medium starts: %.1f ms (opens the preview player first)\n", firstMs);
    std::printf("hover to picture, cached:        %8.1f us (median of 50, nearest + pixmap)\n", median(cached) * 1000);
    std::printf("background pass:                 %8.0f ms for %d pictures\n", passMs, passPictures);
    std::printf("  CPU of the preview threads:    %8.2f cores on average (whole process %.2f; before the pass %.2f)\n",
                previewCores, passCores, playbackCores);
    std::printf("  longest gap between playback time events: %lld ms during the pass, %lld ms before\n",
                passGap, playbackGap);
    std::printf("preview engine memory:           %8ld KiB resident added (pictures in memory: %d)\n",
                rssAfter - rssBefore, reopened);
    std::printf("reopening from the disk cache:   %8.1f ms for %d pictures\n", reopenMs, reopened);
    std::printf("quitting during a pass:          %8.1f ms (after %d of its pictures)\n", quitMs, grabbedAtQuit);
    std::printf("last exact picture: %dx%d at %lld ms\n", lastImage.width(), lastImage.height(), lastTime);
    core.stopPlayback();
    return 0;
}
