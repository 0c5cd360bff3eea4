#include "seekpreviews.h"

#include "mediaformats.h"
#include "mediaidentity.h"
#include "playersettingskeys.h"

#include "core.h"
#include "previewengine.h"
#include "timeslider.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPointer>
#include <QSettings>
#include <QThreadPool>
#include <QTimer>

#include <cstdlib>

namespace {

constexpr int RestMs = 150;
constexpr qint64 PassAfterPlayingMs = 2000;
// The pass stays away from the disk and the decoder this long after a seek.
constexpr int SeekHoldMs = 1500;
// A time that differs this much from the one expected is a seek.
constexpr qint64 JumpMs = 2000;

} // namespace

SeekPreviews::SeekPreviews(LibPlayer::Core *core, LibPlayer::TimeSlider *slider, QObject *parent)
    : QObject(parent)
    , core(core)
    , slider(slider)
    , previews(new LibPlayer::PreviewEngine(core, this))
    , toggle(new QAction(tr("Seek-bar previews"), this))
    , restTimer(new QTimer(this))
{
    enabled = QSettings().value(PlayerSettingsKey::seekBarPreviews, true).toBool();
    toggle->setCheckable(true);
    toggle->setChecked(enabled);
    restTimer->setSingleShot(true);
    restTimer->setInterval(RestMs);

    using LibPlayer::Core;
    using LibPlayer::PreviewEngine;
    using LibPlayer::TimeSlider;
    // option -> settings and previews
    connect(toggle, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(PlayerSettingsKey::seekBarPreviews, on);
        setEnabled(on);
    });
    // engine -> medium, pass start and seek holds
    connect(core, &Core::mediaStarted, this, &SeekPreviews::mediaStarted);
    connect(core, &Core::mediaStopping, this, &SeekPreviews::mediaStopping);
    connect(core, &Core::mediaPlayerTimeChanged, this, &SeekPreviews::timeChanged);
    // slider hover -> pictures -> slider
    connect(slider, &TimeSlider::hoverTimeChanged, this, &SeekPreviews::hovered);
    connect(slider, &TimeSlider::hoverEnded, this, &SeekPreviews::hoverEnded);
    connect(restTimer, &QTimer::timeout, this, [this] { ask(hoverMs); });
    connect(previews, &PreviewEngine::pictureReady, this, &SeekPreviews::pictureReady);
    // a medium without pictures: hovering shows the time alone
    connect(previews, &PreviewEngine::unavailable, this, [this] {
        active = false;
        this->slider->clearPreview();
    });
    connect(previews, &PreviewEngine::messageWarning, this, &SeekPreviews::messageWarning);
}

SeekPreviews::~SeekPreviews() = default;

bool SeekPreviews::wantsPreviews(const QString &mrl)
{
    if (MediaIdentity::kindOf(mrl) != MediaIdentity::Kind::File)
        return false;
    const QString path = MediaIdentity::localPath(mrl);
    if (QFileInfo(path).suffix().compare(QLatin1String("iso"), Qt::CaseInsensitive) == 0)
        return false;
    const MediaFormats::Kind kind = MediaFormats::classifyFile(path);
    return kind == MediaFormats::Kind::Video || kind == MediaFormats::Kind::Unknown;
}

void SeekPreviews::setEnabled(bool on)
{
    enabled = on;
    if (!on) {
        active = false;
        restTimer->stop();
        slider->clearPreview();
        previews->clearMedium();
    } else if (core->holdsMedia()) {
        mediaStarted();
    }
}

void SeekPreviews::mediaStarted()
{
    active = false;
    passAsked = false;
    lastTimeMs = -1;
    sinceStart.start();
    const QString mrl = core->location();
    if (!enabled || !wantsPreviews(mrl)) {
        previews->clearMedium();
        return;
    }
    const quint64 serial = core->mediaSerial();
    const QString path = MediaIdentity::localPath(mrl);
    const QPointer<SeekPreviews> self(this);
    // The identity reads the file: off the GUI thread.
    QThreadPool::globalInstance()->start([self, serial, mrl, path] {
        const QString key = MediaIdentity::fileKey(path);
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, serial, mrl, key] {
            if (self)
                self->keyKnown(serial, mrl, key);
        });
    });
}

void SeekPreviews::keyKnown(quint64 mediaSerial, const QString &mrl, const QString &key)
{
    if (!enabled || mediaSerial != core->mediaSerial())
        return;
    previews->setMedium(mrl, key);
    active = previews->hasMedium();
}

void SeekPreviews::mediaStopping()
{
    active = false;
    restTimer->stop();
    slider->clearPreview();
    previews->clearMedium();
}

void SeekPreviews::seekRequested()
{
    previews->holdPass(SeekHoldMs);
}

void SeekPreviews::timeChanged(qint64 ms)
{
    if (!active)
        return;
    if (lastTimeMs >= 0 && std::abs(ms - (lastTimeMs + sinceTime.elapsed())) > JumpMs)
        seekRequested();
    lastTimeMs = ms;
    sinceTime.start();
    if (!passAsked && sinceStart.elapsed() >= PassAfterPlayingMs) {
        passAsked = true;
        previews->startPass();
    }
}

void SeekPreviews::hovered(qint64 ms)
{
    if (!active)
        return;
    hoverMs = ms;
    const LibPlayer::PreviewCache::Picture cached = previews->nearest(ms);
    if (!cached.isNull())
        slider->showPreview(cached.image);
    if (!hovering && cached.isNull()) {
        hovering = true;
        ask(ms);
        return;
    }
    hovering = true;
    restTimer->start();
}

void SeekPreviews::hoverEnded()
{
    hovering = false;
    restTimer->stop();
}

void SeekPreviews::ask(qint64 ms)
{
    askedMs = ms;
    previews->request(ms);
}

void SeekPreviews::pictureReady(qint64 requestedMs, qint64, const QImage &image)
{
    if (active && hovering && requestedMs == askedMs)
        slider->showPreview(image);
}
