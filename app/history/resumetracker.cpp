#include "resumetracker.h"

#include "historystore.h"
#include "mediaidentity.h"
#include "resumepolicy.h"

#include "core.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

namespace {
constexpr int TickMs = 1000;
constexpr int TicksPerSave = ResumePolicy::SaveIntervalMs / TickMs;
} // namespace

ResumeTracker::ResumeTracker(LibPlayer::Core *core, HistoryStore *store, QObject *parent)
    : QObject(parent)
    , core(core)
    , store(store)
    , ticker(new QTimer(this))
{
    using LibPlayer::Core;
    // engine -> tracker
    connect(core, &Core::mediaStarted, this, &ResumeTracker::started);
    connect(core, &Core::mediaStopping, this, &ResumeTracker::stopping);
    connect(core, &Core::mediaPlayerEndReached, this, &ResumeTracker::endReached);
    connect(core, &Core::mediaParseEnd, this, &ResumeTracker::parseEnded);
    connect(core, &Core::mediaPlayerTimeChanged, this, [this](qint64 ms) { lastTime = ms; });
    connect(core, &Core::mediaPlayerLengthChanged, this, [this](qint64 ms) { lastLength = ms; });
    connect(core, &Core::currentTrackAudio, this, [this](int id) { medium.audioTrack = id; });
    connect(core, &Core::currentTrackSubtitle, this, [this](int id) { medium.subtitleTrack = id; });
    connect(core, &Core::currentTitle, this, [this](int id) { medium.title = id; });
    connect(core, &Core::subtitleFileAdded, this, [this](int, const QString &path) { medium.subtitleFile = path; });
    ticker->setInterval(TickMs);
    connect(ticker, &QTimer::timeout, this, &ResumeTracker::tick);
}

ResumeTracker::~ResumeTracker() = default;

void ResumeTracker::started()
{
    medium = Medium();
    medium.serial = core->mediaSerial();
    medium.mrl = core->location();
    lastTime = 0;
    lastLength = 0;
    wasPlaying = true;
    ticksSinceSave = 0;
    const MediaIdentity::Kind kind = MediaIdentity::kindOf(medium.mrl);
    medium.tracked = kind != MediaIdentity::Kind::AudioCd;
    if (!medium.tracked)
        return;
    ticker->start();
    if (std::optional<qint64> at = std::exchange(nextStart, std::nullopt)) {
        medium.applied = true;
        apply(*at);
    }
    const quint64 serial = medium.serial;
    const QPointer<ResumeTracker> self(this);
    switch (kind) {
    case MediaIdentity::Kind::File: {
        medium.path = MediaIdentity::localPath(medium.mrl);
        // The path answers first; the content's identity follows from a pool
        // thread and finds the medium under another name.
        store->findPosition(QString(), medium.path,
                            [self, serial](const std::optional<ResumeEntry> &entry) {
                                if (self)
                                    self->found(serial, entry);
                            });
        const QString path = medium.path;
        QThreadPool::globalInstance()->start([self, serial, path] {
            const QString key = MediaIdentity::fileKey(path);
            QMetaObject::invokeMethod(QCoreApplication::instance(), [self, serial, key] {
                if (self)
                    self->keyKnown(serial, key);
            });
        });
        break;
    }
    case MediaIdentity::Kind::Disc:
        store->findNewest(MediaIdentity::discKey(medium.mrl, 0).chopped(1), [self, serial](const std::optional<ResumeEntry> &entry) {
            if (self)
                self->found(serial, entry);
        });
        break;
    default:
        medium.key = MediaIdentity::urlKey(medium.mrl);
        store->findPosition(medium.key, QString(), [self, serial](const std::optional<ResumeEntry> &entry) {
            if (self)
                self->found(serial, entry);
        });
        break;
    }
}

void ResumeTracker::keyKnown(quint64 serial, const QString &key)
{
    if (serial != medium.serial || key.isEmpty())
        return;
    medium.key = key;
    if (medium.ended) {
        store->removePosition(key);
        return;
    }
    const QPointer<ResumeTracker> self(this);
    store->findPosition(key, QString(), [self, serial](const std::optional<ResumeEntry> &entry) {
        if (self)
            self->found(serial, entry);
    });
}

