#include "previewengine.h"

#include "core.h"
#include "core_p.h"
#include "previewgrabber.h"
#include "threadpriority.h"

#include <QMetaObject>

#include <vlc/vlc.h>

#include <algorithm>

namespace LibPlayer {

namespace {

// Pause between two pass steps: at least MinStepGap, and half again the time
// the last grab took, which keeps the pass below about 40 % of one core.
constexpr auto MinStepGap = std::chrono::milliseconds(25);
constexpr int GapPerGrabPercent = 150;

} // namespace

struct PreviewEngine::Work
{
    std::unique_ptr<PreviewGrabber> grabber;
    Order medium;
    bool open = false;
    QVector<qint64> passTimes;
    int passNext = 0;
    qint64 toleranceMs = 0; // a cached picture this close stands for a step
    bool passDone = false;
    // What goes to disk: the pictures loaded and those of the pass; shares
    // its images with the cache the GUI thread reads.
    PreviewCache pictures;
    bool changed = false; // pictures not yet on disk
};

PreviewEngine::PreviewEngine(Core *core, QObject *parent)
    : QObject(parent)
    , core(core)
    , cacheFolder(PreviewStore::defaultFolder())
    , work(std::make_unique<Work>())
{
    worker = std::thread([this] { run(); });
}

PreviewEngine::~PreviewEngine()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    worker.join();
    work.reset();
    if (instance)
        libvlc_release(instance);
}

void PreviewEngine::setCacheFolder(const QString &folder)
{
    const std::lock_guard<std::mutex> lock(mutex);
    cacheFolder = folder;
}

void PreviewEngine::setMedium(const QString &mrl, const QString &key)
{
    if (!instance && core && !mrl.isEmpty()) {
        instance = core->d->libvlcInstance();
        if (instance)
            libvlc_retain(instance);
    }
    if (!instance)
        return;
    const quint64 next = serial.load() + 1;
    serial.store(next);
    mrlShown = mrl;
    requestGrabs.store(0);
    passGrabs.store(0);
    passFinishedFlag.store(false);
    {
        const std::lock_guard<std::mutex> lock(cacheMutex);
        cache.clear();
        cacheSerial = next;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex);
        order = {next, mrl, key};
        orderPending = true;
        grabPending = false;
        passWanted = false;
    }
    wake.notify_all();
}

void PreviewEngine::clearMedium()
{
    if (hasMedium())
        setMedium(QString(), QString());
}

void PreviewEngine::request(qint64 ms)
{
    if (!hasMedium())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        grabPending = true;
        grabMs = ms;
    }
    wake.notify_all();
}

void PreviewEngine::startPass()
{
    if (!hasMedium())
        return;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        passWanted = true;
    }
    wake.notify_all();
}

void PreviewEngine::holdPass(int ms)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        holdUntil = std::max(holdUntil, Clock::now() + std::chrono::milliseconds(ms));
    }
    wake.notify_all();
}

PreviewCache::Picture PreviewEngine::nearest(qint64 ms) const
{
    const std::lock_guard<std::mutex> lock(cacheMutex);
    return cache.nearest(ms);
}

int PreviewEngine::cachedCount() const
{
    const std::lock_guard<std::mutex> lock(cacheMutex);
    return cache.count();
}

bool PreviewEngine::interrupted() const
{
    const std::lock_guard<std::mutex> lock(mutex);
    return stopping || orderPending;
}

template<typename Function>
void PreviewEngine::deliver(quint64 forSerial, Function function)
{
    // Queued to this object: a call still waiting when it is deleted is dropped.
    QMetaObject::invokeMethod(
        this,
        [this, forSerial, function] {
            if (serial.load() == forSerial)
                function();
        },
        Qt::QueuedConnection);
}

void PreviewEngine::run()
{
    // Also lowers the threads libvlc starts from here for the preview player.
    Platform::lowerCurrentThreadPriority();
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        if (stopping)
            break;
        if (orderPending) {
            const Order next = order;
            orderPending = false;
            lock.unlock();
            openMedium(next);
            lock.lock();
            continue;
        }
        if (grabPending) {
            const qint64 ms = grabMs;
            grabPending = false;
            lock.unlock();
            grabRequested(ms);
            lock.lock();
            continue;
        }
        if (passWanted && work->open && !work->passDone) {
            const Clock::time_point due = std::max(holdUntil, nextStepAt);
            if (Clock::now() >= due) {
                lock.unlock();
                passStep();
                lock.lock();
            } else {
                wake.wait_until(lock, due);
            }
            continue;
        }
        wake.wait(lock);
    }
    lock.unlock();
    // Quitting: what the pass found so far is not written (it would hold the
    // quit up); the player goes on the release thread.
    work->grabber.reset();
}

