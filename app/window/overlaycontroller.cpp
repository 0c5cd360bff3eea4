#include "overlaycontroller.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>

OverlayController::OverlayController(QWidget *window, QList<QWidget *> overlays,
                                     std::function<QList<QMenu *>()> popupMenus)
    : QObject(window)
    , window(window)
    , overlays(std::move(overlays))
    , popupMenus(std::move(popupMenus))
{
    window->installEventFilter(this);
    // focus to another window of the program (a dialog, the log window)
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (!mayBlank())
            restoreCursor();
    });
}

OverlayController::~OverlayController()
{
    restoreCursor();
}

bool OverlayController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window) {
        switch (event->type()) {
        case QEvent::WindowStateChange:
            if (!window->isFullScreen())
                restoreCursor();
            break;
        case QEvent::WindowBlocked:
            blocked = true;
            restoreCursor();
            break;
        case QEvent::WindowUnblocked:
            blocked = false;
            break;
        case QEvent::WindowDeactivate:
        case QEvent::Hide:
            restoreCursor();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool OverlayController::mayBlank() const
{
    if (blocked)
        return false;
    const QWindow *focus = QGuiApplication::focusWindow();
    return !focus || focus == window->windowHandle();
}

void OverlayController::start(int delayMs)
{
    auto *timer = new QTimer(this);
    timer->setInterval(TickMs);
    connect(timer, &QTimer::timeout, this, &OverlayController::tick);
    QTimer::singleShot(delayMs, timer, qOverload<>(&QTimer::start));
}

bool OverlayController::menuOpen(const QPoint &globalPos, bool mustContain) const
{
    const QList<QMenu *> menus = popupMenus();
    for (const QMenu *menu : menus) {
        if (menu && menu->isVisible() && (!mustContain || menu->geometry().contains(globalPos)))
            return true;
    }
    return false;
}

void OverlayController::tick()
{
    // Nothing is resized, shown or raised unless it has to be: an idle
    // player must not repaint every tick.
    const int width = window->width();
    for (QWidget *overlay : qAsConst(overlays)) {
        if (overlay->width() != width)
            overlay->resize(width, overlay->height());
    }
    const QPoint pos = QCursor::pos();
    const bool inside = window->frameGeometry().contains(pos);
    const bool moved = pos != lastCursorPos;
    lastCursorPos = pos;
    if (window->isFullScreen()) {
        if (inside && moved) {
            restoreCursor();
            showOverlays();
            cursorCountdown = IdleTicks;
        } else if (!mayBlank()) {
            restoreCursor();
        } else if (!inside) {
            hideOverlays();
            blankCursor();
        } else if (!menuOpen(pos, false) && --cursorCountdown < 0) {
            hideOverlays();
            blankCursor();
        }
        return;
    }
    // In a window the cursor stays; the overlays go as in full screen, so
    // that a pointer resting on the picture does not cover the subtitles.
    if (inside && moved) {
        showOverlays();
        cursorCountdown = IdleTicks;
    } else if (inside) {
        if (!menuOpen(pos, false) && --cursorCountdown < 0)
            hideOverlays();
    } else if (!menuOpen(pos, true)) {
        hideOverlays();
    }
}

void OverlayController::showOverlays()
{
    bool anyHidden = false;
    for (const QWidget *overlay : qAsConst(overlays))
        anyHidden = anyHidden || overlay->isHidden();
    if (!anyHidden)
        return;
    for (QWidget *overlay : qAsConst(overlays)) {
        overlay->show();
        overlay->raise();
    }
}

void OverlayController::hideOverlays()
{
    for (QWidget *overlay : qAsConst(overlays)) {
        if (!overlay->isHidden())
            overlay->hide();
    }
}

bool OverlayController::cursorBlank() const
{
    return blank;
}

void OverlayController::blankCursor()
{
    if (blank)
        return;
    QApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    blank = true;
}

void OverlayController::restoreCursor()
{
    if (!blank)
        return;
    QApplication::restoreOverrideCursor();
    blank = false;
}
