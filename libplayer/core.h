#pragma once

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSize>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "mediainfo.h"
#include "mediatrack.h"

#include <future>
#include <initializer_list>
#include <memory>

class QTimer;
class QWidget;

struct libvlc_event_t;
struct libvlc_instance_t;
struct libvlc_media_t;
struct libvlc_media_player_t;

namespace LibPlayer {

// The playback engine and the only user of libvlc: one libvlc instance, at most
// one player at a time. Lives on the GUI thread; every slot and function runs
// there. The play, pause, resume and CD-track commands block while they wait
// for libvlc's state; stopPlayback() releases the player on a CoreReleaseThread.
// Signals that libvlc's event callback raises are always queued to the GUI
// thread, so no receiver ever runs inside a libvlc call.
class Core : public QObject
{
    Q_OBJECT

public:
    // Upper bound of every wait for a libvlc state; an expired wait is a failure.
    static constexpr int StateWaitLimitMs = 10000;
    // Sleep between two polls of a libvlc state.
    static constexpr int StatePollMs = 5;

    // Starts loading libvlc (the instance and its plugins) on a worker thread,
    // so that a window built around the engine paints without waiting for it.
    // Every call that needs libvlc waits for the load to finish; loadFinished()
    // tells when it has, successful or not.
    explicit Core(QObject *parent = nullptr);
    ~Core() override;

    // The widget whose native window receives the video of every later play
    // command. Not owned; a widget deleted meanwhile is simply not used.
    void setVideoWidget(QWidget *widget);

    bool isStopped() const;
    // A player exists and its start did not fail (a player whose start
    // failed stays until the next command, holding no medium).
    bool holdsMedia() const { return player && !startAbandoned; }
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
    // The current player is playing (not paused, stopped or ended).
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
    quint64 mediaSerial() const { return playerSerial; }

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
    // Writes the current picture at its own size as a PNG file; false
    // without a player or a picture, or when the file could not be written.
    // Waits for the video output (up to about half a second).
    bool takeSnapshot(const QString &path);
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
    // A play command has started a new player (its location() is set).
    void mediaStarted();
    // stopPlayback() is about to release the current player: time() and
    // location() still answer for it.
    void mediaStopping();
    void mediaPlayerLengthChanged(qint64 milliseconds);
    void mediaPlayerPositionChanged(double position);
    void mediaPlayerTimeChanged(qint64 milliseconds);

public slots:
    void changeAudio(int id);
    void changeCdaTrack(int track);
    void changeSubtitle(int id);
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
    void pausePlayback();
    bool playDisc(int kind, const QString &path);
    // path: a local path, or a "file://" location (which carries names that
    // are not UTF-8 byte for byte).
    bool playFile(const QString &path);
    bool playUrl(const QString &url);
    void resumePlayback();
    void seek(qint64 ms);
    void stopPlayback();

private:
    friend class PreviewEngine; // shares the libvlc instance
    // Polls the player's state until it is one of endStates; returns that
    // state, or -1 (after an error line) when StateWaitLimitMs expires.
    int waitForState(std::initializer_list<int> endStates);
    // Starts the player and waits for Playing, Error or Ended; a start that
    // failed to open the media yields libvlc_Error even when libvlc has
    // already moved on to Ended.
    int startAndWait();
    enum class Launch { CreateFailed, PlayFailed, Started };
    // Makes media (null when libvlc refused it) the pending media, releasing
    // an earlier one; returns whether there is one.
    bool setPendingMedia(libvlc_media_t *media);
    // Replaces a current player (after the unsafe-stop warning, when asked)
    // by one made from the pending media, and starts it.
    Launch launchPendingMedia(bool warnBeforeStop);
    // Creates `player` from `pendingMedia` (released afterwards), turns
    // libvlc's own mouse and key handling off, binds the video window and
    // attaches the event callback.
    bool createPlayer(bool bindWindow);
    // After a start that failed: the player's events are no longer wanted.
    void abandonStart();
    void bindVideoWindow(bool bind);
    // The instance, once the load started by the constructor has finished;
    // null when libvlc failed to load.
    libvlc_instance_t *libvlcInstance();
    void attachEvents();
    void detachEvents();
    void releasePlayer();
    void clearKnownTracks();
    // Forgets everything learnt about the streams of the previous player.
    void resetTracks();
    // Keeps the picture sizes the track array reports now: the first parse of
    // an MPEG-TS media resets them to 0x0 for the rest of its playback.
    void rememberVideoRecords(libvlc_media_t *media);
    // The input of the current player is over: reports its end, or its
    // failure when nothing played.
    void finishPlayback();
    // What to do after a start that reached Playing or Ended.
    void startedPlayback(bool clearSubtitleFiles);

    bool noVideoTracks = false;
    int volume = 100;
    QHash<QString, QString> metadataValues;
    QTimer *parseTimer = nullptr;
    QList<MediaTrack *> knownTracks;
    QMap<int, QString> subtitleFiles;
    QPointer<QWidget> videoWidget;
    libvlc_instance_t *instance = nullptr;
    std::future<libvlc_instance_t *> instanceLoad;
    libvlc_media_t *pendingMedia = nullptr;
    libvlc_media_player_t *player = nullptr;
    bool startAbandoned = false; // the start of `player` failed
    // Picture size, sample aspect and frame rate per video track id, as last
    // reported with a width; cleared with knownTracks by every play.
    QHash<int, MediaTrack::VideoRecord> videoRecords;
    // Full passes run only because the first video track's width was 0;
    // bounded so that a stream whose size never shows stops being re-parsed.
    int zeroWidthPasses = 0;
    // Identity of the current player for the event callback: libvlc passes
    // it back with every event, and an event whose tag is no longer the
    // engine's current one (a player already released or replaced) is
    // dropped on the GUI thread. Lives until the callback is detached.
    struct EventTag
    {
        Core *core;
        quint64 serial;
    };
    std::unique_ptr<EventTag> eventTag;
    quint64 playerSerial = 0;
};

} // namespace LibPlayer
