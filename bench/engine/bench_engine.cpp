// Plays the sample clips repeatedly through LibPlayer::Core and, interleaved in
// the same run, through a bare libvlc loop making the same libvlc calls, and
// prints the medians of: the play command's duration, the stop's duration and
// the CPU time the calling thread spends in each (almost all of it in the
// state waits).
#include "core.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <vlc/vlc.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Sample
{
    double playMs = 0;
    double playCpuMs = 0;
    double stopMs = 0;
    double stopCpuMs = 0;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void letItPlay(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

Sample runCore(LibPlayer::Core &core, const QString &path)
{
    Sample s;
    QElapsedTimer timer;
    double cpu = threadCpuMs();
    timer.start();
    if (!core.playFile(path))
        std::fprintf(stderr, "core: cannot play %s\n", qPrintable(path));
    // The command returns at once; the medium plays once the state says so.
    while (core.state() == LibPlayer::Core::State::Opening)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    s.playMs = timer.nsecsElapsed() / 1e6;
    s.playCpuMs = threadCpuMs() - cpu;
    letItPlay(300);
    cpu = threadCpuMs();
    timer.restart();
    core.stopPlayback();
    s.stopMs = timer.nsecsElapsed() / 1e6;
    s.stopCpuMs = threadCpuMs() - cpu;
    return s;
}

// The same libvlc calls as the engine, without the engine: create, bind,
// play, poll the state with a short sleep; stop and release in place.
Sample runBare(libvlc_instance_t *instance, QWidget &video, const QString &path)
{
    Sample s;
    QElapsedTimer timer;
    double cpu = threadCpuMs();
    timer.start();
    libvlc_media_t *media = libvlc_media_new_path(instance, path.toUtf8().constData());
    libvlc_media_player_t *player = libvlc_media_player_new_from_media(media);
    libvlc_media_release(media);
    libvlc_video_set_mouse_input(player, false);
    libvlc_video_set_key_input(player, false);
    libvlc_media_player_set_xwindow(player, static_cast<uint32_t>(video.winId()));
    libvlc_media_player_play(player);
    for (;;) {
        const libvlc_state_t state = libvlc_media_player_get_state(player);
        if (state == libvlc_Playing || state == libvlc_Error || state == libvlc_Ended)
            break;
        QThread::msleep(5);
    }
    libvlc_audio_set_volume(player, 100);
    s.playMs = timer.nsecsElapsed() / 1e6;
    s.playCpuMs = threadCpuMs() - cpu;
    letItPlay(300);
    cpu = threadCpuMs();
    timer.restart();
    libvlc_media_player_set_xwindow(player, 0);
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    s.stopMs = timer.nsecsElapsed() / 1e6;
    s.stopCpuMs = threadCpuMs() - cpu;
    return s;
}

void print(const char *what, const std::vector<Sample> &core, const std::vector<Sample> &bare)
{
    const auto pick = [](const std::vector<Sample> &samples, double Sample::*field) {
        std::vector<double> values;
        for (const Sample &s : samples)
            values.push_back(s.*field);
        return median(values);
    };
    const struct
    {
        const char *name;
        double Sample::*field;
    } rows[] = {{"play command (ms)", &Sample::playMs},
                {"play, thread CPU (ms)", &Sample::playCpuMs},
                {"stop (ms)", &Sample::stopMs},
                {"stop, thread CPU (ms)", &Sample::stopCpuMs}};
    for (const auto &row : rows) {
        const double c = pick(core, row.field);
        const double b = pick(bare, row.field);
        std::printf("%-12s %-24s core %8.2f   bare %8.2f   ratio %6.2f\n", what, row.name, c, b, b > 0 ? c / b : 0.0);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // The tests' silent audio device, unless the caller chose one: without a
    // working audio output libvlc logs thousands of errors per run and the
    // figures measure those.
    if (!qEnvironmentVariableIsSet("ALSA_CONFIG_PATH"))
        qputenv("ALSA_CONFIG_PATH", TARN_MEDIA_DIR "/alsa-null.conf");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;

    QWidget video;
    video.resize(320, 240);
    video.show();
    letItPlay(200);

    LibPlayer::Core core;
    core.setVideoWidget(&video);
    libvlc_instance_t *instance = libvlc_new(0, nullptr);
    if (!core.isLoaded() || !instance) {
        std::fprintf(stderr, "libvlc failed to load\n");
        return 1;
    }

    const QStringList clips{QStringLiteral(TARN_SAMPLE_DIR "/sample.mp4"), QStringLiteral(TARN_MEDIA_DIR "/av.mkv"),
                            QStringLiteral(TARN_MEDIA_DIR "/clip.ts"), QStringLiteral(TARN_MEDIA_DIR "/audio.mp3")};
    std::vector<Sample> allCore;
    std::vector<Sample> allBare;
    std::printf("libvlc %s, %d rounds per clip, medians\n", libvlc_get_version(), rounds);
    for (const QString &clip : clips) {
        std::vector<Sample> coreSamples;
        std::vector<Sample> bareSamples;
        for (int i = 0; i < rounds; ++i) {
            coreSamples.push_back(runCore(core, clip));
            bareSamples.push_back(runBare(instance, video, clip));
        }
        print(qPrintable(clip.section(QLatin1Char('/'), -1)), coreSamples, bareSamples);
        allCore.insert(allCore.end(), coreSamples.begin(), coreSamples.end());
        allBare.insert(allBare.end(), bareSamples.begin(), bareSamples.end());
    }
    print("all clips", allCore, allBare);
    libvlc_release(instance);
    return 0;
}
