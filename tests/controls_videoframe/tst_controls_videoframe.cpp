// The video frame's text lines (kept, painted centred and grown to fill the
// frame), its drops, and the resize grip's image.

#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <memory>

#include "grip.h"
#include "tarntest.h"
#include "videoframe.h"

using namespace LibPlayer;

namespace {

// Bounding box of the white pixels of what the X server shows for the frame.
QRect whiteBox(VideoFrame *frame)
{
    const QImage shot = QGuiApplication::primaryScreen()->grabWindow(frame->winId()).toImage();
    QRect box;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (qGray(shot.pixel(x, y)) > 200)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class TestControlsVideoFrame : public QObject
{
    Q_OBJECT

private slots:
    void emptyLinesCloseUp_data();
    void emptyLinesCloseUp();
    void linesArePaintedCentredAndGrown_data();
    void linesArePaintedCentredAndGrown();
    void dropPassesAllUrlsInOneSignal_data();
    void dropPassesAllUrlsInOneSignal();
    void gripShowsItsImageAtTheGivenSize();
};

void TestControlsVideoFrame::emptyLinesCloseUp_data()
{
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("gaps") << QStringList{"Audio CD", "", "Artist", ""} << QStringList{"Audio CD", "Artist"};
    QTest::newRow("all four") << QStringList{"1", "2", "3", "4"} << QStringList{"1", "2", "3", "4"};
    QTest::newRow("none") << QStringList{"", "", "", ""} << QStringList{};
}

void TestControlsVideoFrame::emptyLinesCloseUp()
{
    QFETCH(QStringList, given);
    QFETCH(QStringList, kept);
    VideoFrame frame;
    frame.setLines(QStringLiteral("old"));
    frame.setLines(given.at(0), given.at(1), given.at(2), given.at(3));
    QCOMPARE(frame.textLines(), kept);
}

void TestControlsVideoFrame::linesArePaintedCentredAndGrown_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("grows");
    QTest::newRow("two lines, large frame") << QSize(800, 450) << QStringList{"Audio CD", "Track 3"} << true;
    QTest::newRow("three lines, tall frame") << QSize(400, 600) << QStringList{"Artist", "Album", "Title"} << true;
    QTest::newRow("tiny frame: base size, overflowing") << QSize(60, 40) << QStringList{"Audio CD"} << false;
    QTest::newRow("no lines: black") << QSize(300, 200) << QStringList{} << false;
}

void TestControlsVideoFrame::linesArePaintedCentredAndGrown()
{
    QFETCH(QSize, size);
    QFETCH(QStringList, lines);
    QFETCH(bool, grows);
    QWidget window;
    window.setGeometry(50, 50, size.width(), size.height());
    auto *frame = new VideoFrame(&window);
    frame->setStyleSheet(QStringLiteral(" * { background-color : rgba(0,0,0,255); } "));
    frame->setGeometry(0, 0, size.width(), size.height());
    while (lines.size() < 4)
        lines << QString();
    frame->setLines(lines.at(0), lines.at(1), lines.at(2), lines.at(3));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    frame->repaint();
    QTest::qWait(100);

    const QRect box = whiteBox(frame);
    if (lines.first().isEmpty()) {
        QVERIFY(box.isNull());
        return;
    }
    QVERIFY(!box.isNull());
    const int lineCount = int(lines.count(QString()) == 4 ? 0 : 4 - lines.count(QString()));
    const QFontMetrics base(QFont(QStringLiteral("Segoe UI Semibold, Arial"), 16, QFont::Bold), frame);
    if (grows) {
        // Centred, within the frame, and larger than at the base size.
        QVERIFY2(qAbs(box.left() - (size.width() - 1 - box.right())) <= 0.05 * size.width(),
                 qPrintable(QStringLiteral("box %1,%2 %3x%4").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height())));
        QVERIFY(qAbs(box.top() - (size.height() - 1 - box.bottom())) <= 0.15 * size.height());
        QVERIFY(QRect(QPoint(0, 0), size).contains(box));
        QVERIFY(box.height() > 1.2 * lineCount * base.height());
    } else {
        QVERIFY(box.height() <= lineCount * base.height());
        QVERIFY(box.height() >= base.ascent() / 2);
    }
}

void TestControlsVideoFrame::dropPassesAllUrlsInOneSignal_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<int>("emitted");
    QTest::newRow("three files") << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.mp3"),
                                                QUrl::fromLocalFile("/tmp/b c.mkv"),
                                                QUrl::fromLocalFile("/tmp/d.srt")} << 1;
    QTest::newRow("a network location") << QList<QUrl>{QUrl("http://127.0.0.1/stream")} << 1;
    QTest::newRow("plain text") << QList<QUrl>{} << 0;
}

void TestControlsVideoFrame::dropPassesAllUrlsInOneSignal()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(int, emitted);
    VideoFrame frame;
    frame.resize(200, 100);
    QSignalSpy dropped(&frame, &VideoFrame::uriDropped);
    QMimeData mime;
    if (urls.isEmpty())
        mime.setText(QStringLiteral("just some text"));
    else
        mime.setUrls(urls);

    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    QVERIFY(enter.isAccepted());
    QCOMPARE(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);

    QCOMPARE(dropped.count(), emitted);
    if (emitted)
        QCOMPARE(dropped.first().first().value<QList<QUrl>>(), urls);
}

void TestControlsVideoFrame::gripShowsItsImageAtTheGivenSize()
{
    Grip grip(QStringLiteral(":/AppTarn/images/default/player/grip_black.png"), QSize(12, 12));
    const QPixmap pixmap = grip.pixmap(Qt::ReturnByValue);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(12, 12));
    QVERIFY(grip.hasMouseTracking());
}

TARN_TEST_MAIN(TestControlsVideoFrame)
#include "tst_controls_videoframe.moc"
