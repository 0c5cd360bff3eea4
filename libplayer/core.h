#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include "mediainfo.h"

#include <memory>

class QWidget;

struct libvlc_event_t;

namespace LibPlayer {

struct CorePrivate;

// The playback engine and the only user of libvlc: one libvlc instance, at most
// one player at a time. Lives on the GUI thread; every slot and function runs
// there, and none waits for libvlc's state: the play commands return at once
// and report their outcome by signals, pause and resume ask libvlc and move on,
// and stopped players are released on a CoreReleaseThread that nobody waits
// for until the engine itself goes. Signals that libvlc's event callback raises
// are always queued to the GUI thread, so no receiver ever runs inside a
// libvlc call.
//
// The engine alone writes the playback state (state(), stateChanged()); the
// window and everything around it follow it through the signal.
class Core : public QObject
{
    Q_OBJECT

public:
    // Stopped: no player. Opening: a play command's player is starting.
    // Playing, Paused: the medium plays or stands. Ended: the medium is over,
    // its player stays until the next stop or play. Failed: the last start or
    // medium failed (the log tells why).
    enum class State { Stopped, Opening, Playing, Paused, Ended, Failed };
    Q_ENUM(State)

    // Bound of a start: a player that reaches neither playing nor an error
    // nor its end within it has failed. Also the bound of the wait for the
    // release threads when the engine goes.
    static constexpr int StateWaitLimitMs = 10000;

    // Starts loading libvlc (the instance and its plugins) on a worker thread,
    // so that a window built around the engine paints without waiting for it.
    // Every call that needs libvlc waits for the load to finish; loadFinished()
    // tells when it has, successful or not.
    explicit Core(QObject *parent = nullptr);
    ~Core() override;

    // The widget whose native window receives the video of every later play
    // command. Not owned; a widget deleted meanwhile is simply not used.
    void setVideoWidget(QWidget *widget);

    State state() const;
    // No player exists (stopped, or the last start failed and its player is
    // gone).
    bool isStopped() const;
    // A started medium is loaded: playing, paused or ended.
    bool holdsMedia() const;
    bool isLoaded();
    // The running libvlc's version text; needs no engine.
    static QString libvlcVersion();
    QString metadata(const QString &key) const;
    QStringList metadataKeys() const;
    // True when the tracks of the last parse hold no video stream.
    bool noVideo() const;
    // Playback time and length of the current medium in milliseconds, -1
    // without a player (or while libvlc does not know them).
    qint64 time() const;
    qint64 length() const;
    // The state is Playing.
    bool isPlaying() const;
    // The current medium's location (libvlc's MRL), empty without a player.
    QString location() const;
    // What is known now of the current medium (location, length, container,
    // tracks, tags); an empty location without one. Reads what libvlc holds,
    // without waiting: the tracks are complete once the first parse has run.
    MediaInfo mediaInfo() const;
    // Number of engines that exist in the process.
    static int liveEngines();
    // The volume the current player reports, -1 without a player.
    int playerVolume() const;
    // Changes with every player made and every player released. A receiver
    // that holds back a signal of the engine compares the serial from then
    // with the current one to learn whether the media has changed meanwhile.
    quint64 mediaSerial() const;
    // Players handed to release threads that have not finished yet.
    int releasesPending() const;
    // The current player, or a player a release thread still holds, was
    // given widget's native window for its video: the widget must live on.
    bool drawsInto(const QWidget *widget) const;

    // Playback speed of the current player (1.0 without one); libvlc keeps
    // the pitch while the speed changes. Every new player starts at 1.0.
    double rate() const;
    // Duration of one picture of the current video track in milliseconds
    // (from its frame rate; 40 when no rate is known).
    qint64 frameDurationMs() const;
    // Audio and subtitle delays of the current player in milliseconds; every
    // new player starts with none.
    qint64 audioDelay() const;
    qint64 subtitleDelay() const;
    // Picture size of the current video, empty without one.
    QSize videoSize() const;
    // Starts writing the current picture at its own size as a PNG file at
    // path; snapshotFinished() reports the outcome. False at once, with no
    // report, without a player or while an earlier snapshot is under way.
    // Never waits for libvlc: a video output still starting or a paused seek
    // not shown yet is waited for by a timer, and libvlc's snapshot (which
    // waits for the next picture shown) runs on a thread of its own.
    bool requestSnapshot(const QString &path);
    bool snapshotPending() const;
    // Chapters of the current title, in order; -1 for the current one when
    // there are none or no player.
    struct Chapter
    {
        qint64 startMs = 0;
        QString name;
    };
    QList<Chapter> chapters() const;
    int chapter() const;

