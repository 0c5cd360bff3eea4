#include "playlistcontroller.h"

#include "core.h"
#include "droporder.h"
#include "folderwalk.h"
#include "id3tag.h"
#include "listtoolbutton.h"
#include "localfilegate.h"
#include "m3u.h"
#include "playlistfileread.h"
#include "mediaformats.h"
#include "medialocation.h"
#include "playersettingskeys.h"
#include "subtitletoolbutton.h"
#include "userbox.h"

#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QSettings>
#include <QThread>

#include <memory>

namespace {

struct WarningText
{
    DropWarning warning;
    const char *title;
    const char *text;
};

const WarningText warningTexts[] = {
    {DropWarning::AudioIgnoredInVideoPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Audio files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Audio files are ignored when dropped in video playlist.")},
    {DropWarning::SubtitlesIgnoredInVideoPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files are ignored when dropped in video playlist.")},
    {DropWarning::VideoIgnoredInAudioPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Video files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Video files are ignored when dropped in audio playlist.")},
    {DropWarning::SubtitlesIgnoredInAudioPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files are ignored when dropped in audio playlist.")},
    {DropWarning::VideoIgnoredInNewAudioPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Video files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Video files are ignored when creating new audio playlist.")},
    {DropWarning::SubtitlesIgnoredInNewAudioPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files are ignored when creating new audio playlist.")},
    {DropWarning::AudioIgnoredInNewVideoPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Audio files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Audio files are ignored when creating new video playlist.")},
    {DropWarning::SubtitlesIgnoredInNewVideoPlaylist, QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files ignored"),
     QT_TRANSLATE_NOOP("PlaylistController", "Subtitle files are ignored when creating new video playlist.")},
};

bool isFolder(const QUrl &url)
{
    return MediaLocation::isFolder(MediaLocation::nativePath(url));
}
// Items added at once that get a log line each.
constexpr int LoggedItems = 100;

QString applicationName()
{
    return QGuiApplication::applicationDisplayName();
}

} // namespace

PlaylistController::PlaylistController(const LibPlayer::Core *core, LibPlayer::ListToolButton *playlistButton,
                                       LibPlayer::SubtitleToolButton *subtitleButton, QWidget *dialogParent)
    : QObject(dialogParent)
    , core(core)
    , playlistButton(playlistButton)
    , subtitleButton(subtitleButton)
    , dialogParent(dialogParent)
{
}

PlaylistController::~PlaylistController()
{
    if (walker) {
        stopWalk = true;
        walker->wait();
        delete walker;
    }
}

void PlaylistController::dropUri(const QList<QUrl> &urls)
{
    if (urls.size() == 1 && MediaFormats::isPlaylistFile(urls.first().path(QUrl::FullyDecoded))) {
        readList(urls.first().toLocalFile());
        return;
    }
    const bool anyFolder = std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &url) {
        return url.isLocalFile() && isFolder(url);
    });
    if (anyFolder)
        walkFolders(urls, false);
    else
        dropUriSorted(inDropOrder(urls));
}

QList<QUrl> PlaylistController::inDropOrder(const QList<QUrl> &urls)
{
    const auto readTags = [this](const QString &path) {
        return readMp3TagFields(path, [this](const QString &line) { emit messageWarning(line); });
    };
    return dropOrder(urls, readTags);
}

void PlaylistController::walkFolders(const QList<QUrl> &urls, bool replace)
{
    if (walker) {
        emit messageWarning(tr("[Main] A folder is still being read; the new one is left out"));
        return;
    }
    QList<QUrl> files;
    QList<QByteArray> folders;
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && isFolder(url))
            folders << MediaLocation::nativePath(url);
        else
            files << url;
    }
    const QList<QUrl> ordered = inDropOrder(files);
    auto found = std::make_shared<FolderWalk::Result>();
    stopWalk = false;
    walker = QThread::create([folders, found, this] {
        for (const QByteArray &folder : folders) {
            const FolderWalk::Result walked =
                FolderWalk::mediaFiles(folder, FolderWalk::MaxFiles - found->files.size(), &stopWalk);
            found->files += walked.files;
            found->truncated = found->truncated || walked.truncated;
        }
    });
    connect(walker, &QThread::finished, this, [this, ordered, found, replace] {
        walker->deleteLater();
        walker = nullptr;
        if (found->truncated)
            emit messageWarning(tr("[Main] Only the first %1 media files of the folder are added")
                                    .arg(FolderWalk::MaxFiles));
        emit foldersWalked(ordered + found->files, replace);
    });
    walker->start();
}

void PlaylistController::addWalked(const QList<QUrl> &urls, bool replace)
{
    if (urls.isEmpty()) {
        Common::showUserBox(dialogParent, QMessageBox::Information, tr("Nothing to play"),
                            tr("There is no video or audio file in this folder."));
        return;
    }
    if (replace)
        deletePlaylist();
    dropUriSorted(urls);
}

void PlaylistController::dropUriSorted(const QList<QUrl> &urls, DropSource source)
{
    dropCandidates(collectDropCandidates(urls, source));
}

void PlaylistController::dropCandidates(const DropCandidates &candidates)
{
    const DropPlan plan = planDrop(candidates, list.kind());
    const bool video = plan.action == DropAction::AppendVideo || plan.action == DropAction::NewVideo;
    switch (plan.action) {
    case DropAction::AppendVideo:
    case DropAction::AppendAudio:
        showWarnings(plan.warnings);
        addItems(plan.items, video);
        break;
    case DropAction::NewAudio:
    case DropAction::NewVideo:
        showWarnings(plan.warnings);
        playlistButton->reset();
        list.clear();
        // The medium playing now ends while there is no playlist, so that
        // nothing advances.
        if (!core->isStopped())
            emit endRequested(false);
        if (!video)
            emit messageNotice(tr("[Main] Create new audio playlist"));
        list.create(video ? Playlist::Kind::Video : Playlist::Kind::Audio);
        addItems(plan.items, video);
        itemPlayedInWalk = false;
        list.next();
        playCurrent();
        break;
    case DropAction::PlayAudio:
    case DropAction::PlayVideo:
        deletePlaylist();
        emit playRequested(plan.items.first());
        addSubtitles(plan.subtitles);
        break;
    case DropAction::AddSubtitles:
        addSubtitles(plan.subtitles);
        break;
    }
}

void PlaylistController::showWarnings(const QList<DropWarning> &warnings)
{
    for (DropWarning warning : warnings) {
        for (const WarningText &entry : warningTexts) {
            if (entry.warning == warning)
                Common::showUserBox(dialogParent, QMessageBox::Warning, tr(entry.title), tr(entry.text));
        }
    }
}

void PlaylistController::addItems(const QStringList &locations, bool video)
{
    const QString line = video ? tr("[Main] Add video #%1 in playlist: %2") : tr("[Main] Add audio #%1 in playlist: %2");
    const QList<int> numbers = list.append(locations);
    playlistButton->setItems(list.entries());
    for (int i = 0; i < numbers.size() && i < LoggedItems; ++i)
        emit messageNotice(line.arg(numbers.at(i)).arg(locations.at(i).toHtmlEscaped()));
    // A long list is summed up: a log line per item costs more than the item.
    if (numbers.size() > LoggedItems) {
        emit messageNotice(tr("[Main] Add #%1 to #%2 in playlist (%3 items more)")
                               .arg(numbers.at(LoggedItems))
                               .arg(numbers.last())
                               .arg(numbers.size() - LoggedItems));
    }
    emit changed();
}

void PlaylistController::addSubtitles(const QStringList &files)
{
    const auto warning = [this](const QString &line) { emit messageWarning(line); };
    for (const QString &file : files) {
        if (admitLocalFile(QFile::encodeName(file), warning, dialogParent))
            subtitleButton->addFile(file);
    }
}

void PlaylistController::playCurrent()
{
    const int number = list.current();
    if (number == 0)
        return;
    playlistButton->setItem(number);
    emit changed();
    emit itemPlayRequested(list.location(number));
}

void PlaylistController::deletePlaylist()
{
    if (list.isEmpty())
        return;
    emit messageNotice(tr("[Main] Delete current playlist"));
    playlistButton->reset();
    list.clear();
    emit changed();
}

void PlaylistController::restore(bool video, const QStringList &locations)
{
    playlistButton->reset();
    list.create(video ? Playlist::Kind::Video : Playlist::Kind::Audio);
    addItems(locations, video);
}

void PlaylistController::changeListItem(int item)
{
    if (list.isEmpty())
        return;
    if (item == LibPlayer::ListToolButton::ejectPlaylistId) {
        playlistButton->reset();
        list.clear();
        emit changed();
        emit endRequested(false);
    } else if (item == LibPlayer::ListToolButton::savePlaylistId) {
        savePlaylist();
    } else if (list.setCurrent(item)) {
        // The chosen item becomes the current one, so that its end moves on to
        // the item after it.
        emit changed();
        itemPlayedInWalk = false;
        if (!core->isStopped())
            emit endRequested(true);
        emit itemPlayRequested(list.location(item));
    }
}

bool PlaylistController::advance()
{
    if (list.isEmpty())
        return false;
    itemPlayedInWalk = true;
    if (!list.hasNext())
        return false;
    list.next();
    playCurrent();
    return true;
}

void PlaylistController::skipFailedItem(const QString &location)
{
    const int failed = list.current();
    if (list.isEmpty() || list.location(failed) != location)
        return;
    emit messageWarning(tr("[Main] Playlist item #%1 cannot be played, skipped: %2")
                            .arg(failed)
                            .arg(location.toHtmlEscaped()));
    if (list.hasNext()) {
        list.next();
        playCurrent();
    } else if (!itemPlayedInWalk) {
        Common::showUserBox(dialogParent, QMessageBox::Warning, tr("Failed to play playlist"),
                            tr("%1 was not able to play any item of this playlist.").arg(applicationName()));
    }
}

void PlaylistController::readList(const QString &path)
{
    const PlaylistFileRead read = readPlaylistFile(path);
    for (const PlaylistFileRead::LogLine &line : read.log) {
        if (line.warning)
            emit messageWarning(line.text);
        else
            emit messageNotice(line.text);
    }
    if (!read.opened) {
        Common::showUserBox(dialogParent, QMessageBox::Warning, tr("Failed to read playlist file"),
                            tr("%1 was not able to open this file.").arg(applicationName()));
        return;
    }
    if (read.found == 0) {
        Common::showUserBox(dialogParent, QMessageBox::Information, tr("Empty playlist"),
                            tr("It seems that this playlist is empty."));
        return;
    }
    dropCandidates(read.candidates);
}

void PlaylistController::savePlaylist()
{
    QSettings settings;
    const QString proposed = settings.value(PlayerSettingsKey::lastPlaylistSaved).toString();
    const QString name = QFileDialog::getSaveFileName(dialogParent, tr("Save playlist"), proposed,
                                                      tr("MP3 playlist files (*.m3u *.m3u8)"));
    if (name.isEmpty())
        return;
    const M3uWriteResult written = writeM3u(name, list.locations());
    settings.setValue(PlayerSettingsKey::lastPlaylistSaved, written.fileName);
    if (!written.written) {
        emit messageWarning(tr("[Main] Failed to save playlist: %1").arg(written.fileName.toHtmlEscaped()));
        Common::showUserBox(dialogParent, QMessageBox::Warning, tr("Failed to save playlist"),
                            tr("%1 was not able to write this file.").arg(applicationName()));
        return;
    }
    emit messageNotice(tr("[Main] Playlist saved: %1").arg(written.fileName.toHtmlEscaped()));
}
