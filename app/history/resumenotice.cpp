#include "resumenotice.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTimer>

namespace {
const char *const noticeStyle = "QLabel { color: rgba(255,255,255,255); background-color: rgba(40,40,40,255);"
                                " font-family: Segoe UI Semibold, Arial; font-size: 14px; padding: 6px 12px; }";
// Above the bottom bar and the time line.
constexpr int BottomMargin = 64;
} // namespace

ResumeNotice::ResumeNotice(QWidget *window)
    : QLabel(window)
    , hideTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("ResumeNotice"));
    setStyleSheet(QString::fromLatin1(noticeStyle));
    setCursor(Qt::PointingHandCursor);
    hideTimer->setSingleShot(true);
    connect(hideTimer, &QTimer::timeout, this, &QWidget::hide);
    window->installEventFilter(this);
    hide();
}

void ResumeNotice::showLine(const QString &text, int milliseconds)
{
    setText(text);
    adjustSize();
    place();
    if (!testAttribute(Qt::WA_NativeWindow))
        winId();
    show();
    raise();
    hideTimer->start(milliseconds);
}

void ResumeNotice::place()
{
    const QWidget *window = parentWidget();
    move((window->width() - width()) / 2, std::max(0, window->height() - height() - BottomMargin));
}

void ResumeNotice::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        hide();
        emit clicked();
    }
}

bool ResumeNotice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        place();
    return QLabel::eventFilter(watched, event);
}
