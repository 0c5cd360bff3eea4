#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

#include <functional>

class QMenu;
class QWidget;

// The overlays of the player window (top bar, bottom bar, time slider) and
// the mouse cursor, driven by a 300 ms tick. The overlays come with a
// movement of the pointer over the window and hide about 1.8 s after the
// last one (not while a menu of the bars is open), so that they never cover
// the subtitles for long. In a window they also hide as soon as the pointer
// leaves it (unless a menu of the bars is open under it) and the cursor
// always stays; in full screen the cursor hides with them. GUI thread only.
class OverlayController : public QObject
{
    Q_OBJECT

public:
    // Idle ticks before the overlays hide.
    static constexpr int IdleTicks = 5;
    static constexpr int TickMs = 300;

    // overlays: the widgets laid over the video, each as wide as the window;
    // popupMenus: the menus that keep them up while open.
    OverlayController(QWidget *window, QList<QWidget *> overlays, std::function<QList<QMenu *>()> popupMenus);
    ~OverlayController() override;

    // Starts the ticks after delayMs.
    void start(int delayMs);
    // One tick: the pointer decides.
    void tick();

    void showOverlays();
    void hideOverlays();
    bool cursorBlank() const;
    // Blank cursor, kept until restoreCursor(); one restore always brings the
    // cursor back.
    void blankCursor();
    void restoreCursor();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool menuOpen(const QPoint &globalPos, bool mustContain) const;
    // Whether the window may hide the cursor: not blocked by a modal
    // window, and no other window of the program has the focus.
    bool mayBlank() const;

    QWidget *window;
    QList<QWidget *> overlays;
    std::function<QList<QMenu *>()> popupMenus;
    QPoint lastCursorPos;
    int cursorCountdown = IdleTicks;
    bool blank = false;
    bool blocked = false;
};
