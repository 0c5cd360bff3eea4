#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QUrl>

namespace LibPlayer {

// The video area: its native window is handed to the engine as the video
// output. When there is no picture it paints up to four lines of white text
// centred and sized to fill it (e.g. a CD track, artist and title). Dropped
// files and URLs are passed on as one uriDropped(). Left clicks and the
// wheel over it are reported, not acted on: a single click only once no
// double click can follow (the platform's double-click interval), a double
// click at once, the wheel in whole notches.
//
// libvlc's own mouse and key handling must be off, so that the pointer events
// over the picture reach this frame's native window.
class VideoFrame : public QFrame
{
    Q_OBJECT

public:
    explicit VideoFrame(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~VideoFrame() override;

    QStringList textLines() const { return lines; }

    // Keeps the non-empty arguments, in order. Does not repaint by itself.
    void setLines(const QString &line1, const QString &line2 = QString(),
                  const QString &line3 = QString(), const QString &line4 = QString());

    // One quiet line centred on the frame while it has no lines of its own
    // (what to do with an empty player); empty for none. Repaints.
    void setHint(const QString &text);
    QString hint() const { return hintText; }

signals:
    void uriDropped(const QList<QUrl> &urls);
    void clicked();
    void doubleClicked();
    // Positive away from the user (up), one per notch of 15 degrees.
    void wheelTurned(int notches);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QStringList lines;
    QString hintText;
    QTimer singleClick;
    bool pressed = false;
    int wheelAngle = 0; // eighths of a degree not yet reported
};

} // namespace LibPlayer
