// The video frame's text lines (their size arithmetic, then painted centred
// and grown to fill the frame) and its drops.

#include <QDropEvent>
#include <QMimeData>
#include <QScreen>

#include "tarntest.h"
#include "videoframe.h"
#include "videoframelayout.h"

using namespace LibPlayer;

class TestControlsVideoFrame : public QObject
{
    Q_OBJECT

private slots:
    void textMarginsAndSizeFollowTheFrame_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("block");
        QTest::addColumn<QSize>("margins");
        QTest::addColumn<int>("pointSize");
        // 200x50 scales to 1000x250, less 240x60 is 760x190: 3.8 x 16.
        QTest::newRow("600 px, wide block") << QSize(1000, 600) << QSize(200, 50) << QSize(240, 60) << 60;
        // 100x100 scales to 600x600, less 240x60 is 360x540: min(3.6, 5.4) x 16.
        QTest::newRow("600 px, square block") << QSize(800, 600) << QSize(100, 100) << QSize(240, 60) << 57;
        QTest::newRow("300 px, empty block") << QSize(800, 300) << QSize(0, 0) << QSize(120, 40) << 16;
        QTest::newRow("tiny frame: floors") << QSize(60, 30) << QSize(200, 50) << QSize(40, 40) << 16;
    }

    void textMarginsAndSizeFollowTheFrame()
    {
        QFETCH(QSize, frame);
        QFETCH(QSize, block);
        QFETCH(QSize, margins);
        QFETCH(int, pointSize);
        QCOMPARE(videoFrameTextMargins(frame.height()), margins);
        QCOMPARE(videoFrameTextPointSize(block, frame), pointSize);
    }

    void linesArePaintedCentredAndGrown_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("painted");
        QTest::newRow("gaps close up, grown") << QSize(800, 450) << QStringList{"Audio CD", "", "Track 3", ""} << 2;
        QTest::newRow("tiny frame: base size") << QSize(60, 40) << QStringList{"Audio CD", "", "", ""} << 1;
        QTest::newRow("no lines: black") << QSize(300, 200) << QStringList{"", "", "", ""} << 0;
    }

    void linesArePaintedCentredAndGrown()
    {
        QFETCH(QSize, size);
        QFETCH(QStringList, lines);
        QFETCH(int, painted);
        QWidget window;
        window.setGeometry(50, 50, size.width(), size.height());
        auto *frame = new VideoFrame(&window);
        frame->setStyleSheet(QStringLiteral(" * { background-color : rgba(0,0,0,255); } "));
        frame->setGeometry(0, 0, size.width(), size.height());
        frame->setLines(lines.at(0), lines.at(1), lines.at(2), lines.at(3));
        QCOMPARE(frame->textLines().size(), painted);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        frame->repaint();

        // Bounding box of the white pixels the X server shows for the frame.
        const QImage shot = window.screen()->grabWindow(frame->winId()).toImage();
        QRect box;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                box |= qGray(shot.pixel(x, y)) > 200 ? QRect(x, y, 1, 1) : QRect();
        QCOMPARE(box.isNull(), painted == 0);
        const int baseHeight = QFontMetrics(QFont(QStringLiteral("Segoe UI Semibold, Arial"), 16, QFont::Bold), frame).height();
        if (painted == 0 || size.width() < 100) {
            QVERIFY(box.height() <= painted * baseHeight);
            return;
        }
        QVERIFY(qAbs(box.left() - (size.width() - 1 - box.right())) <= 0.05 * size.width());
        QVERIFY(qAbs(box.top() - (size.height() - 1 - box.bottom())) <= 0.15 * size.height());
        QVERIFY(QRect(QPoint(0, 0), size).contains(box));
        QVERIFY(box.height() > 1.2 * painted * baseHeight);
    }

    void dropPassesAllUrlsInOneSignal()
    {
        VideoFrame frame;
        QSignalSpy dropped(&frame, &VideoFrame::uriDropped);
        const QList<QUrl> urls{QUrl::fromLocalFile("/tmp/a.mp3"), QUrl::fromLocalFile("/tmp/b c.mkv"),
                               QUrl::fromLocalFile("/tmp/d.srt")};
        for (bool withUrls : {true, false}) {
            QMimeData mime;
            withUrls ? mime.setUrls(urls) : mime.setText(QStringLiteral("just some text"));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&frame, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&frame, &drop);
        }
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.first().first().value<QList<QUrl>>(), urls);
    }
};

TARN_TEST_MAIN(TestControlsVideoFrame)
#include "tst_controls_videoframe.moc"
