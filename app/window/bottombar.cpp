#include "bottombar.h"

#include "audiotoolbutton.h"
#include "grip.h"
#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "subtitletoolbutton.h"
#include "timelabel.h"
#include "timeslider.h"
#include "titletoolbutton.h"
#include "toolbutton.h"
#include "tracktoolbutton.h"
#include "volumecontrol.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

QString image(const char *name)
{
    return QStringLiteral(":/AppTarn/images/default/player/") + QLatin1String(name);
}

const char *const barStyle =
    "QWidget#BottomBar { color: rgba(255,255,255,255); background-color: rgba(130,130,130,255); }"
    "QWidget#BottomBar QLabel#BottomBarLabel { color: rgba(255,255,255,255);"
    " background-color: rgba(130,130,130,255); font-family: Segoe UI Semibold, Arial; font-size: 14px;"
    " qproperty-alignment: AlignCenter; }"
    "QWidget#BottomBar QToolButton { border: none; padding: 0px; width: 32px; height: 32px; }"
    "QWidget#BottomBar QToolButton:checked { background-color: rgba(179,168,168,255); }";

const char *const sliderStyle =
    "QSlider { background: transparent; padding: 0px; margin: 0px; }"
    "QSlider::groove:horizontal { background-color: rgba(38,38,38,255); height: 8px; border: none; }"
    "QSlider::handle:horizontal { background-color: rgba(199,187,187,255); padding: 0px; margin: 0px;"
    " border: 2px solid rgba(199,187,187,255); border-radius: 2px; width: 4px; }";

// The bar is as high as its 32-pixel buttons.
constexpr int BarHeight = 32;
// Room between the speaker and the time text.
constexpr int TimeLabelMargin = 6;

} // namespace

BottomBar::BottomBar(QWidget *window)
    : QWidget(window)
{
    setObjectName(QStringLiteral("BottomBar"));
    setAttribute(Qt::WA_StyledBackground);

    pad = new QWidget(this);
    pad->setFixedSize(12, 24);
    playButton = new LibPlayer::PlayToolButton(image("play_black.png"), image("play_hover.png"),
                                               image("pause_black.png"), image("pause_hover.png"), this);
    volumeControl = new LibPlayer::VolumeControl(
        image("volume_black.png"), image("volume_hover.png"), image("volume_less_black.png"),
        image("volume_less_hover.png"), image("volume_off_black.png"), image("volume_off_hover.png"), this);
    timeLabel = new LibPlayer::TimeLabel(this);
    timeLabel->setContentsMargins(TimeLabelMargin, 0, TimeLabelMargin, 0);
    label = new QLabel(this);
    label->setObjectName(QStringLiteral("BottomBarLabel"));
    label->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::MinimumExpanding);
    playlistButton = new LibPlayer::ListToolButton(image("titles_black.png"), image("titles_hover.png"), this);
    playlistButton->setToolTip(tr("Playlist"));
    cdTrackButton = new LibPlayer::TrackToolButton(image("titles_black.png"), image("titles_hover.png"), this);
    cdTrackButton->setToolTip(tr("CD Tracks"));
    titleButton = new LibPlayer::TitleToolButton(image("titles_black.png"), image("titles_hover.png"), this);
    titleButton->setToolTip(tr("Titles"));
    chapterButton = new LibPlayer::TitleToolButton(image("titles_black.png"), image("titles_hover.png"), this);
    chapterButton->setToolTip(tr("Chapters"));
    chapterButton->hide();
    audioButton = new LibPlayer::AudioToolButton(image("audio_black.png"), image("audio_hover.png"), this);
    audioButton->setToolTip(tr("Audio"));
    subtitleButton = new LibPlayer::SubtitleToolButton(image("subtitle_black.png"), image("subtitle_hover.png"), this);
    subtitleButton->setToolTip(tr("Subtitles"));
    fullscreenButton = new LibPlayer::ToolButton(image("fullscreen_black.png"), image("fullscreen_hover.png"), this);
    fullscreenButton->setCheckable(true);
    fullscreenButton->setToolTip(tr("Full screen"));
    grip = new LibPlayer::Grip(image("grip_black.png"), QSize(12, 12), this);
    grip->setObjectName(QStringLiteral("BottomRightGrip"));
    grip->setFixedSize(12, 12);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget *widget : {pad, static_cast<QWidget *>(playButton), static_cast<QWidget *>(volumeControl),
                            static_cast<QWidget *>(timeLabel), static_cast<QWidget *>(label),
                            static_cast<QWidget *>(playlistButton), static_cast<QWidget *>(cdTrackButton),
                            static_cast<QWidget *>(titleButton), static_cast<QWidget *>(chapterButton),
                            static_cast<QWidget *>(audioButton),
                            static_cast<QWidget *>(subtitleButton), static_cast<QWidget *>(fullscreenButton)})
        layout->addWidget(widget);
    layout->addWidget(grip, 0, Qt::AlignRight | Qt::AlignBottom);
    setStyleSheet(QString::fromLatin1(barStyle));
    setFixedHeight(BarHeight);

    timeSlider = new LibPlayer::TimeSlider(window);
    timeSlider->setObjectName(QStringLiteral("TimeLine"));
    timeSlider->setFixedHeight(8);
    timeSlider->setStyleSheet(QString::fromLatin1(sliderStyle));
}

BottomBar::~BottomBar() = default;

QList<QMenu *> BottomBar::popupMenus(QMenu *appMenu) const
{
    // The buttons' menus have no parent, so findChild would not reach them.
    return {appMenu, audioButton->menu(), subtitleButton->menu(), titleButton->menu(), cdTrackButton->menu(),
            playlistButton->menu(), chapterButton->menu()};
}

void BottomBar::beginTrackParse()
{
    titleButton->reset();
    titleButton->setEnabled(false);
    audioButton->reset();
    audioButton->setEnabled(false);
    subtitleButton->reset();
    subtitleButton->setEnabled(false);
}

void BottomBar::endTrackParse()
{
    titleButton->setEnabled(true);
    titleButton->setVisible(!titleButton->hasNoChoice());
    audioButton->setEnabled(true);
    audioButton->setVisible(!audioButton->hasNoChoice());
    subtitleButton->setEnabled(true);
    subtitleButton->setVisible(!subtitleButton->isEmpty());
}

void BottomBar::showPlayState(LibPlayer::Core::State state, bool canStartAgain)
{
    using State = LibPlayer::Core::State;
    switch (state) {
    case State::Playing:
        playButton->setPlaying();
        break;
    case State::Opening:
    case State::Paused:
        playButton->setPaused();
        break;
    case State::Ended:
        break;
    case State::Stopped:
    case State::Failed:
        playButton->setStopped(canStartAgain);
        break;
    }
}

void BottomBar::resetAfterPlayback()
{
    playButton->setStopped();
    timeLabel->reset();
    timeSlider->setSliding(false);
    timeSlider->setMilliseconds(0);
    cdTrackButton->hide();
    cdTrackButton->reset();
    titleButton->hide();
    titleButton->reset();
    titleButton->clearCurrent();
    chapterButton->hide();
    chapterButton->reset();
    chapterButton->clearCurrent();
    audioButton->hide();
    audioButton->reset();
    audioButton->clearCurrent();
    subtitleButton->hide();
    subtitleButton->reset();
    subtitleButton->clearCurrent();
    subtitleButton->clearFiles();
}
