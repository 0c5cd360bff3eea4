#pragma once

#include "geometrymath.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

#include <functional>

class QEvent;
class QLabel;
class QWidget;

// The geometry of the player window: the display-ratio lock, resizing from
// the bottom-right grip (the window's only resize handle), snapping to the
// edges and corners of the screen holding the window, the layout restored at
// start, full screen, the bars laid over the video and the title label's room
// in the top bar. The arithmetic is in geometrymath.h.
//
// Settings read: "Layout/Main/position", "Layout/Main/size",
// "Layout/Main/fullscreen" (written by the frame's layoutSaveSettings).
// GUI thread only.
class WindowGeometry : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QWidget *window = nullptr;
        QWidget *bottomBar = nullptr;
        QWidget *timeSlider = nullptr; // lies directly on top of the bottom bar
        QWidget *grip = nullptr;
        QLabel *titleLabel = nullptr;
        QList<QWidget *> titleButtons; // the top bar's buttons beside the title
        std::function<void()> layoutDefault; // the frame's default geometry
    };

    explicit WindowGeometry(Parts parts, QObject *parent = nullptr);
    ~WindowGeometry() override;

    GeometryMath::DisplayRatio displayRatio() const { return ratio; }

    // This window is an additional video window (another instance runs): a
    // restored layout is offset 40 pixels right and down.
    void setAdditionalWindow(bool additional) { additionalWindow = additional; }

    // The stored layout, put where today's screens can show it; the default
    // one when nothing is stored. May leave the window full screen. The
    // stored size's ratio is the display ratio until a medium announces one.
    void loadLayout();

    // A display ratio announced by the engine (terms may be zero).
    void changeDisplayRatio(uint width, uint height);
    // Back to 16:9 (audio); the window follows unless it is full screen.
    void useDefaultRatio();

    void setFullScreen(bool on);

    // From the window's resize and move events.
    void windowResized(const QSize &size);
    void windowMoved();
    // Every event of the window's event filter; handles the grip's.
    void filterEvent(QObject *watched, QEvent *event);

    // The bottom bar and the time slider along the window's bottom edge.
    void layoutBottomBar();
    // The title aligned left when the top bar is too narrow for it, centred
    // otherwise; the label takes the room the buttons leave (the bar lays it
    // out, shortening a long title).
    void fitTitle(int windowWidth);

private:
    void layoutBottomBar(int width);

    Parts parts;
    GeometryMath::DisplayRatio ratio;
    bool additionalWindow = false;
    bool gripDragging = false;
    QPoint gripOrigin;
    QRect normalGeometry; // before full screen
    // The last size the lock asked for: a window manager that refuses it is
    // not asked again and again.
    QSize lockRequest;
    // The bars are laid out again a little later: the top-level window can
    // settle its size after the resize event (window manager, full screen).
    QTimer shortLayout;
    QTimer longLayout;
};
