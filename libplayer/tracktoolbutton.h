#pragma once

#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Menu of an audio CD's tracks, numbered from 1. Hidden while empty; reports
// the chosen number with trackChanged(n). At the end of a track the window
// moves on with selectNext() unless the list is empty or at its last track.
class TrackToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    TrackToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~TrackToolButton() override;

    // Number of the checked entry, -1 when none is checked.
    int currentTrack() const;
    // The checked number is the last one.
    bool isLast() const;
    bool isEmpty() const;
    // Checks the entry after the checked one and reports it; nothing when
    // there is no such entry (at the last track, or nothing checked).
    void selectNext();

signals:
    void trackChanged(int track);

public slots:
    void reset();
    void setTrackNumber(int count);

protected slots:
    void trigger(QAction *action) override;

private:
};

} // namespace LibPlayer