void PreviewEngine::openMedium(const Order &next)
{
    saveIfChanged();
    Work &w = *work;
    w.medium = next;
    w.open = false;
    w.passTimes.clear();
    w.passNext = 0;
    w.passDone = false;
    w.pictures.clear();
    w.changed = false;
    if (next.mrl.isEmpty()) {
        if (w.grabber)
            w.grabber->close();
        return;
    }

    QString folder;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        folder = cacheFolder;
    }
    PreviewCache stored;
    if (!next.key.isEmpty() && PreviewStore::load(folder, next.key, stored)) {
        w.pictures = stored;
        {
            const std::lock_guard<std::mutex> lock(cacheMutex);
            if (cacheSerial == next.serial)
                cache = stored;
        }
        deliver(next.serial, [this] { emit cacheChanged(); });
    }

    if (!w.grabber)
        w.grabber = std::make_unique<PreviewGrabber>(instance, [this] { return interrupted(); });
    switch (w.grabber->open(next.mrl)) {
    case PreviewGrabber::Open::Ok:
        w.open = true;
        w.passTimes = previewPassTimes(w.grabber->length());
        if (!w.passTimes.isEmpty())
            w.toleranceMs = w.grabber->length() / w.passTimes.size() / 4;
        break;
    case PreviewGrabber::Open::NoVideo:
        deliver(next.serial, [this] { emit unavailable(); });
        break;
    case PreviewGrabber::Open::Failed:
        deliver(next.serial, [this, shown = next.mrl.toHtmlEscaped()] {
            emit messageWarning(tr("[Previews] No seek-bar pictures for %1: it does not open as a video").arg(shown));
            emit unavailable();
        });
        break;
    case PreviewGrabber::Open::Interrupted:
        break;
    }
}

void PreviewEngine::grabRequested(qint64 ms)
{
    Work &w = *work;
    if (!w.open)
        return;
    const PreviewCache::Picture picture = w.grabber->grab(ms);
    ++requestGrabs;
    {
        // A pass step waits its gap after a grab too.
        const std::lock_guard<std::mutex> lock(mutex);
        nextStepAt = std::max(nextStepAt, Clock::now() + MinStepGap);
    }
    // Not cached: the pass alone fills the cache, which keeps it in bounds.
    if (picture.isNull())
        return;
    deliver(w.medium.serial, [this, ms, picture] { emit pictureReady(ms, picture.timeMs, picture.image); });
}

void PreviewEngine::passStep()
{
    Work &w = *work;
    while (w.passNext < w.passTimes.size() && w.pictures.covers(w.passTimes.at(w.passNext), w.toleranceMs))
        ++w.passNext;
    if (w.passNext < w.passTimes.size()) {
        const qint64 ms = w.passTimes.at(w.passNext++);
        const Clock::time_point start = Clock::now();
        const PreviewCache::Picture picture = w.grabber->grab(ms);
        ++passGrabs;
        const auto spent = Clock::now() - start;
        {
            const std::lock_guard<std::mutex> lock(mutex);
            nextStepAt = Clock::now() + std::max<Clock::duration>(MinStepGap, spent * GapPerGrabPercent / 100);
        }
        if (!picture.isNull() && w.pictures.insert(ms, picture.image)) {
            w.changed = true;
            {
                const std::lock_guard<std::mutex> lock(cacheMutex);
                if (cacheSerial == w.medium.serial)
                    cache.insert(ms, picture.image);
            }
            deliver(w.medium.serial, [this] { emit cacheChanged(); });
        }
        if (w.passNext < w.passTimes.size())
            return;
    }
    w.passDone = true;
    saveIfChanged();
    passFinishedFlag.store(true);
    deliver(w.medium.serial, [this] { emit passFinished(); });
}

void PreviewEngine::saveIfChanged()
{
    Work &w = *work;
    if (!w.changed || w.medium.key.isEmpty())
        return;
    w.changed = false;
    QString folder;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (stopping) // quitting does not wait for the disk
            return;
        folder = cacheFolder;
    }
    PreviewStore::save(folder, w.medium.key, w.pictures);
}

} // namespace LibPlayer
