#pragma once
// The windowing-system layer: everything the program asks of X11 (or, on a
// Windows build, of the Win32 API) goes through these functions. Callers stay
// platform-free; each function is safe to call when the facility is missing
// and then reports failure by its return value.

#include <QStringList>

class QWidget;

namespace Platform {

// Makes Xlib safe for the threads libvlc starts. Must run before any other
// X11 or Qt call in the process.
void initThreads();

// libvlc embeds video only into X11 windows: when the user forces no Qt
// platform (no QT_QPA_PLATFORM, no -platform argument) and the session is a
// Wayland one, select Qt's xcb platform (XWayland). Call before the
// application object exists.
void preferEmbeddablePlatform(int argc, char **argv);

// Pure decision behind preferEmbeddablePlatform.
bool needsXcbPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                      const QByteArray &sessionType, const QStringList &arguments);

// Qt loads its OpenGL integration (GLX, a software rasteriser) for the first
// window although the program draws nothing with Qt's OpenGL; libvlc's video
// output makes its own GL context. Turns that integration off unless the user
// chose one. Call before the application object exists.
void skipQtOpenGlIntegration();

// Keeps the top-level window above others (on) or lets it go back to the
// normal stacking (off). Returns whether the request was delivered.
bool setStayOnTop(QWidget *window, bool on);

} // namespace Platform
