// The video frame's text lines (kept, painted centred and grown to fill the
// frame), its drops, and the resize grip's image.

#include <QDropEvent>
#include <QMimeData>
#include <QScreen>

#include "grip.h"
#include "tarntest.h"
#include "videoframe.h"

using namespace LibPlayer;

class TestControlsVideoFrame : public QObject
{
    Q_OBJECT

private slots:
    void linesArePaintedCentredAndGrown_data();
    void linesArePaintedCentredAndGrown();
    void dropPassesAllUrlsInOneSignal_data();
    void dropPassesAllUrlsInOneSignal();
    void gripShowsItsImageAtTheGivenSize();
};

void TestControlsVideoFrame::linesArePaintedCentredAndGrown_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("painted");
    QTest::addColumn<bool>("grows");
    QTest::newRow("gaps close up") << QSize(800, 450) << QStringList{"Audio CD", "", "Track 3", ""} << 2 << true;
    QTest::newRow("tall frame") << QSize(400, 600) << QStringList{"Artist", "Album", "Title", ""} << 3 << true;
    QTest::newRow("tiny frame: base size") << QSize(60, 40) << QStringList{"Audio CD", "", "", ""} << 1 << false;
    QTest::newRow("no lines: black") << QSize(300, 200) << QStringList{"", "", "", ""} << 0 << false;
}

void TestControlsVideoFrame::linesArePaintedCentredAndGrown()
{
    QFETCH(QSize, size);
    QFETCH(QStringList, lines);
    QFETCH(int, painted);
    QFETCH(bool, grows);
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
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (qGray(shot.pixel(x, y)) > 200)
                box |= QRect(x, y, 1, 1);
        }
    }
    QCOMPARE(box.isNull(), painted == 0);
    const int baseHeight = QFontMetrics(QFont(QStringLiteral("Segoe UI Semibold, Arial"), 16, QFont::Bold), frame).height();
    if (grows) {
        QVERIFY(qAbs(box.left() - (size.width() - 1 - box.right())) <= 0.05 * size.width());
        QVERIFY(qAbs(box.top() - (size.height() - 1 - box.bottom())) <= 0.15 * size.height());
        QVERIFY(QRect(QPoint(0, 0), size).contains(box));
        QVERIFY(box.height() > 1.2 * painted * baseHeight);
    } else if (painted) {
        QVERIFY(box.height() <= painted * baseHeight);
    }
}

void TestControlsVideoFrame::dropPassesAllUrlsInOneSignal_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::newRow("three files") << QList<QUrl>{QUrl::fromLocalFile("/tmp/a.mp3"),
                                                QUrl::fromLocalFile("/tmp/b c.mkv"),
                                                QUrl::fromLocalFile("/tmp/d.srt")};
    QTest::newRow("a network location") << QList<QUrl>{QUrl("http://127.0.0.1/stream")};
    QTest::newRow("plain text") << QList<QUrl>{};
}

void TestControlsVideoFrame::dropPassesAllUrlsInOneSignal()
{
    QFETCH(QList<QUrl>, urls);
    VideoFrame frame;
    QSignalSpy dropped(&frame, &VideoFrame::uriDropped);
    QMimeData mime;
    if (urls.isEmpty())
        mime.setText(QStringLiteral("just some text"));
    else
        mime.setUrls(urls);

    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &drop);

    QCOMPARE(dropped.count(), urls.isEmpty() ? 0 : 1);
    if (!urls.isEmpty())
        QCOMPARE(dropped.first().first().value<QList<QUrl>>(), urls);
}

void TestControlsVideoFrame::gripShowsItsImageAtTheGivenSize()
{
    Grip grip(QStringLiteral(":/AppTarn/images/default/player/grip_black.png"), QSize(12, 12));
    QCOMPARE(grip.pixmap(Qt::ReturnByValue).size(), QSize(12, 12));
}

TARN_TEST_MAIN(TestControlsVideoFrame)
#include "tst_controls_videoframe.moc"