    // libvlc's event callback. It only queues signals to the engine's thread,
    // and does nothing once no engine exists any more.
    static void handleEvent(const libvlc_event_t *event, void *engine);

signals:
    // Queued from the loading thread once libvlc is loaded (or failed to).
    void loadFinished();
    void messageError(const QString &message);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);
    void currentTitle(int id);
    void currentTrackAudio(int id);
    void currentTrackSubtitle(int id);
    void currentTrackVideo(int id);
    void subtitleFileAdded(int id, const QString &path);
    void displayRatioChanged(uint width, uint height);
    void mediaParseBegin();
    void mediaParseEnd();
    void mediaTitle(int id, const QString &name);
    void mediaTrackAudio(int id, const QString &name);
    void mediaTrackSubtitle(int id, const QString &name);
    void mediaTrackVideo(int id, const QString &name);
    // The medium has ended (or failed) after audio or video played.
    void mediaPlayerEndReached();
    // The medium has ended or failed without any audio played or picture
    // decoded: a file that only looks like media. Comes instead of
    // mediaPlayerEndReached; the player stays until stopPlayback().
    void mediaPlayerFailed();
    // A play command's player has started (its location() is set); the
    // state is Playing, or Ended for a medium that ended at once.
    void mediaStarted();
    // A play command's medium could not be opened or started (after its
    // error lines); the state is Failed and no player is left. A start that
    // a newer command or a stop replaced reports neither.
    void mediaOpenFailed();
    void stateChanged(LibPlayer::Core::State state);
    // A player handed to a release thread has been released: its video
    // output no longer draws into the window it was given.
    void playerReleased();
    // stopPlayback() is about to release the current player: time() and
    // location() still answer for it.
    void mediaStopping();
    void mediaPlayerLengthChanged(qint64 milliseconds);
    void mediaPlayerPositionChanged(double position);
    void mediaPlayerTimeChanged(qint64 milliseconds);
    // The snapshot requested for path is over: saved, or not (no picture
    // came within its bounds, the medium went meanwhile, or the file could
    // not be written).
    void snapshotFinished(const QString &path, bool saved);

public slots:
    void changeAudio(int id);
    void changeCdaTrack(int track);
    void changeSubtitle(int id);
    // Selects the track of a subtitle file, adding the file first when it
    // is new: its track comes as subtitleFileAdded() and
    // currentTrackSubtitle() once libvlc shows it (within a second; else a
    // warning). Files asked for meanwhile wait their turn.
    void changeSubtitle(const QString &path);
    void changeTitle(int title);
    void changeVolume(int volume);
    // Act on the current player only; nothing without one.
    void changeRate(double rate);
    void changeAudioDelay(qint64 ms);
    void changeSubtitleDelay(qint64 ms);
    // Moves to the start of chapter index (from 0) of the current title.
    void changeChapter(int index);
    void parseMedia();
    // Pauses a playing medium; nothing otherwise.
    void pausePlayback();
    // The three play commands end what plays and start the new medium; they
    // return at once. True: the start is under way (Opening), its outcome
    // follows as mediaStarted() or mediaOpenFailed(). False: refused at once,
    // after its error line and mediaOpenFailed(); or a disc kind outside
    // 0..3, which reports and changes nothing.
    bool playDisc(int kind, const QString &path);
    // path: a local path, or a "file://" location (which carries names that
    // are not UTF-8 byte for byte).
    bool playFile(const QString &path);
    bool playUrl(const QString &url);
    // Resumes a paused medium; nothing otherwise.
    void resumePlayback();
    void seek(qint64 ms);
    void stopPlayback();

private:
    struct OpenRequest;
    // Ends what plays (after the unsafe-stop warning, when the request asks
    // for it), makes a player from the pending media and starts it; the
    // outcome arrives through libvlc's events or the start bound.
    bool launch(const OpenRequest &request);
    // The start of the current request reached playing or its end (true), or
    // failed (false).
    void finishOpen(bool started);
    // Hands the current player to a release thread; returns at once.
    void releasePlayer();
    void attachEvents();
    void detachEvents();
    void bindVideoWindow(bool bind);
    void setState(State next);
    // The input of the current player is over: reports its end, or its
    // failure when nothing played.
    void finishPlayback();
    // Forgets everything learnt about the streams of the previous player.
    void resetTracks();
    // Follows a seek while paused: makes a seek that waited and reports the
    // time libvlc has reached.
    void reportPausedTime();
    void makeQueuedSeek();
    bool firstPictureShown() const;
    // Steps of a snapshot: waits (by its timer) for the picture to take,
    // hands the take to its thread, and reports.
    void prepareSnapshot();
    // Hands the first queued subtitle file to libvlc; then looks for its
    // track.
    void addSubtitleFile();
    void checkSubtitleFile();
    void startSnapshotThread();
    void finishSnapshot(bool saved);

    friend struct CorePrivate;
    friend class PreviewEngine; // shares the libvlc instance
    std::unique_ptr<CorePrivate> d;
};

} // namespace LibPlayer
