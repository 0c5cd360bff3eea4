#pragma once
// Border resizing of a frameless window, as plain arithmetic: which border
// zone a point lies in, which cursor it shows, and the geometry a drag in a
// zone produces. No widgets here; ModernWindow feeds it with mouse positions.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <Qt>
#include <array>

namespace Common {

// The eight zones, in the order of their flags.
enum class BorderZone { TopLeft, BottomRight, TopRight, BottomLeft, Top, Bottom, Left, Right };

constexpr int borderCornerSize = 10; // corner squares, pixels
constexpr int borderBandWidth = 4;   // edge band, pixels

// Which zone flags are set; at most one is set by enterZone.
class BorderZoneFlags
{
public:
    bool isSet(BorderZone zone) const { return m_flags[index(zone)]; }
    bool any() const;
    void set(BorderZone zone) { m_flags[index(zone)] = true; }
    void clear() { m_flags.fill(false); }

private:
    static std::size_t index(BorderZone zone) { return static_cast<std::size_t>(zone); }
    std::array<bool, 8> m_flags{};
};

// Whether point (window coordinates) lies in zone of a w x h window.
bool zoneContains(BorderZone zone, const QPoint &point, int width, int height);

Qt::CursorShape zoneCursor(BorderZone zone);

// What a pointer move over the window (not resizing) asks for.
struct ZoneChange
{
    enum class Kind { None, Enter, Leave } kind = Kind::None;
    BorderZone zone = BorderZone::TopLeft; // for Enter
    bool restorePrevious = false;          // for Enter: an override cursor is active
};

// Applies a pointer move to the flags: entering the first zone (in the order
// top-left, bottom-right, top-right, bottom-left, left, right, top, bottom)
// whose flag is not yet set, or leaving all zones when the point reaches the
// interior. A point outside the window changes nothing.
ZoneChange trackPointer(BorderZoneFlags &flags, const QPoint &point, const QSize &windowSize);

// The geometry after dragging by (dx, dy) in the first set zone (order
// bottom-right, bottom-left, top-left, top-right, top, bottom, left, right).
// Returns geometry unchanged when no flag is set.
QRect resizedGeometry(const BorderZoneFlags &flags, const QRect &geometry, const QPoint &delta);

} // namespace Common
