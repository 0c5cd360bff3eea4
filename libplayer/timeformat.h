#pragma once
// Time texts of the bottom bar (time label and the slider's hover label).
// Pure functions, no widgets, usable from any thread.

#include <QString>

namespace LibPlayer {

// Whole seconds as "mm:ss" below one hour and "H:mm:ss" from one hour on.
// Hours are a plain count, so 25 hours read "25:00:00" instead of wrapping
// around at midnight. Negative values read as 0.
QString formatSeconds(qint64 seconds);

// Milliseconds, truncated to whole seconds, written as formatSeconds does.
QString formatMilliseconds(qint64 milliseconds);

} // namespace LibPlayer
