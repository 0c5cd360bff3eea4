#pragma once

#include <QPointer>
#include <QSlider>

class QFrame;
class QLabel;

namespace LibPlayer {

// Thin progress bar of the playback time, range 0 to 10000. The user never
// drags the handle (the slider is disabled); while sliding is on, hovering
// shows a 2 x 6 marker and, once a length is known, a label with the time
// under the pointer above the bar, and a left click seeks to that time.
//
// The hover label is a child of the slider's parent widget so that it can
// lie above the bar; it goes with the slider. A preview picture given while
// the label shows lies framed above it, following the pointer within the
// parent's width, and hides with it.
class TimeSlider : public QSlider
{
    Q_OBJECT

public:
    explicit TimeSlider(QWidget *parent = nullptr);
    ~TimeSlider() override;

    bool isSliding() const { return sliding; }
    double length() const { return lengthSeconds; }

    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void seeked(qint64 ms);
    // The time under the pointer while the hover label shows, at every move.
    void hoverTimeChanged(qint64 ms);
    // The hover label has gone.
    void hoverEnded();

public slots:
    void setLengthMilliseconds(qint64 ms);
    void setLengthSeconds(double seconds);
    void setMilliseconds(qint64 ms);
    void setSeconds(double seconds);
    // Turning it off also takes the loop band and the chapter ticks away.
    void setSliding(bool on);
    // The A-B section as a tinted band (a tick at A while B is -1); -1 for
    // A takes it away.
    void setLoopBand(qint64 startMs, qint64 endMs);
    // Small ticks at the chapter starts; an empty list takes them away.
    void setChapterMarks(const QList<qint64> &startsMs);
    // The picture above the hover label until the hover ends or it is cleared.
    void showPreview(const QImage &image);
    void clearPreview();

protected:
    void moveEvent(QMoveEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setPositionFromRatio(double ratio);
    qint64 timeUnderMarker() const;
    void showMarkerAt(int x);
    void hideHover();
    // Hides the time label and the preview (hoverEnded when they showed).
    void hideTips();
    void updateTimeTip();
    void placeTimeTip();
    void placePreview();
    int xOfTime(qint64 ms) const;

    QPointer<QLabel> timeTip;
    QPointer<QLabel> previewTip;
    // Range maximum of the handle; not named maximum, which would hide
    // QAbstractSlider::maximum().
    int positionMaximum = 10000;
    QFrame *hoverMarker = nullptr;
    double lengthSeconds = 0.0;
    bool sliding = false;
    qint64 loopStartMs = -1;
    qint64 loopEndMs = -1;
    QList<qint64> chapterStartsMs;
};

} // namespace LibPlayer
