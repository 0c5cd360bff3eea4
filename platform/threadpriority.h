#pragma once

namespace Platform {

// Lowers the scheduling priority of the calling thread to the lowest the
// system gives an ordinary thread (on Linux the nice value 19 of this thread
// alone). Threads the caller starts afterwards inherit it, libvlc's decoder
// and output threads included. Returns whether the system accepted it.
bool lowerCurrentThreadPriority();

} // namespace Platform
