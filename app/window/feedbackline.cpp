#include "feedbackline.h"

#include <QWindow>

namespace {

// The video frame's own font and colours: white on black.
const char *const lineStyle =
    "QLabel { color: rgba(255,255,255,255); background-color: rgba(0,0,0,255);"
    " font-family: Segoe UI Semibold, Arial; font-size: 14px; font-weight: bold; padding: 4px 8px; }";

constexpr int Margin = 12;

} // namespace

FeedbackLine::FeedbackLine(QWidget *window, const QWidget *topBar)
    : QLabel(window)
    , topBar(topBar)
{
    setObjectName(QStringLiteral("FeedbackLine"));
    setStyleSheet(QString::fromLatin1(lineStyle));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    hide();
    hideTimer.setSingleShot(true);
    hideTimer.setInterval(ShowMs);
    // time is up -> the line goes
    connect(&hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

FeedbackLine::~FeedbackLine() = default;

void FeedbackLine::showText(const QString &text)
{
    setText(text);
    adjustSize();
    // Below the top bar even while it hides, so that it never covers the line
    // when it comes back.
    move(Margin, (topBar ? topBar->height() : 0) + Margin);
    // Over the video's native window the line is a native window too, and
    // the attribute alone does not pass the X server's pointer events on to
    // the video: the window takes none, from before it first shows.
    winId();
    windowHandle()->setFlag(Qt::WindowTransparentForInput);
    show();
    raise();
    hideTimer.start();
}
