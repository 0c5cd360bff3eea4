#include "videohost.h"

#include "core.h"
#include "videoframe.h"

#include <QBoxLayout>
#include <QPointer>
#include <QTimer>

namespace {

const char *const frameStyle = " * { background-color : rgba(0,0,0,255); } ";

} // namespace

VideoHost::VideoHost(LibPlayer::Core *core, QBoxLayout *layout, QList<QWidget *> overlays, QWidget *window)
    : QObject(window)
    , core(core)
    , layout(layout)
    , overlays(std::move(overlays))
    , window(window)
{
    createFrame();
    // engine's player released -> the retired frames no player draws into go
    connect(core, &LibPlayer::Core::playerReleased, this, &VideoHost::destroyRetired);
}

VideoHost::~VideoHost() = default;

void VideoHost::destroyRetired()
{
    for (auto it = retired.begin(); it != retired.end();) {
        if (*it && core->drawsInto(*it)) {
            ++it;
            continue;
        }
        if (*it)
            (*it)->deleteLater();
        it = retired.erase(it);
    }
}

void VideoHost::createFrame()
{
    current = new LibPlayer::VideoFrame(window);
    current->setStyleSheet(QString::fromLatin1(frameStyle));
    current->setHint(hint);
    layout->addWidget(current);
    // Lowest of all: the overlays stay above it.
    current->lower();
    // frame input -> this host's signals
    // Its own X window before the engine asks for it, so that it has reached
    // the X server when libvlc's picture comes. The first frame waits until the window has been shown, so that the window
    // is placed before it becomes native.
    if (window->windowHandle()) {
        current->winId();
    } else {
        const QPointer<LibPlayer::VideoFrame> frame = current;
        QTimer::singleShot(0, this, [frame] {
            if (frame)
                frame->winId();
        });
    }
    connect(current, &LibPlayer::VideoFrame::uriDropped, this, &VideoHost::uriDropped);
    connect(current, &LibPlayer::VideoFrame::clicked, this, &VideoHost::clicked);
    connect(current, &LibPlayer::VideoFrame::doubleClicked, this, &VideoHost::doubleClicked);
    connect(current, &LibPlayer::VideoFrame::wheelTurned, this, &VideoHost::wheelTurned);
    core->setVideoWidget(current);
}

void VideoHost::setHint(const QString &text)
{
    hint = text;
    current->setHint(text);
}

void VideoHost::dropHint()
{
    current->setHint(QString());
}

void VideoHost::replaceFrame()
{
    for (QWidget *overlay : qAsConst(overlays))
        overlay->hide();
    core->stopPlayback();
    layout->removeWidget(current);
    // A drop on the frame may be what ended the medium: the frame is still
    // inside its own drop handler, so it goes once control is back in the
    // event loop. The engine no longer draws into it.
    disconnect(current, nullptr, this, nullptr);
    current->hide();
    retired.append(current);
    destroyRetired();
    createFrame();
    for (QWidget *overlay : qAsConst(overlays)) {
        overlay->show();
        overlay->raise();
    }
}
