#include "windowgeometry.h"

#include "settingskeys.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindow>

using namespace GeometryMath;

namespace {

constexpr int ShortLayoutDelayMs = 100;
constexpr int LongLayoutDelayMs = 800;
const QSize FallbackSize(600, 400);

QList<QRect> availableGeometries(int *primaryIndex)
{
    QList<QRect> rects;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        rects << screen->availableGeometry();
    *primaryIndex = int(screens.indexOf(QGuiApplication::primaryScreen()));
    return rects;
}

// The screen that holds most of the window, else the one under its top-left
// corner, else the primary one.
QScreen *holdingScreen(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    QList<QRect> rects;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        rects << screen->geometry();
    const int holder = screenHolding(frame, rects);
    if (holder >= 0)
        return screens.at(holder);
    if (QScreen *screen = QGuiApplication::screenAt(frame.topLeft()))
        return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

WindowGeometry::WindowGeometry(Parts parts, QObject *parent)
    : QObject(parent)
    , parts(std::move(parts))
{
    for (QTimer *timer : {&shortLayout, &longLayout}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, qOverload<>(&WindowGeometry::layoutBottomBar));
    }
    shortLayout.setInterval(ShortLayoutDelayMs);
    longLayout.setInterval(LongLayoutDelayMs);
    this->parts.grip->setCursor(Qt::SizeFDiagCursor);
}

WindowGeometry::~WindowGeometry() = default;

void WindowGeometry::loadLayout()
{
    QWidget *window = parts.window;
    QSettings settings;
    if (!settings.contains(SettingsKey::layoutPosition)) {
        parts.layoutDefault();
        return;
    }
    const bool fullScreen = settings.value(SettingsKey::layoutFullscreen, false).toBool();
    QPoint position = settings.value(SettingsKey::layoutPosition).toPoint();
    if (!fullScreen && additionalWindow)
        position += QPoint(AdditionalWindowOffset, AdditionalWindowOffset);
    QSize size = settings.value(SettingsKey::layoutSize).toSize();
    if (!size.isValid())
        size = FallbackSize;

    int primary = 0;
    const QRect placed = restoredGeometry(QRect(position, size), availableGeometries(&primary), primary);
    // Until a medium announces its own, the ratio is the stored window's: the
    // lock keeps the size the user left, not a 16:9 one of the same height.
    ratio = DisplayRatio{uint(placed.width()), uint(placed.height())};
    // Full screen too gets the stored (normal) size first: leaving full
    // screen returns to it.
    window->resize(placed.size());
    window->move(placed.topLeft());
    if (fullScreen)
        setFullScreen(true);
}

void WindowGeometry::changeDisplayRatio(uint width, uint height)
{
    const RatioChange change = displayRatioChange(width, height, ratio);
    ratio = change.ratio;
    QWidget *window = parts.window;
    if (change.resize && !window->isFullScreen())
        window->resize(widthForHeight(window->height(), ratio), window->height());
}

void WindowGeometry::useDefaultRatio()
{
    ratio = DisplayRatio();
    QWidget *window = parts.window;
    if (!window->isFullScreen())
        window->resize(widthForHeight(window->height(), ratio), window->height());
}

// Full screen is a request to the window manager; without one (or with one
// that ignores the request) the window takes the screen, and later its old
// place, by itself. With one, the geometries set here are those it sets.
void WindowGeometry::setFullScreen(bool on)
{
    QWidget *window = parts.window;
    gripDragging = false;
    // The grip resizes only a window.
    if (on)
        parts.grip->unsetCursor();
    else
        parts.grip->setCursor(Qt::SizeFDiagCursor);
    if (on) {
        if (!window->isFullScreen())
            normalGeometry = window->geometry();
        QScreen *screen = holdingScreen(window);
        window->showFullScreen();
        // Through the native window, both ways: QWidget::setGeometry would
        // drop the full-screen state, and it would change the widget at once
        // but the native window's geometry only through the window system's
        // notice, which Qt may merge with a later one; the next request
        // then looks like no change to Qt and the widget keeps its old size.
        QWindow *handle = window->windowHandle();
        if (screen && handle && window->geometry() != screen->geometry())
            handle->setGeometry(screen->geometry());
        return;
    }
    window->showNormal();
    QWindow *handle = window->windowHandle();
    if (normalGeometry.isValid() && handle && window->geometry() != normalGeometry)
        handle->setGeometry(normalGeometry);
}

void WindowGeometry::windowResized(const QSize &size)
{
    QWidget *window = parts.window;
    fitTitle(size.width());
    if (!window->isFullScreen()) {
        const QScreen *screen = holdingScreen(window);
        const QSize target = lockedSize(size, ratio, window->minimumSize(),
                                        screen ? screen->availableGeometry().size() : window->maximumSize());
        if (target == size) {
            lockRequest = QSize();
        } else if (target != lockRequest) {
            // The resize below comes back here with the target as its size,
            // except during the resize event Qt sends as the window is being
            // shown: then no event follows, and the title and the bars are
            // laid out for the target here.
            lockRequest = target;
            layoutBottomBar(target.width());
            window->resize(target);
            if (window->size() == target && !window->testAttribute(Qt::WA_WState_Visible)) {
                fitTitle(target.width());
                shortLayout.start();
                longLayout.start();
            }
            return;
        }
    }
    layoutBottomBar();
    shortLayout.start();
    longLayout.start();
}

void WindowGeometry::windowMoved()
{
    QWidget *window = parts.window;
    if (window->isFullScreen())
        return;
    const QRect frame = window->frameGeometry();
    const QScreen *screen = holdingScreen(window);
    if (!screen)
        return;
    const QPoint target = snappedPosition(frame.topLeft(), frame.size(), screen->geometry());
    // The move below comes back here and finds nothing more to do.
    if (target != frame.topLeft())
        window->move(target);
}

void WindowGeometry::filterEvent(QObject *watched, QEvent *event)
{
    if (watched != parts.grip || parts.window->isFullScreen())
        return;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->buttons() == Qt::LeftButton) {
            gripOrigin = mouse->globalPos();
            gripDragging = true;
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (gripDragging && mouse->buttons() == Qt::LeftButton) {
            const QPoint delta = mouse->globalPos() - gripOrigin;
            gripOrigin = mouse->globalPos();
            // The ratio lock then makes the width follow the height.
            parts.window->resize(parts.window->width() + delta.x(), parts.window->height() + delta.y());
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        gripDragging = false;
        break;
    default:
        break;
    }
}

void WindowGeometry::layoutBottomBar()
{
    layoutBottomBar(parts.window->width());
}

void WindowGeometry::layoutBottomBar(int width)
{
    const int height = parts.window->height();
    QWidget *bar = parts.bottomBar;
    QWidget *slider = parts.timeSlider;
    // setGeometry does nothing when the geometry is unchanged.
    bar->setGeometry(0, height - bar->height(), width, bar->height());
    slider->setGeometry(0, height - slider->height() - bar->height(), width, slider->height());
}

void WindowGeometry::fitTitle(int windowWidth)
{
    QLabel *title = parts.titleLabel;
    int buttons = 0;
    for (const QWidget *button : qAsConst(parts.titleButtons))
        buttons += button->sizeHint().width();
    const Qt::Alignment alignment = windowWidth < buttons + title->sizeHint().width()
                                        ? Qt::AlignLeft | Qt::AlignVCenter
                                        : Qt::AlignCenter;
    if (title->alignment() != alignment)
        title->setAlignment(alignment);
    // The label is not given a width of its own: the top bar lays it out in
    // whatever its buttons leave. A width fixed here from the window's width
    // could exceed the bar's, which then moves its last buttons out of sight
    // and keeps them there (a hidden label's new width does not reach the
    // bar's layout).
}
