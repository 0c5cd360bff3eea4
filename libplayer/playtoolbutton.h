#pragma once

#include <QToolButton>

namespace LibPlayer {

// Play/pause button. Shows the play images while not playing and the pause
// images while playing; a release toggles the look and asks for the change
// with pause() or play(). Starts in the not-playing look, disabled, until
// the window reports a successful play with setPlaying(). stateChanged()
// follows every change of look or of the enabled state, whoever made it.
class PlayToolButton : public QToolButton
{
    Q_OBJECT

public:
    PlayToolButton(const QString &playImage, const QString &playHoverImage,
                   const QString &pauseImage, const QString &pauseHoverImage,
                   QWidget *parent = nullptr);
    ~PlayToolButton() override;

    bool isPlaying() const { return playing; }

    // Pause look, playing, enabled.
    void setPlaying();
    // Play look, not playing.
    void setPaused();
    // Play look, not playing; disabled unless a click can start the last
    // medium again (the receiver of play() then does so).
    void setStopped(bool canStartAgain = false);

signals:
    void pause();
    void play();
    void stateChanged();

protected slots:
    void handleReleased();

private:
    void showPlayImages();
    void showPauseImages();

    bool playing = false;
    QString pauseImage;
    QString pauseHoverImage;
    QString playImage;
    QString playHoverImage;
};

} // namespace LibPlayer
