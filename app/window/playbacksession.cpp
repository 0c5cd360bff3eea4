#include "playbacksession.h"

#include "core.h"
#include "disclocation.h"
#include "inputdiscdialog.h"
#include "inputurldialog.h"
#include "localfilegate.h"
#include "mediaformats.h"
#include "playtoolbutton.h"
#include "subtitletoolbutton.h"
#include "timeslider.h"
#include "tracktoolbutton.h"
#include "userbox.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

PlaybackSession::PlaybackSession(LibPlayer::Core *core, const Controls &controls, QWidget *dialogParent)
    : QObject(dialogParent)
    , core(core)
    , controls(controls)
    , dialogParent(dialogParent)
{
}

PlaybackSession::~PlaybackSession() = default;

void PlaybackSession::setOpticalDrives(std::shared_ptr<const Platform::OpticalDrives> opticalDrives)
{
    drives = std::move(opticalDrives);
}

QString PlaybackSession::startFolder() const
{
    if (!lastPlayedFile.isEmpty()) {
        const QString folder = QFileInfo(lastPlayedFile).absolutePath();
        if (QDir(folder).exists())
            return folder;
    }
    return QDir::homePath();
}

void PlaybackSession::pause()
{
    core->pausePlayback();
    controls.playButton->setPaused();
}

void PlaybackSession::resume()
{
    core->resumePlayback();
    // With nothing loaded the button keeps its look without media rather than
    // offering a pause of nothing.
    if (!core->isStopped())
        controls.playButton->setPlaying();
}

void PlaybackSession::endCurrent(bool skipPlaylist)
{
    if (!core->isStopped())
        emit endRequested(skipPlaylist);
}

void PlaybackSession::showPlaying(bool subtitlesAllowed)
{
    controls.playButton->setPlaying();
    controls.timeSlider->setSliding(true);
    for (QWidget *overlay : qAsConst(controls.overlays))
        overlay->hide();
    if (subtitlesAllowed)
        controls.addSubtitleAction->setEnabled(true);
}

std::function<void(const QString &)> PlaybackSession::warningSink()
{
    return [this](const QString &line) { emit messageWarning(line); };
}

void PlaybackSession::showFailure(const QString &title, const QString &text)
{
    QGuiApplication::restoreOverrideCursor();
    showUserBox(dialogParent, QMessageBox::Warning, title, text.arg(QGuiApplication::applicationDisplayName()));
}

void PlaybackSession::openFile(QString f)
{
    pause();
    // A file handed in (start file, another launch) plays in place of the
    // current item: an open playlist stays where it is instead of first
    // starting its next item only to stop it again.
    const bool handedIn = !f.isEmpty();
    if (f.isEmpty()) {
        f = QFileDialog::getOpenFileName(
            dialogParent, tr("Open file"), startFolder(),
            MediaFormats::openFileFilter(tr("All files"), tr("Video files"), tr("Audio files"), tr("Playlist files")));
        if (!f.isEmpty())
            emit deletePlaylistRequested();
    }
    if (f.isEmpty()) {
        resume();
        return;
    }
    if (MediaFormats::isPlaylistFile(f)) {
        endCurrent(handedIn);
        emit playlistFileRequested(f);
        return;
    }
    if (!admitLocalFile(f, dialogParent, warningSink()))
        return;
    endCurrent(handedIn);
    if (!core->playFile(f)) {
        showFailure(tr("Failed to play file"), tr("%1 was not able to play this file."));
        return;
    }
    showPlaying();
    lastPlayedFile = f;
}

void PlaybackSession::openUrl(QString u)
{
    pause();
    if (u.isEmpty()) {
        InputUrlDialog dialog(&u, dialogParent);
        dialog.exec();
        if (!u.isEmpty())
            emit deletePlaylistRequested();
    }
    if (u.isEmpty()) {
        resume();
        return;
    }
    const QUrl url(u);
    if (url.isLocalFile() && !admitLocalFile(url.toLocalFile(), dialogParent, warningSink()))
        return;
    endCurrent(false);
    if (!core->playUrl(u)) {
        showFailure(tr("Failed to play URL"), tr("%1 was not able to play this URL."));
        return;
    }
    // A local location makes its folder the start folder of the next dialog.
    if (u.startsWith(QLatin1String("file://")))
        lastPlayedFile = QUrl(u).toLocalFile();
    showPlaying();
}

void PlaybackSession::openDisc()
{
    pause();
    int kind = 0;
    QString location;
    {
        InputDiscDialog dialog(&kind, &location, dialogParent, Qt::WindowFlags(), drives);
        dialog.exec();
    }
    if (location.isEmpty()) {
        resume();
        return;
    }
    emit deletePlaylistRequested();
    const std::shared_ptr<const Platform::OpticalDrives> opticalDrives =
        drives ? drives : Platform::systemOpticalDrives();
    const bool audioCd = kind == int(DiscKind::AudioCd);
    const int tracks = audioCd ? audioCdTrackCount(location, *opticalDrives) : 0;
    if (audioCd && tracks == 0) {
        QGuiApplication::restoreOverrideCursor();
        showUserBox(dialogParent, QMessageBox::Warning, tr("No audio CD"),
                    tr("Selected disc can't be played as audio CD."));
        return;
    }
    endCurrent(false);
    if (!core->playDisc(kind, discEnginePath(kind, location, opticalDrives->drives()))) {
        showFailure(tr("Failed to play disc"), tr("%1 was not able to play this disc."));
        return;
    }
    showPlaying(kind == int(DiscKind::Dvd));
    lastPlayedDisc = location;
    if (audioCd)
        controls.cdTrackButton->setTrackNumber(tracks);
}

void PlaybackSession::addSubtitleFile()
{
    const QString file =
        QFileDialog::getOpenFileName(dialogParent, tr("Add subtitle file"), startFolder(),
                                     MediaFormats::subtitleFileFilter(tr("Subtitle files"), tr("All files")));
    if (!file.isEmpty() && admitLocalFile(file, dialogParent, warningSink()))
        controls.subtitleButton->addFile(QDir::toNativeSeparators(file));
}
