#pragma once
// The decisions of the frame's services, as plain functions.

#include <QChar>
#include <QList>
#include <QRect>

namespace Common {

// The drive letter of a volume unit mask: 'A' plus the index of the lowest
// set bit among bits 0 to 25; '[' (the character after 'Z') when none of
// them is set.
QChar driveLetterOf(uint unitMask);

// Whether today's screens differ from those stored at the last save: another
// count, or a screen (by index) whose available geometry is now narrower or
// lower than the stored one. stored holds the stored rectangles by index (an
// empty rectangle where none was stored).
bool screenConfigurationChanged(int storedCount, const QList<QRect> &stored, const QList<QRect> &current);

} // namespace Common
