#pragma once

#include <QMap>
#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Menu of the media's audio tracks. Filled from the engine's announcements;
// reports the user's choice with trackChanged(id). The current id survives
// reset() and is cleared by the window with clearCurrent() at end of playback.
class AudioToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    AudioToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~AudioToolButton() override;

    // Fewer than two tracks known: nothing to choose.
    bool hasNoChoice() const;

signals:
    void trackChanged(int id);

public slots:
    void addTrack(int id, const QString &name);
    void clearCurrent();
    void reset();
    void setCurrentTrack(int id);

protected slots:
    void trigger(QAction *action) override;

private:
    int current = -1;
    QMap<int, QString> tracks;
};

} // namespace LibPlayer
