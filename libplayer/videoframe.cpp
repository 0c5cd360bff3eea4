#include "videoframe.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QPaintEvent>
#include <QPainter>

#include "videoframelayout.h"

namespace LibPlayer {

namespace {

QFont linesFont(int pointSize)
{
    QFont font(QStringLiteral("Segoe UI Semibold, Arial"), pointSize, QFont::Bold, false);
    return font;
}

// Size of the block of lines as a label would lay it out, without a widget.
QSize textBlockSize(const QFont &font, const QStringList &lines, QPaintDevice *device)
{
    const QFontMetrics metrics(font, device);
    return metrics.boundingRect(QRect(), Qt::AlignLeft, lines.join(QLatin1Char('\n'))).size();
}

} // namespace

VideoFrame::VideoFrame(QWidget *parent, Qt::WindowFlags flags)
    : QFrame(parent, flags)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // No Qt::WA_PaintOnScreen: under Qt 5 on X11 a widget with it is given no
    // paint events (QWidget has no paint engine of its own), so the lines
    // would never show. libvlc draws into a child window of its own inside
    // this frame's native window, which the backing store does not paint over.
    setAttribute(Qt::WA_MouseTracking);
    setAcceptDrops(true);
    setFocusPolicy(Qt::NoFocus);

    singleClick.setSingleShot(true);
    // no second click within the interval -> a single click
    connect(&singleClick, &QTimer::timeout, this, &VideoFrame::clicked);
}

VideoFrame::~VideoFrame() = default;

void VideoFrame::setLines(const QString &line1, const QString &line2,
                          const QString &line3, const QString &line4)
{
    lines.clear();
    for (const QString *line : {&line1, &line2, &line3, &line4}) {
        if (!line->isEmpty())
            lines.append(*line);
    }
}

void VideoFrame::setHint(const QString &text)
{
    if (text == hintText)
        return;
    hintText = text;
    update();
}

void VideoFrame::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.eraseRect(event->rect());
    if (lines.isEmpty() && !hintText.isEmpty()) {
        painter.setPen(QColor(150, 150, 150, 255));
        painter.setFont(QFont(QStringLiteral("Segoe UI Semibold, Arial"), 11));
        painter.drawText(rect(), Qt::AlignCenter, hintText);
    }
    if (lines.isEmpty())
        return;

    painter.setPen(QColor(255, 255, 255, 255));
    const QSize block = textBlockSize(linesFont(videoFrameBasePointSize), lines, this);
    const int pointSize = videoFrameTextPointSize(block, size());
    const QFont font = linesFont(pointSize);
    painter.setFont(font);

    const QSize grown = textBlockSize(font, lines, this);
    const int x = (width() - grown.width()) / 2;
    const int lineHeight = painter.fontMetrics().height();
    const int top = (height() - lines.size() * lineHeight) / 2;

    int y = top - pointSize / 2 + lineHeight;
    for (const QString &line : qAsConst(lines)) {
        painter.drawText(x, y, line);
        y += lineHeight;
    }
}

void VideoFrame::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

void VideoFrame::dropEvent(QDropEvent *event)
{
    const QMimeData *mime = event->mimeData();
    if (mime && mime->hasUrls())
        emit uriDropped(mime->urls());
}

void VideoFrame::mousePressEvent(QMouseEvent *event)
{
    pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void VideoFrame::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !pressed)
        return;
    pressed = false;
    if (rect().contains(event->pos()))
        singleClick.start(QApplication::doubleClickInterval());
}

void VideoFrame::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click: the first one is not a click.
    pressed = false;
    if (event->button() != Qt::LeftButton)
        return;
    singleClick.stop();
    emit doubleClicked();
}

void VideoFrame::wheelEvent(QWheelEvent *event)
{
    constexpr int NotchAngle = 120; // eighths of a degree
    wheelAngle += event->angleDelta().y();
    const int notches = wheelAngle / NotchAngle;
    wheelAngle -= notches * NotchAngle;
    if (notches != 0)
        emit wheelTurned(notches);
    event->accept();
}

} // namespace LibPlayer
