#pragma once

#include <QFrame>
#include <QList>
#include <QStringList>
#include <QUrl>

namespace LibPlayer {

// The video area: its native window is handed to the engine as the video
// output. When there is no picture it paints up to four lines of white text
// centred and sized to fill it (e.g. a CD track, artist and title). Dropped
// files and URLs are passed on as one uriDropped().
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

signals:
    void uriDropped(const QList<QUrl> &urls);

protected:
    void paintEvent(QPaintEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QStringList lines;
};

} // namespace LibPlayer
