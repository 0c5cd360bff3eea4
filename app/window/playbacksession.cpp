#include "playbacksession.h"

#include "core.h"
#include "disclocation.h"
#include "inputdiscdialog.h"
#include "inputurldialog.h"
#include "localfilegate.h"
#include "mediaformats.h"
#include "medialocation.h"
#include "openfilesdialog.h"
#include "subtitletoolbutton.h"
#include "timeslider.h"
#include "tracktoolbutton.h"
#include "userbox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

#include <utility>

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

// The play button follows the engine's state.
void PlaybackSession::pause()
{
    core->pausePlayback();
}

void PlaybackSession::resume()
{
    core->resumePlayback();
}

void PlaybackSession::endCurrent(bool skipPlaylist)
{
    if (!core->isStopped())
        emit endRequested(skipPlaylist);
}

void PlaybackSession::showPlaying(bool subtitlesAllowed)
{
    controls.timeSlider->setSliding(true);
    for (QWidget *overlay : qAsConst(controls.overlays))
        overlay->hide();
    if (subtitlesAllowed)
        controls.addSubtitleAction->setEnabled(true);
}

void PlaybackSession::reportFailure(const Started &failed)
{
    current = Started();
    emit replayChanged();
    if (failed.source == Source::PlaylistItem) {
        emit itemFailed(failed.location);
        return;
    }
    QString title;
    QString text;
    QString name = failed.location;
    switch (failed.source) {
    case Source::File:
        title = tr("Failed to play file");
        text = tr("%1 was not able to play this file.");
        name = QDir::toNativeSeparators(name);
        break;
    case Source::Url:
        title = tr("Failed to play URL");
        text = tr("%1 was not able to play this URL.");
        if (name.startsWith(QLatin1String("file://")))
            name = QDir::toNativeSeparators(QUrl(name).toLocalFile());
        break;
    case Source::Disc:
        title = tr("Failed to play disc");
        text = tr("%1 was not able to play this disc.");
        break;
    case Source::None:
    case Source::PlaylistItem:
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    Common::showUserBox(dialogParent, QMessageBox::Warning, title,
                        text.arg(QGuiApplication::applicationDisplayName()) + QLatin1String("<br>")
                            + name.toHtmlEscaped());
}

bool PlaybackSession::admitted(const QString &pathOrLocation, Source source)
{
    const bool local = MediaLocation::isFileLocation(pathOrLocation);
    if (!local && MediaLocation::hasScheme(pathOrLocation))
        return true;
    const QByteArray bytes =
        local ? MediaLocation::nativePath(QUrl(pathOrLocation)) : QFile::encodeName(pathOrLocation);
    if (admitLocalFile(bytes, [this](const QString &line) { emit messageWarning(line); }))
        return true;
    // Refused as a file, whichever command named it.
    if (source == Source::PlaylistItem)
        reportFailure({source, pathOrLocation});
    else
        reportFailure({Source::File, QFile::decodeName(bytes)});
    return false;
}

void PlaybackSession::openFile(QString f)
{
    pause();
    // A file handed in (start file, another launch) plays in place of the
    // current item: an open playlist stays where it is instead of first
    // starting its next item only to stop it again.
    const bool handedIn = !f.isEmpty();
    if (f.isEmpty()) {
        const QList<QUrl> chosen = askForFiles();
        if (!chosen.isEmpty())
            emit deletePlaylistRequested();
        if (chosen.size() > 1) {
            resume();
            emit filesRequested(chosen);
            return;
        }
        if (!chosen.isEmpty())
            f = MediaLocation::pathOrLocation(MediaLocation::nativePath(chosen.first()));
    }
    if (f.isEmpty()) {
        resume();
        return;
    }
    endCurrent(handedIn);
    // A handed-in location of another scheme is played as a URL.
    if (MediaLocation::hasScheme(f) && !MediaLocation::isFileLocation(f)) {
        playLocation(f, Source::Url);
        return;
    }
    const QString path = MediaLocation::displayPath(f);
    if (MediaFormats::isPlaylistFile(path)) {
        emit playlistFileRequested(path);
        return;
    }
    if (!admitted(f, Source::File))
        return;
    request({Source::File, f});
}

QList<QUrl> PlaybackSession::askForFiles()
{
    OpenFilesDialog dialog(
        dialogParent, tr("Open file"), startFolder(),
        MediaFormats::openFileFilter(tr("All files"), tr("Video files"), tr("Audio files"), tr("Playlist files")));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A URL keeps the bytes where the dialog knows them (the desktop's own).
    dialog.setSupportedSchemes({QStringLiteral("file")});
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.chosenFiles();
}

QString PlaybackSession::askForFolder()
{
    pause();
    const QString folder = QFileDialog::getExistingDirectory(dialogParent, tr("Open folder"), startFolder());
    resume();
    return folder;
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
    playLocation(u, Source::Url);
}

void PlaybackSession::playItem(const QString &location)
{
    pause();
    playLocation(location, Source::PlaylistItem);
}

void PlaybackSession::playLocation(const QString &location, Source source)
{
    // The playlist has already moved to the item: what still plays ends
    // without moving it on again.
    endCurrent(source == Source::PlaylistItem);
    if (!admitted(location, source))
        return;
    request({source, location});
}

void PlaybackSession::openDisc()
{
    pause();
    int kind = 0;
    QString location;
    {
        InputDiscDialog dialog(&kind, &location, dialogParent, Qt::WindowFlags(), drives, lastPlayedDisc);
        dialog.exec();
    }
    if (location.isEmpty()) {
        resume();
        return;
    }
    emit deletePlaylistRequested();
    playDisc(kind, location);
}

void PlaybackSession::playDisc(int kind, const QString &location)
{
    const std::shared_ptr<const Platform::OpticalDrives> opticalDrives =
        drives ? drives : Platform::systemOpticalDrives();
    const bool audioCd = kind == int(DiscKind::AudioCd);
    const int tracks = audioCd ? audioCdTrackCount(location, *opticalDrives) : 0;
    if (audioCd && tracks == 0) {
        QGuiApplication::restoreOverrideCursor();
        Common::showUserBox(dialogParent, QMessageBox::Warning, tr("No audio CD"),
                            tr("Selected disc can't be played as audio CD."));
        return;
    }
    endCurrent(false);
    request({Source::Disc, location, kind, tracks}, discEnginePath(kind, location, opticalDrives->drives()));
}

void PlaybackSession::request(const Started &opening, const QString &discPath)
{
    current = Started();
    pending = opening;
    failed = Started();
    switch (opening.source) {
    case Source::File:
        core->playFile(opening.location);
        break;
    case Source::Url:
    case Source::PlaylistItem:
        core->playUrl(opening.location);
        break;
    case Source::Disc:
        core->playDisc(opening.discKind, discPath);
        break;
    case Source::None:
        break;
    }
}

void PlaybackSession::engineStateChanged(LibPlayer::Core::State state)
{
    using State = LibPlayer::Core::State;
    if (pending.source == Source::None)
        return;
    // A stopped open may be started again; a failed one is reported next.
    if (state == State::Stopped)
        current = std::exchange(pending, Started());
    else if (state == State::Failed)
        failed = std::exchange(pending, Started());
}

void PlaybackSession::started()
{
    if (pending.source == Source::None)
        return;
    current = std::exchange(pending, Started());
    const QString &location = current.location;
    switch (current.source) {
    case Source::File:
        showPlaying();
        lastPlayedFile = MediaLocation::displayPath(location);
        break;
    case Source::Url:
    case Source::PlaylistItem:
        // A local location makes its folder the start folder of the next dialog.
        if (location.startsWith(QLatin1String("file://")))
            lastPlayedFile = QUrl(location).toLocalFile();
        showPlaying();
        break;
    case Source::Disc:
        showPlaying(current.discKind == int(DiscKind::Dvd));
        lastPlayedDisc = location;
        if (current.discKind == int(DiscKind::AudioCd))
            controls.cdTrackButton->setTrackNumber(current.cdTracks);
        break;
    case Source::None:
        break;
    }
}

void PlaybackSession::openFailed()
{
    // The engine refuses some requests at once, before any state change.
    const Started refused = failed.source != Source::None ? std::exchange(failed, Started())
                                                           : std::exchange(pending, Started());
    if (refused.source != Source::None)
        reportFailure(refused);
}

void PlaybackSession::mediaFailed()
{
    const Started failed = std::exchange(current, Started());
    endCurrent(true);
    reportFailure(failed);
}

bool PlaybackSession::canReplay() const
{
    return current.source == Source::File || current.source == Source::Url || current.source == Source::Disc;
}

void PlaybackSession::replay()
{
    const Started last = current;
    switch (last.source) {
    case Source::File:
        openFile(last.location);
        break;
    case Source::Url:
        openUrl(last.location);
        break;
    case Source::Disc:
        pause();
        playDisc(last.discKind, last.location);
        break;
    case Source::None:
    case Source::PlaylistItem:
        break;
    }
}

void PlaybackSession::addSubtitleFile()
{
    const QString file =
        QFileDialog::getOpenFileName(dialogParent, tr("Add subtitle file"), startFolder(),
                                     MediaFormats::subtitleFileFilter(tr("Subtitle files"), tr("All files")));
    const auto warning = [this](const QString &line) { emit messageWarning(line); };
    if (!file.isEmpty() && admitLocalFile(QFile::encodeName(file), warning, dialogParent))
        controls.subtitleButton->addFile(QDir::toNativeSeparators(file));
}
