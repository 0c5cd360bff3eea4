#include "timeslider.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFrame>
#include <QHoverEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "timeformat.h"

namespace LibPlayer {

TimeSlider::TimeSlider(QWidget *parent)
    : QSlider(parent)
{
    hoverMarker = new QFrame(this);
    hoverMarker->setStyleSheet(QStringLiteral(
        " * { background-color: rgba(255,255,255,255); height: 6px; width : 2px;"
        "      border : none; padding : 0px; margin : 0px; }"));
    hoverMarker->hide();
    hoverMarker->setFixedSize(2, 6);

    timeTip = new QLabel(tr("00:00"), parent);
    timeTip->setStyleSheet(QStringLiteral(
        " * { color : rgba(0,0,0,255); background-color : rgba(255,255,255,255);"
        "      border : none; padding: 3px;"
        "      font-family: Segoe UI Semibold, Arial;"
        "      qproperty-alignment: AlignCenter; } "));
    timeTip->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    timeTip->adjustSize();
    timeTip->hide();
    previewTip = new QLabel(parent);
    previewTip->setObjectName(QStringLiteral("SeekPreview"));
    previewTip->setStyleSheet(QStringLiteral(
        " * { background-color : rgba(0,0,0,255); border : 1px solid rgba(255,255,255,255);"
        "      padding : 0px; margin : 0px; } "));
    previewTip->setAttribute(Qt::WA_TransparentForMouseEvents);
    previewTip->hide();
    if (parent) {
        stackUnder(timeTip);
        stackUnder(previewTip);
    }

    setEnabled(false);
    setOrientation(Qt::Horizontal);
    setTracking(false);
    setPageStep(0);
    setSingleStep(0);
    setMouseTracking(true);
    // Hover events arrive only with this attribute; without it the marker
    // would depend on the style sheet the window gives the slider.
    setAttribute(Qt::WA_Hover);
    setRange(0, positionMaximum);
    installEventFilter(this);
}

TimeSlider::~TimeSlider()
{
    // The labels belong to the parent; a replaced slider must not leave them behind.
    delete timeTip.data();
    delete previewTip.data();
}

void TimeSlider::setLengthMilliseconds(qint64 ms)
{
    const double currentMs = value() * 1000.0 / positionMaximum * lengthSeconds;
    lengthSeconds = ms / 1000.0;
    setMilliseconds(static_cast<qint64>(currentMs));
}

void TimeSlider::setLengthSeconds(double seconds)
{
    const double current = double(value()) / positionMaximum * lengthSeconds;
    lengthSeconds = seconds;
    if (seconds == 0.0)
        return;
    setPositionFromRatio(current / seconds);
}

void TimeSlider::setMilliseconds(qint64 ms)
{
    if (lengthSeconds == 0.0)
        return;
    setPositionFromRatio(ms / 1000.0 / lengthSeconds);
}

void TimeSlider::setSeconds(double seconds)
{
    if (lengthSeconds == 0.0)
        return;
    setPositionFromRatio(seconds / lengthSeconds);
}

void TimeSlider::setSliding(bool on)
{
    sliding = on;
    if (!on) {
        hideHover();
        setLoopBand(-1, -1);
        setChapterMarks({});
    }
}

void TimeSlider::setLoopBand(qint64 startMs, qint64 endMs)
{
    loopStartMs = startMs;
    loopEndMs = startMs < 0 ? -1 : endMs;
    update();
}

void TimeSlider::setChapterMarks(const QList<qint64> &startsMs)
{
    chapterStartsMs = startsMs;
    update();
}

int TimeSlider::xOfTime(qint64 ms) const
{
    if (lengthSeconds <= 0.0)
        return -1;
    return static_cast<int>(std::clamp(ms / 1000.0 / lengthSeconds, 0.0, 1.0) * width());
}

void TimeSlider::paintEvent(QPaintEvent *event)
{
    QSlider::paintEvent(event);
    if (lengthSeconds <= 0.0 || (loopStartMs < 0 && chapterStartsMs.isEmpty()))
        return;
    QPainter painter(this);
    const QColor tint(120, 170, 230, 150);
    if (loopStartMs >= 0) {
        const int left = xOfTime(loopStartMs);
        const int right = loopEndMs >= 0 ? xOfTime(loopEndMs) : left + 2;
        painter.fillRect(QRect(left, 0, std::max(2, right - left), height()), tint);
    }
    for (qint64 start : qAsConst(chapterStartsMs)) {
        const int x = xOfTime(start);
        if (x > 0)
            painter.fillRect(QRect(x, 0, 2, height() / 2), QColor(255, 255, 255, 200));
    }
}

void TimeSlider::setPositionFromRatio(double ratio)
{
    if (isSliderDown())
        return;
    const double position = std::clamp(ratio * positionMaximum, 0.0, double(positionMaximum));
    setValue(static_cast<int>(position));
}

qint64 TimeSlider::timeUnderMarker() const
{
    if (width() <= 0)
        return 0;
    return static_cast<qint64>(double(hoverMarker->x()) / width() * lengthSeconds * 1000.0);
}

void TimeSlider::showMarkerAt(int x)
{
    hoverMarker->move(x, 1);
}

void TimeSlider::hideHover()
{
    hoverMarker->hide();
    hideTips();
}

void TimeSlider::hideTips()
{
    const bool wasShown = timeTip && timeTip->isVisible();
    if (timeTip)
        timeTip->hide();
    clearPreview();
    if (wasShown)
        emit hoverEnded();
}

void TimeSlider::updateTimeTip()
{
    if (!timeTip)
        return;
    const qint64 ms = timeUnderMarker();
    timeTip->setText(formatMilliseconds(ms));
    placeTimeTip();
    emit hoverTimeChanged(ms);
}

void TimeSlider::showPreview(const QImage &image)
{
    if (!previewTip || !timeTip || !timeTip->isVisible() || image.isNull())
        return;
    previewTip->setPixmap(QPixmap::fromImage(image));
    previewTip->setFixedSize(image.width() + 2, image.height() + 2);
    placePreview();
    previewTip->show();
    previewTip->raise();
}

void TimeSlider::clearPreview()
{
    if (previewTip)
        previewTip->hide();
}

void TimeSlider::placePreview()
{
    if (!previewTip || !timeTip)
        return;
    const int room = parentWidget() ? parentWidget()->width() : width();
    const int x = std::clamp(this->x() + hoverMarker->x() - previewTip->width() / 2, 0,
                             std::max(0, room - previewTip->width()));
    previewTip->move(x, timeTip->y() - previewTip->height());
}

void TimeSlider::placeTimeTip()
{
    if (!timeTip)
        return;
    timeTip->adjustSize();
    int x = hoverMarker->x() - timeTip->width() / 2;
    if (x <= 0)
        x = 0;
    x = std::min(x, width() - timeTip->width());
    // The window lays the slider at x 0; the offset keeps the label over the
    // marker anywhere else too.
    timeTip->move(this->x() + x, y() - timeTip->height());
    placePreview();
}

bool TimeSlider::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this)
        return QSlider::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (!sliding && (type == QEvent::HoverEnter || type == QEvent::HoverMove || type == QEvent::Enter)) {
        hideHover();
        return false;
    }

    switch (type) {
    case QEvent::HoverEnter:
    case QEvent::Enter: {
        int x = 0;
        if (const auto *hover = dynamic_cast<QHoverEvent *>(event))
            x = hover->pos().x();
        else if (const auto *enter = dynamic_cast<QEnterEvent *>(event))
            x = enter->pos().x();
        else
            x = mapFromGlobal(QCursor::pos()).x();
        showMarkerAt(x);
        hoverMarker->show();
        if (lengthSeconds == 0.0 || !timeTip)
            break;
        timeTip->show();
        timeTip->raise();
        updateTimeTip();
        break;
    }
    case QEvent::HoverMove: {
        const QPoint pos = static_cast<QHoverEvent *>(event)->pos();
        if (!rect().contains(pos)) {
            hideHover();
            break;
        }
        showMarkerAt(pos.x());
        if (lengthSeconds == 0.0)
            break;
        updateTimeTip();
        break;
    }
    case QEvent::HoverLeave:
    case QEvent::Leave:
        hideHover();
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && hoverMarker->isVisible())
            emit seeked(timeUnderMarker());
        break;
    default:
        break;
    }
    return false;
}

void TimeSlider::moveEvent(QMoveEvent *event)
{
    QSlider::moveEvent(event);
    if (lengthSeconds != 0.0)
        placeTimeTip();
}

void TimeSlider::hideEvent(QHideEvent *event)
{
    QSlider::hideEvent(event);
    hideTips();
}

} // namespace LibPlayer
