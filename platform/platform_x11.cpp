#include "platform.h"

#include <QByteArray>
#include <QWidget>

#include <X11/Xlib.h>

namespace Platform {

void initThreads()
{
    XInitThreads();
}

bool needsXcbPlatform(const QByteArray &qpaPlatform, const QByteArray &waylandDisplay,
                      const QByteArray &sessionType, const QStringList &arguments)
{
    if (!qpaPlatform.isEmpty())
        return false;
    if (arguments.contains(QStringLiteral("-platform")) || arguments.contains(QStringLiteral("--platform")))
        return false;
    return !waylandDisplay.isEmpty() || sessionType == "wayland";
}

void preferEmbeddablePlatform(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (needsXcbPlatform(qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"),
                         qgetenv("XDG_SESSION_TYPE"), arguments))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

void skipQtOpenGlIntegration()
{
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

bool setStayOnTop(QWidget *window, bool on)
{
    if (!window)
        return false;
    window = window->window();
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;

    // EWMH: a mapped window asks the window manager through a client message
    // to the root window; an unmapped one gets the state when Qt maps it.
    const Window xwindow = static_cast<Window>(window->winId());
    const Atom wmState = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    bool delivered = false;
    if (window->isVisible()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.serial = 0;
        event.xclient.send_event = True;
        event.xclient.display = display;
        event.xclient.window = xwindow;
        event.xclient.message_type = wmState;
        event.xclient.format = 32;
        event.xclient.data.l[0] = on ? 1 : 0; // _NET_WM_STATE_ADD / _REMOVE
        event.xclient.data.l[1] = static_cast<long>(above);
        event.xclient.data.l[2] = 0;
        event.xclient.data.l[3] = 1; // source: normal application
        delivered = XSendEvent(display, DefaultRootWindow(display), False,
                               SubstructureRedirectMask | SubstructureNotifyMask, &event) != 0;
    } else {
        // Qt's xcb backend writes _NET_WM_STATE_ABOVE when it maps the window.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        delivered = true;
    }
    XFlush(display);
    XCloseDisplay(display);
    return delivered;
}

} // namespace Platform
