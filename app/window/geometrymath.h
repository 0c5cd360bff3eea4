#pragma once
// The arithmetic of the player window's geometry, without widgets: the
// display-ratio lock, snapping to the edges and corners of a screen, and
// where a stored layout goes on today's screens.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

namespace GeometryMath {

// Display ratio of the window, width:height; 16:9 by default, for audio and
// whenever a stream announces an unusable ratio.
struct DisplayRatio
{
    uint width = 16;
    uint height = 9;
    bool operator==(const DisplayRatio &other) const { return width == other.width && height == other.height; }
};

constexpr int CornerSnapDistance = 12; // Manhattan length below which a corner snaps
constexpr int EdgeSnapDistance = 6;    // distance below which an edge snaps
constexpr int AdditionalWindowOffset = 40; // right and down, for a second video window
constexpr double RatioTolerance = 0.01;

// The width that goes with height at ratio, rounded down. The product is
// taken in 64 bits, so large terms (pixel sizes) cannot wrap; a zero height
// term gives the 16:9 width.
int widthForHeight(int height, DisplayRatio ratio);

// The ratio lock: the height is kept and the width follows it; a size that
// would not fit maximum (the screen) is brought down to the largest that
// does; then each side is raised to the minimum. It depends on the height
// alone, so the same height always gives the same width and repeated locks
// never creep.
QSize lockedSize(const QSize &requested, DisplayRatio ratio, const QSize &minimum,
                 const QSize &maximum = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));

// A display ratio announced by the engine, with terms w and h.
struct RatioChange
{
    DisplayRatio ratio; // the new ratio: w:h, or 16:9 when a term is zero
    bool resize = false; // whether the window takes the new ratio's width
};
// resize holds when h is not zero and either w is not zero or the ratio w/h
// differs from the previous one by more than the tolerance (relative).
RatioChange displayRatioChange(uint w, uint h, DisplayRatio previous);

// Where a window moved to pos, with the given frame size, lands on screen (the
// full geometry of the screen holding it): into a corner whose Manhattan
// distance is below 12, else onto an edge nearer than 6 pixels, else pos. At
// most one corner or edge snaps, tested in the order top-left, top-right,
// bottom-left, bottom-right corner, then left, top, right, bottom edge.
QPoint snappedPosition(const QPoint &pos, const QSize &frameSize, const QRect &screen);

// The screen, among screens, that holds most of rect; -1 when it touches none.
int screenHolding(const QRect &rect, const QList<QRect> &screens);

// Where a stored geometry goes on today's screens (available geometries, the
// primary first or at primaryIndex): a geometry on no screen at all moves to
// the primary screen's top-left corner; a size larger than the screen holding
// it is clamped to that screen. Anything else stays as stored.
QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, int primaryIndex);

} // namespace GeometryMath
