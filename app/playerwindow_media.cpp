// PlayerWindow: the media slots, each a short delegation to the piece that
// does the work, and the window events that keep the overlays and the
// geometry in step.

#include "playerwindow.h"

#include "bottombar.h"
#include "endofmediagate.h"
#include "feedbackline.h"
#include "mediainfodialog.h"
#include "mediapresentation.h"
#include "overlaycontroller.h"
#include "playbacksession.h"
#include "playbacktools.h"
#include "playlistcontroller.h"
#include "videohost.h"
#include "windowgeometry.h"

#include "core.h"
#include "playtoolbutton.h"
#include "tracktoolbutton.h"
#include "videoframe.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMoveEvent>
#include <QResizeEvent>

void PlayerWindow::openFile(QString f)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openFile(f);
}

void PlayerWindow::openFolder()
{
    const QString folder = playback->askForFolder();
    if (!folder.isEmpty())
        playlists->walkFolders({QUrl::fromLocalFile(folder)}, true);
}

void PlayerWindow::showMediaInfo()
{
    if (!core->holdsMedia()) {
        emit messageNotice(tr("[Main] Nothing is playing"));
        feedbackLine->showText(tr("Nothing is playing"));
        return;
    }
    MediaInfoDialog dialog(core->mediaInfo(), this);
    dialog.exec();
}

void PlayerWindow::addWalked(const QList<QUrl> &urls, bool replace)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->addWalked(urls, replace);
}

void PlayerWindow::openUrl(QString u)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openUrl(u);
}

void PlayerWindow::openDisc()
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->openDisc();
}

void PlayerWindow::addSubtitleFile()
{
    const EndOfMediaGate::Scope flow(*endGate);
    playback->addSubtitleFile();
}

void PlayerWindow::dropUri(const QList<QUrl> &urls)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->dropUri(urls);
}

void PlayerWindow::dropUriSorted(const QList<QUrl> &urls)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->dropUriSorted(urls);
}

void PlayerWindow::readList(const QString &path)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->readList(path);
}

void PlayerWindow::changeListItem(int item)
{
    const EndOfMediaGate::Scope flow(*endGate);
    playlists->changeListItem(item);
}

void PlayerWindow::changeCdaTrack(int track)
{
    videoHost->frame()->setLines(tr("Audio CD"), tr("Track %1").arg(track));
    videoHost->frame()->update();
}

void PlayerWindow::mediaParseBegin()
{
    bottomBar->beginTrackParse();
}

void PlayerWindow::mediaParseEnd()
{
    const QStringList keys = core->metadataKeys();
    for (const QString &key : keys)
        emit messageNotice(tr("[Main] %1: %2").arg(key, core->metadata(key).toHtmlEscaped()));

    const MediaPresentation shown =
        presentMedia(core->metadata(QStringLiteral("Artist")), core->metadata(QStringLiteral("Title")),
                     core->noVideo(), bottomBar->cdTrackButton->currentTrack(),
                     QGuiApplication::applicationDisplayName());
    if (shown.audio) {
        const QStringList lines = shown.lines;
        videoHost->frame()->setLines(lines.value(0), lines.value(1), lines.value(2), lines.value(3));
        windowGeometry->useDefaultRatio();
        videoHost->frame()->update();
    }
    setTitleText(shown.titleText);
    bottomBar->endTrackParse();
}

void PlayerWindow::endPlayback(bool skipPlaylist)
{
    LibPlayer::TrackToolButton *cdTracks = bottomBar->cdTrackButton;
    if (!cdTracks->isEmpty() && !cdTracks->isLast()) {
        cdTracks->selectNext();
        return;
    }
    addSubtitleAction->setEnabled(false);
    bottomBar->resetAfterPlayback();
    setTitleText(QGuiApplication::applicationDisplayName());
    if (!core->isStopped())
        videoHost->replaceFrame();
    showPlayState();
    if (!skipPlaylist)
        playlists->advance();
}

void PlayerWindow::showPlayState()
{
    bottomBar->showPlayState(core->state(), playback->canReplay() || !playlists->playlist().isEmpty());
}

void PlayerWindow::changeDisplayRatio(uint width, uint height)
{
    emit messageNotice(tr("[Main] Display ratio changed: %1/%2").arg(width).arg(height));
    windowGeometry->changeDisplayRatio(width, height);
}

void PlayerWindow::resizeBottomBar()
{
    windowGeometry->layoutBottomBar();
}

void PlayerWindow::layoutLoadSettings()
{
    windowGeometry->loadLayout();
}

bool PlayerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (windowGeometry)
        windowGeometry->filterEvent(watched, event);
    return Common::ModernWindow::eventFilter(watched, event);
}

void PlayerWindow::moveEvent(QMoveEvent *event)
{
    Common::ModernWindow::moveEvent(event);
    if (windowGeometry)
        windowGeometry->windowMoved();
}

void PlayerWindow::resizeEvent(QResizeEvent *event)
{
    Common::ModernWindow::resizeEvent(event);
    if (windowGeometry)
        windowGeometry->windowResized(event->size());
}

void PlayerWindow::toggleFullscreen(bool on)
{
    if (!on)
        overlays->restoreCursor();
    windowGeometry->setFullScreen(on);
}

void PlayerWindow::trackMouseCursor()
{
    overlays->tick();
}

void PlayerWindow::setTitleText(const QString &text)
{
    m_titleLabel->setText(text);
    windowGeometry->fitTitle(width());
    setWindowTitle(windowTitleFor(text, QGuiApplication::applicationDisplayName()));
}
