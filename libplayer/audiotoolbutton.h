#pragma once

#include "choicetoolbutton.h"

namespace LibPlayer {

// Menu of the media's audio tracks. Filled from the engine's announcements;
// reports the user's choice with trackChanged(id). While no track is current,
// the first one announced is checked. The current id survives reset() and is
// cleared by the window with clearCurrent() at end of playback.
class AudioToolButton : public ChoiceToolButton
{
    Q_OBJECT

public:
    AudioToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~AudioToolButton() override;

signals:
    void trackChanged(int id);

public slots:
    void addTrack(int id, const QString &name);
    void setCurrentTrack(int id);

protected:
    void chosen(int id) override;
};

} // namespace LibPlayer
