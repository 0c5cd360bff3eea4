#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QAction;
class QImage;
class QTimer;

namespace LibPlayer {
class Core;
class PreviewEngine;
class TimeSlider;
} // namespace LibPlayer

// Pictures above the time slider's hover label for local video files (not
// audio files, disc images, discs or network streams): the nearest cached
// picture at once, then the exact one once the pointer has rested 150 ms (at
// once when nothing is cached yet). The background pass starts after the
// medium has played 2 s and waits while the playback engine seeks. The
// pictures come from a PreviewEngine; the disk cache is keyed by the
// history's identity of the file (mediaidentity.h), computed on a pool
// thread.
//
// The checkable option "Seek-bar previews" (action(), placed by the window)
// turns all of it on and off; kept as "Interface/seek-bar previews", on by
// default. GUI thread only.
class SeekPreviews : public QObject
{
    Q_OBJECT

public:
    SeekPreviews(LibPlayer::Core *core, LibPlayer::TimeSlider *slider, QObject *parent);
    ~SeekPreviews() override;

    QAction *action() const { return toggle; }
    LibPlayer::PreviewEngine *engine() const { return previews; }
    // Whether a medium at this location gets previews: a local file that is
    // not known as audio or as a disc image.
    static bool wantsPreviews(const QString &mrl);

    // The playback engine was asked to seek: the pass pauses for a while.
    void seekRequested();

signals:
    void messageWarning(const QString &message);

private:
    void setEnabled(bool on);
    void mediaStarted();
    void mediaStopping();
    void keyKnown(quint64 mediaSerial, const QString &mrl, const QString &key);
    void timeChanged(qint64 ms);
    void hovered(qint64 ms);
    void hoverEnded();
    void ask(qint64 ms);
    void pictureReady(qint64 requestedMs, qint64 timeMs, const QImage &image);

    LibPlayer::Core *core;
    LibPlayer::TimeSlider *slider;
    LibPlayer::PreviewEngine *previews = nullptr;
    QAction *toggle = nullptr;
    QTimer *restTimer = nullptr;
    bool enabled = true;
    bool active = false;     // the engine has the current medium
    bool passAsked = false;
    bool hovering = false;
    qint64 hoverMs = -1;
    qint64 askedMs = -1;
    QElapsedTimer sinceStart; // playback of the current medium
    QElapsedTimer sinceTime;  // the last time change
    qint64 lastTimeMs = -1;
};
