#pragma once

#include "previewcache.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

struct libvlc_instance_t;

namespace LibPlayer {

class Core;

// Preview pictures of the medium the window plays, for the seek bar: a second
// libvlc player on the engine's instance (see PreviewGrabber) that works on a
// thread of its own at a low priority, so nothing here blocks the GUI
// thread.
//
// - request(ms) grabs the picture at or before ms; requests coalesce: only
//   the latest one waiting is worked on.
// - startPass() fills the cache in the background at previewPassTimes()
//   steps, throttled to well under one core, held back by holdPass() while
//   the playback engine seeks, and interrupted by every request.
// - The cache (nearest()) lives in memory for the current medium and on
//   disk per medium key (PreviewStore): a medium opened again has its
//   pictures without a pass.
//
// A medium that cannot be opened or has no video gives no pictures:
// unavailable() once, and at most one warning line per medium. The API is
// for the GUI thread; signals arrive there. Destruction stops the worker at
// once, mid-pass or not.
class PreviewEngine : public QObject
{
    Q_OBJECT

public:
    // core gives the libvlc instance once loaded (it is asked for at the
    // first medium); it may go before this object.
    explicit PreviewEngine(Core *core, QObject *parent = nullptr);
    ~PreviewEngine() override;

    // Folder of the disk cache; PreviewStore::defaultFolder() unless set.
    void setCacheFolder(const QString &folder);
    // A new medium (a libvlc location) and its key for the disk cache (none
    // when empty). Forgets the previous medium and its pictures.
    void setMedium(const QString &mrl, const QString &key);
    void clearMedium();
    bool hasMedium() const { return serial.load() != 0 && !mrlShown.isEmpty(); }

    void request(qint64 ms);
    void startPass();
    // No pass step for the next ms milliseconds.
    void holdPass(int ms);

    PreviewCache::Picture nearest(qint64 ms) const;
    int cachedCount() const;
    // Grabs made for the current medium's requests and pass steps.
    int requestGrabCount() const { return requestGrabs.load(); }
    int passGrabCount() const { return passGrabs.load(); }
    bool isPassFinished() const { return passFinishedFlag.load(); }

signals:
    // The picture of request(requestedMs), at timeMs.
    void pictureReady(qint64 requestedMs, qint64 timeMs, const QImage &image);
    // Pictures came from the disk cache or a pass step.
    void cacheChanged();
    void passFinished();
    void unavailable();
    void messageWarning(const QString &message);

private:
    using Clock = std::chrono::steady_clock;
    struct Order
    {
        quint64 serial = 0;
        QString mrl;
        QString key; // empty: no disk cache
    };

    void run();
    void openMedium(const Order &order);
    void grabRequested(qint64 ms);
    void passStep();
    void saveIfChanged();
    // Whether the worker should drop what it waits for: quitting or a new
    // medium ordered.
    bool interrupted() const;
    // Queues a call to the GUI thread, dropped when the medium changed since.
    template<typename Function>
    void deliver(quint64 forSerial, Function function);

    Core *core;
    QString cacheFolder;
    QString mrlShown; // GUI thread

    // Shared with the worker; guarded by `mutex`.
    mutable std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    bool orderPending = false;
    Order order;
    bool grabPending = false;
    qint64 grabMs = 0;
    bool passWanted = false;
    Clock::time_point holdUntil;
    Clock::time_point nextStepAt;

    // The current medium's pictures; guarded by `cacheMutex`.
    mutable std::mutex cacheMutex;
    PreviewCache cache;
    quint64 cacheSerial = 0;

    std::atomic<quint64> serial{0};
    std::atomic_int requestGrabs{0};
    std::atomic_int passGrabs{0};
    std::atomic_bool passFinishedFlag{false};

    // Set on the GUI thread before the first order; the engine's instance,
    // with a reference of ours.
    libvlc_instance_t *instance = nullptr;
    // Worker thread only.
    struct Work;
    std::unique_ptr<Work> work;
    std::thread worker;
};

} // namespace LibPlayer
