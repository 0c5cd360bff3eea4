#pragma once

class PlaybackTools;
class QMenu;
class QWidget;

// The window's "Playback" menu: Speed (the steps, Normal checked by the
// current rate), Jump to time..., frame steps, A-B loop, chapter steps, the audio and
// subtitle delays with their resets, and Take screenshot; each entry runs
// the tool of the same name. Owned by parent.
QMenu *createPlaybackMenu(PlaybackTools *tools, QWidget *parent);
