#include "geometrymath.h"


#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace GeometryMath {

int widthForHeight(int height, DisplayRatio ratio)
{
    if (ratio.height == 0)
        ratio = DisplayRatio();
    const quint64 width = quint64(std::max(height, 0)) * ratio.width / ratio.height;
    return int(std::min<quint64>(width, QWIDGETSIZE_MAX));
}

QSize lockedSize(const QSize &requested, DisplayRatio ratio, const QSize &minimum, const QSize &maximum)
{
    if (ratio.width == 0 || ratio.height == 0)
        ratio = DisplayRatio();
    int height = std::min(requested.height(), maximum.height());
    int width = widthForHeight(height, ratio);
    if (width > maximum.width()) {
        height = int(qint64(maximum.width()) * ratio.height / ratio.width);
        width = widthForHeight(height, ratio);
    }
    return QSize(std::max(width, minimum.width()), std::max(height, minimum.height()));
}

RatioChange displayRatioChange(uint w, uint h, DisplayRatio previous)
{
    RatioChange change;
    if (previous.height == 0 || previous.width == 0)
        previous = DisplayRatio();
    const double before = double(previous.width) / double(previous.height);
    change.resize = h != 0 && (w != 0 || std::abs(double(w) / double(h) - before) / before > RatioTolerance);
    if (w != 0 && h != 0)
        change.ratio = DisplayRatio{w, h};
    return change;
}

QPoint snappedPosition(const QPoint &pos, const QSize &frameSize, const QRect &screen)
{
    // Inclusive edges, as QRect gives them.
    const QRect frame(pos, frameSize);
    const int spanX = frame.right() - frame.left();
    const int spanY = frame.bottom() - frame.top();
    const auto corner = [](int dx, int dy) { return std::abs(dx) + std::abs(dy) < CornerSnapDistance; };
    const auto edge = [](int d) { return std::abs(d) < EdgeSnapDistance; };

    if (corner(pos.x() - screen.left(), pos.y() - screen.top()))
        return screen.topLeft();
    if (corner(frame.right() - screen.right(), frame.top() - screen.top()))
        return QPoint(screen.right() - spanX, screen.top());
    if (corner(frame.left() - screen.left(), frame.bottom() - screen.bottom()))
        return QPoint(screen.left(), screen.bottom() - spanY);
    if (corner(frame.right() - screen.right(), frame.bottom() - screen.bottom()))
        return QPoint(screen.right() - spanX, screen.bottom() - spanY);
    if (edge(pos.x() - screen.left()))
        return QPoint(screen.left(), pos.y());
    if (edge(pos.y() - screen.top()))
        return QPoint(pos.x(), screen.top());
    if (edge(frame.right() - screen.right()))
        return QPoint(screen.right() - spanX, pos.y());
    if (edge(frame.bottom() - screen.bottom()))
        return QPoint(pos.x(), screen.bottom() - spanY);
    return pos;
}

int screenHolding(const QRect &rect, const QList<QRect> &screens)
{
    int best = -1;
    qint64 bestArea = 0;
    for (int i = 0; i < screens.size(); ++i) {
        const QRect common = screens.at(i).intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

QRect restoredGeometry(const QRect &stored, const QList<QRect> &screens, int primaryIndex)
{
    if (screens.isEmpty())
        return stored;
    primaryIndex = std::clamp(primaryIndex, 0, int(screens.size()) - 1);
    QRect rect = stored;
    int holder = screenHolding(rect, screens);
    if (holder < 0) {
        holder = primaryIndex;
        rect.moveTopLeft(screens.at(holder).topLeft());
    }
    const QRect screen = screens.at(holder);
    rect.setSize(rect.size().boundedTo(screen.size()));
    return rect;
}

} // namespace GeometryMath