void ResumeTracker::found(quint64 serial, const std::optional<ResumeEntry> &entry)
{
    if (serial != medium.serial || medium.applied || !entry || !enabled)
        return;
    // Found by path: only while the file there is still the one stored.
    if (entry->key.startsWith(QLatin1String("file:")) && !medium.key.isEmpty() && entry->key != medium.key)
        return;
    if (entry->key.startsWith(QLatin1String("file:"))
        && !entry->key.startsWith(QStringLiteral("file:%1:").arg(QFileInfo(medium.path).size())))
        return;
    if (ResumePolicy::onStop(entry->position, entry->length) != ResumePolicy::Action::Keep)
        return;
    // The user has moved on by the time the answer came: leave it.
    if (lastTime > ResumePolicy::HeadMs)
        return;
    medium.applied = true;
    medium.restore = *entry;
    medium.tracksPending = true;
    if (entry->title >= 0)
        core->changeTitle(entry->title);
    apply(entry->position);
    emit resumed(ResumePolicy::resumedLine(entry->position));
}

void ResumeTracker::apply(qint64 positionMs)
{
    core->seek(positionMs);
    lastTime = positionMs;
}

// The tracks are restored once the engine has announced them.
void ResumeTracker::parseEnded()
{
    if (!medium.tracksPending)
        return;
    medium.tracksPending = false;
    const ResumeEntry &entry = medium.restore;
    if (entry.audioTrack >= 0)
        core->changeAudio(entry.audioTrack);
    if (!entry.subtitleFile.isEmpty() && QFileInfo::exists(entry.subtitleFile))
        core->changeSubtitle(entry.subtitleFile);
    else if (entry.subtitleTrack >= 0)
        core->changeSubtitle(entry.subtitleTrack);
}

QString ResumeTracker::currentKey() const
{
    if (MediaIdentity::kindOf(medium.mrl) == MediaIdentity::Kind::Disc)
        return MediaIdentity::discKey(medium.mrl, std::max(medium.title, 0));
    return medium.key;
}

void ResumeTracker::save(qint64 positionMs, qint64 lengthMs)
{
    if (!medium.tracked || medium.ended || !enabled)
        return;
    QString key = currentKey();
    if (key.isEmpty() && !medium.path.isEmpty()) // the pool has not answered yet: rare, and a small read
        key = medium.key = MediaIdentity::fileKey(medium.path);
    if (key.isEmpty())
        return;
    switch (ResumePolicy::onStop(positionMs, lengthMs)) {
    case ResumePolicy::Action::Leave:
        return;
    case ResumePolicy::Action::Forget:
        store->removePosition(key);
        return;
    case ResumePolicy::Action::Keep:
        break;
    }
    ResumeEntry entry;
    entry.key = key;
    entry.path = medium.path.isEmpty() ? medium.mrl : medium.path;
    entry.position = positionMs;
    entry.length = lengthMs;
    entry.audioTrack = medium.audioTrack;
    entry.subtitleTrack = medium.subtitleTrack;
    entry.subtitleFile = medium.subtitleFile;
    entry.title = medium.title;
    store->savePosition(entry);
}

void ResumeTracker::tick()
{
    if (core->isStopped() || core->mediaSerial() != medium.serial) {
        ticker->stop();
        return;
    }
    const bool playing = core->isPlaying();
    const qint64 time = core->time();
    if (time >= 0)
        lastTime = time;
    const qint64 length = core->length();
    if (length > 0)
        lastLength = length;
    if (playing ? ++ticksSinceSave >= TicksPerSave : wasPlaying) {
        ticksSinceSave = 0;
        save(lastTime, lastLength);
    }
    wasPlaying = playing;
}

void ResumeTracker::stopping()
{
    ticker->stop();
    if (core->mediaSerial() != medium.serial)
        return;
    const qint64 time = core->time();
    save(time >= 0 ? time : lastTime, std::max(core->length(), lastLength));
    medium.tracked = false;
}

void ResumeTracker::saveNow()
{
    if (core->isStopped() || core->mediaSerial() != medium.serial)
        return;
    const qint64 time = core->time();
    save(time >= 0 ? time : lastTime, std::max(core->length(), lastLength));
}

void ResumeTracker::endReached()
{
    if (!medium.tracked)
        return;
    medium.ended = true;
    ticker->stop();
    const QString key = currentKey();
    if (!key.isEmpty())
        store->removePosition(key);
}

void ResumeTracker::startOver()
{
    if (core->isStopped() || !medium.tracked)
        return;
    core->seek(0);
    lastTime = 0;
    const QString key = currentKey();
    if (!key.isEmpty())
        store->removePosition(key);
    emit startedOver();
}
