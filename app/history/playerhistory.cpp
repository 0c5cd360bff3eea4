#include "playerhistory.h"

#include "historystore.h"
#include "mediaidentity.h"
#include "playlist.h"
#include "recentmenu.h"
#include "resumenotice.h"
#include "resumepolicy.h"
#include "resumetracker.h"
#include "playersettingskeys.h"

#include "core.h"
#include "modernmessagebox.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTimer>

PlayerHistory::PlayerHistory(LibPlayer::Core *core, QWidget *window)
    : QObject(window)
    , core(core)
    , window(window)
    , history(new HistoryStore(QString(), this))
    , resume(new ResumeTracker(core, history, this))
    , notice(new ResumeNotice(window))
    , recentMenu(new RecentMenu(history, window))
{
    const QSettings settings;
    resumeAction = new QAction(tr("Resume playback"), this);
    resumeAction->setCheckable(true);
    resumeAction->setChecked(settings.value(PlayerSettingsKey::resumePlayback, true).toBool());
    resume->setEnabled(resumeAction->isChecked());
    restoreAction = new QAction(tr("Restore playlist at start"), this);
    restoreAction->setCheckable(true);
    restoreAction->setChecked(settings.value(PlayerSettingsKey::restorePlaylist, true).toBool());
    clearAction = new QAction(tr("Clear history"), this);

    // options -> settings and tracker
    connect(resumeAction, &QAction::toggled, this, [this](bool on) {
        resume->setEnabled(on);
        QSettings().setValue(PlayerSettingsKey::resumePlayback, on);
    });
    connect(restoreAction, &QAction::toggled, this,
            [](bool on) { QSettings().setValue(PlayerSettingsKey::restorePlaylist, on); });
    connect(clearAction, &QAction::triggered, this, &PlayerHistory::confirmClear);
    // store -> log
    connect(history, &HistoryStore::messageWarning, this, &PlayerHistory::messageWarning);
    // tracker -> notice; notice click and Home -> tracker
    connect(resume, &ResumeTracker::resumed, notice,
            [this](const QString &line) { notice->showLine(line, ResumePolicy::NoticeMs); });
    connect(resume, &ResumeTracker::startedOver, notice, &QWidget::hide);
    // engine -> notice: the line belongs to the medium it was shown for
    connect(core, &LibPlayer::Core::mediaStopping, notice, &QWidget::hide);
    connect(notice, &ResumeNotice::clicked, resume, &ResumeTracker::startOver);
    auto *home = new QAction(this);
    home->setShortcut(QKeySequence(Qt::Key_Home));
    home->setShortcutContext(Qt::WindowShortcut);
    window->addAction(home);
    connect(home, &QAction::triggered, resume, &ResumeTracker::startOver);
    // recent -> window
    connect(recentMenu, &RecentMenu::openFileRequested, this, &PlayerHistory::openFileRequested);
    connect(recentMenu, &RecentMenu::openUrlRequested, this, &PlayerHistory::openUrlRequested);
    // engine -> recent entries and the paused restore
    connect(core, &LibPlayer::Core::mediaStarted, this, &PlayerHistory::mediaStarted);
    // A session that ends without the quit command (the system's close,
    // the end of the desktop session) still keeps the position.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        resume->saveNow();
        history->flush();
    });
    connect(qApp, &QCoreApplication::aboutToQuit, resume, &ResumeTracker::saveNow);

    // The first turn of the event loop comes after the window has shown.
    QTimer::singleShot(0, this, [this] {
        history->open();
        recentMenu->load();
    });
}

PlayerHistory::~PlayerHistory() = default;

void PlayerHistory::placeActions(QMenu *mediaMenu, QAction *after, QMenu *optionsMenu, QAction *optionsBefore)
{
    const QList<QAction *> media = mediaMenu->actions();
    mediaMenu->insertMenu(media.value(media.indexOf(after) + 1), recentMenu);
    optionsMenu->insertAction(optionsBefore, resumeAction);
    optionsMenu->insertAction(optionsBefore, restoreAction);
    optionsMenu->insertAction(optionsBefore, clearAction);
}

void PlayerHistory::mediaStarted()
{
    const QString mrl = core->location();
    switch (MediaIdentity::kindOf(mrl)) {
    case MediaIdentity::Kind::File:
        recentMenu->add({RecentKind::File, MediaIdentity::localPath(mrl)});
        break;
    case MediaIdentity::Kind::Url:
        recentMenu->add({RecentKind::Url, mrl});
        break;
    default:
        recentMenu->add({RecentKind::Disc, mrl});
        break;
    }
    // After the open command has shown the playing state, which it does
    // once the engine returns. A paused engine parses no more: one parse
    // before the pause puts the title and the lines of the medium on the
    // window.
    if (std::exchange(pauseWhenStarted, false)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                this->core->parseMedia();
                emit pauseRequested();
            },
            Qt::QueuedConnection);
    }
}

void PlayerHistory::confirmClear()
{
    Common::ModernMessageBox box(QMessageBox::Question, tr("Clear history"),
                                 tr("Forget the resume positions, the recent files and the playlist kept for the"
                                    " next start?"),
                                 QMessageBox::Yes | QMessageBox::No, window);
    if (box.exec() != QMessageBox::Yes)
        return;
    recentMenu->forget();
    history->clear();
}

void PlayerHistory::quit(const Playlist &playlist)
{
    StoredPlaylist kept;
    if (!restoreAction->isChecked() || playlist.isEmpty() || playlist.current() == 0) {
        history->savePlaylist(kept); // none
    } else {
        kept.audio = playlist.kind() == Playlist::Kind::Audio;
        kept.items = playlist.locations().toVector();
        kept.current = playlist.current();
        kept.position = core->isStopped() ? 0 : std::max<qint64>(core->time(), 0);
        history->savePlaylist(kept);
    }
    resume->saveNow();
    history->flush();
}

void PlayerHistory::restoreAtStart()
{
    if (!restoreAction->isChecked())
        return;
    const QPointer<PlayerHistory> self(this);
    history->playlist([self](const std::optional<StoredPlaylist> &stored) {
        // A medium opened meanwhile (a hand-over) wins.
        if (!self || !stored || stored->items.isEmpty() || !self->core->isStopped())
            return;
        self->pauseWhenStarted = true;
        if (stored->position > 0)
            self->resume->resumeNextAt(stored->position);
        emit self->restoreRequested(*stored);
    });
}
