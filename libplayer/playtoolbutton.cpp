#include "playtoolbutton.h"

#include "toolbuttonstyle.h"

namespace LibPlayer {

PlayToolButton::PlayToolButton(const QString &playImage, const QString &playHoverImage,
                               const QString &pauseImage, const QString &pauseHoverImage,
                               QWidget *parent)
    : QToolButton(parent)
    , pauseImage(pauseImage)
    , pauseHoverImage(pauseHoverImage)
    , playImage(playImage)
    , playHoverImage(playHoverImage)
{
    showPlayImages();
    setEnabled(false);
    connect(this, &QToolButton::released, this, &PlayToolButton::handleReleased);
}

PlayToolButton::~PlayToolButton() = default;

void PlayToolButton::setPlaying()
{
    showPauseImages();
    playing = true;
    setEnabled(true);
    emit stateChanged();
}

void PlayToolButton::setPaused()
{
    showPlayImages();
    playing = false;
    emit stateChanged();
}

void PlayToolButton::setStopped(bool canStartAgain)
{
    setPaused();
    setEnabled(canStartAgain);
    emit stateChanged();
}

void PlayToolButton::handleReleased()
{
    if (playing) {
        showPlayImages();
        playing = false;
        emit pause();
    } else {
        showPauseImages();
        playing = true;
        emit play();
    }
    emit stateChanged();
}

void PlayToolButton::showPlayImages()
{
    setStyleSheet(plainButtonStyle(playImage, playHoverImage));
}

void PlayToolButton::showPauseImages()
{
    setStyleSheet(plainButtonStyle(pauseImage, pauseHoverImage));
}

} // namespace LibPlayer
