#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

class QBoxLayout;
class QWidget;

namespace LibPlayer {
class Core;
class VideoFrame;
} // namespace LibPlayer

// Owns the video area of the player window: one LibPlayer::VideoFrame at a
// time, in the window's layout, under the overlays, and given to the engine
// as its video widget. After a medium that left a player behind the frame is
// replaced by a fresh one. Drops, clicks and the wheel on whichever frame is
// current come out of this object's signals. GUI thread only.
class VideoHost : public QObject
{
    Q_OBJECT

public:
    // overlays: the widgets that lie above the video, lowest first.
    VideoHost(LibPlayer::Core *core, QBoxLayout *layout, QList<QWidget *> overlays, QWidget *window);
    ~VideoHost() override;

    LibPlayer::VideoFrame *frame() const { return current; }

    // The quiet line every new frame shows until something plays.
    void setHint(const QString &text);
    // Something plays: the current frame drops its hint.
    void dropHint();

    // Stops the engine, then retires the frame and puts a new one in its
    // place. A retired frame is destroyed once no player of the engine draws
    // into it any more (its player released): libvlc never draws into a
    // destroyed window, and frames do not pile up while releases overlap.
    void replaceFrame();

signals:
    void uriDropped(const QList<QUrl> &urls);
    void clicked();
    void doubleClicked();
    void wheelTurned(int notches);

private:
    void createFrame();
    void destroyRetired();

    LibPlayer::Core *core;
    QBoxLayout *layout;
    QList<QWidget *> overlays;
    QWidget *window;
    LibPlayer::VideoFrame *current = nullptr;
    QList<QPointer<QWidget>> retired;
    QString hint;
};
