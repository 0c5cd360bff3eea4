#pragma once

#include "core.h"

#include <QList>
#include <QWidget>

class QLabel;
class QMenu;

namespace LibPlayer {
class AudioToolButton;
class Grip;
class ListToolButton;
class PlayToolButton;
class SubtitleToolButton;
class TimeLabel;
class TimeSlider;
class TitleToolButton;
class ToolButton;
class TrackToolButton;
class VolumeControl;
} // namespace LibPlayer

// The overlay bar at the bottom of the player window, with the controls from
// left to right: pad, play/pause, volume, time, free label, playlist, CD
// tracks, titles, chapters, audio, subtitles, full screen, resize grip. It also makes
// the thin time slider, which lies over the video directly above the bar and
// is therefore a child of the window, not of the bar.
//
// The controls are public: the window wires them to the engine and to its own
// slots. The bar itself only builds, styles and resets them. GUI thread only.
class BottomBar : public QWidget
{
    Q_OBJECT

public:
    explicit BottomBar(QWidget *window);
    ~BottomBar() override;

    // Menus that keep the overlays up while open: the given application menu,
    // then those of the audio, subtitle, title, CD-track, playlist and chapter
    // buttons.
    QList<QMenu *> popupMenus(QMenu *appMenu) const;

    // A parse of a new medium starts: the track menus are emptied and disabled.
    void beginTrackParse();
    // The parse ended: the title and audio menus are shown only when there is a
    // choice (two or more entries), the subtitle menu when it has anything.
    void endTrackParse();
    // The medium has ended: the controls go back to their look without media.
    void resetAfterPlayback();
    // The play button shows the engine's state: the pause look while playing,
    // the play look while opening or paused, and without a medium the play
    // look, enabled only when a click can start something again. An ended
    // medium keeps its look until the window ends it.
    void showPlayState(LibPlayer::Core::State state, bool canStartAgain);

    QWidget *pad = nullptr;
    LibPlayer::PlayToolButton *playButton = nullptr;
    LibPlayer::VolumeControl *volumeControl = nullptr;
    LibPlayer::TimeLabel *timeLabel = nullptr;
    QLabel *label = nullptr;
    LibPlayer::ListToolButton *playlistButton = nullptr;
    LibPlayer::TrackToolButton *cdTrackButton = nullptr;
    LibPlayer::TitleToolButton *titleButton = nullptr;
    LibPlayer::TitleToolButton *chapterButton = nullptr; // filled by ChapterControl
    LibPlayer::AudioToolButton *audioButton = nullptr;
    LibPlayer::SubtitleToolButton *subtitleButton = nullptr;
    LibPlayer::ToolButton *fullscreenButton = nullptr;
    LibPlayer::Grip *grip = nullptr;
    LibPlayer::TimeSlider *timeSlider = nullptr; // child of the window
};
