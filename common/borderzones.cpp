#include "borderzones.h"

#include <algorithm>

namespace Common {

bool BorderZoneFlags::any() const
{
    return std::any_of(m_flags.begin(), m_flags.end(), [](bool flag) { return flag; });
}

bool zoneContains(BorderZone zone, const QPoint &p, int w, int h)
{
    const int c = borderCornerSize;
    const int b = borderBandWidth;
    QRect rect;
    switch (zone) {
    case BorderZone::TopLeft: rect = QRect(0, 0, c, c); break;
    case BorderZone::TopRight: rect = QRect(w - c, 0, c, c); break;
    case BorderZone::BottomRight: rect = QRect(w - c, h - c, c, c); break;
    case BorderZone::BottomLeft: rect = QRect(0, h - c, c, c); break;
    case BorderZone::Top: rect = QRect(QPoint(c, 0), QPoint(w - c - 1, b - 1)); break;
    case BorderZone::Bottom: rect = QRect(QPoint(c, h - b), QPoint(w - c - 1, h - 1)); break;
    case BorderZone::Left: rect = QRect(QPoint(0, c), QPoint(b - 1, h - c - 1)); break;
    case BorderZone::Right: rect = QRect(QPoint(w - b, c), QPoint(w - 1, h - c - 1)); break;
    }
    return rect.contains(p);
}

Qt::CursorShape zoneCursor(BorderZone zone)
{
    switch (zone) {
    case BorderZone::TopLeft:
    case BorderZone::BottomRight: return Qt::SizeFDiagCursor;
    case BorderZone::TopRight:
    case BorderZone::BottomLeft: return Qt::SizeBDiagCursor;
    case BorderZone::Left:
    case BorderZone::Right: return Qt::SizeHorCursor;
    case BorderZone::Top:
    case BorderZone::Bottom: return Qt::SizeVerCursor;
    }
    return Qt::ArrowCursor;
}

ZoneChange trackPointer(BorderZoneFlags &flags, const QPoint &point, const QSize &windowSize)
{
    const QRect window(QPoint(0, 0), windowSize);
    const QRect interior = window.adjusted(borderBandWidth, borderBandWidth, -borderBandWidth, -borderBandWidth);
    ZoneChange change;
    if (!window.contains(point))
        return change;

    if (!interior.contains(point)) {
        static const BorderZone order[] = {BorderZone::TopLeft, BorderZone::BottomRight, BorderZone::TopRight,
                                           BorderZone::BottomLeft, BorderZone::Left, BorderZone::Right,
                                           BorderZone::Top, BorderZone::Bottom};
        for (BorderZone zone : order) {
            if (zoneContains(zone, point, windowSize.width(), windowSize.height()) && !flags.isSet(zone)) {
                change.kind = ZoneChange::Kind::Enter;
                change.zone = zone;
                change.restorePrevious = flags.any();
                flags.set(zone);
                break;
            }
        }
    } else if (flags.any()) {
        change.kind = ZoneChange::Kind::Leave;
        flags.clear();
    }
    return change;
}

QRect resizedGeometry(const BorderZoneFlags &flags, const QRect &geometry, const QPoint &delta)
{
    const int w = geometry.width();
    const int h = geometry.height();
    const int dx = delta.x();
    const int dy = delta.y();
    const QPoint p0 = geometry.topLeft();

    static const BorderZone order[] = {BorderZone::BottomRight, BorderZone::BottomLeft, BorderZone::TopLeft,
                                       BorderZone::TopRight, BorderZone::Top, BorderZone::Bottom,
                                       BorderZone::Left, BorderZone::Right};
    for (BorderZone zone : order) {
        if (!flags.isSet(zone))
            continue;
        switch (zone) {
        case BorderZone::BottomRight: return QRect(p0, QSize(w + dx, h + dy));
        case BorderZone::BottomLeft: return QRect(QPoint(p0.x() + dx, p0.y()), QSize(w - dx, h + dy));
        case BorderZone::TopLeft: return QRect(p0 + delta, QSize(w - dx, h - dy));
        case BorderZone::TopRight: return QRect(QPoint(p0.x(), p0.y() + dy), QSize(w + dx, h - dy));
        case BorderZone::Top: return QRect(QPoint(p0.x(), p0.y() + dy), QSize(w, h - dy));
        case BorderZone::Bottom: return QRect(p0, QSize(w, h + dy));
        case BorderZone::Left: return QRect(QPoint(p0.x() + dx, p0.y()), QSize(w - dx, h));
        case BorderZone::Right: return QRect(p0, QSize(w + dx, h));
        }
    }
    return geometry;
}

} // namespace Common
