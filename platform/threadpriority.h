#pragma once

namespace Platform {

// Nice value of a lowered thread on Linux: work at 0 (playback) takes nearly
// all the processor it wants from it, yet it is not starved by other
// background work of the desktop the way a thread at 19 would be.
constexpr int LowPriorityNice = 10;

// Lowers the scheduling priority of the calling thread alone (on Linux to
// LowPriorityNice). Threads the caller starts afterwards inherit it, libvlc's
// decoder and output threads included. Returns whether the system accepted it.
bool lowerCurrentThreadPriority();

} // namespace Platform
