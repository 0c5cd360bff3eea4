// The video frame's text lines, painted centred and grown to fill the frame
// (the base size in a tiny one), its quiet hint when it has none, and its drops.

#include <QDropEvent>
#include <QMimeData>
#include <QScreen>

#include "tarntest.h"
#include "videoframe.h"

using namespace LibPlayer;

class ControlsVideoFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void linesArePaintedCentredAndGrown_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("painted");
        QTest::addColumn<QString>("hint");
        const QString hint = QStringLiteral("Drop files here, or press Ctrl+O");
        QTest::newRow("gaps close up, grown") << QSize(800, 450) << QStringList{"Audio CD", "", "Track 3", ""} << 2 << hint;
        QTest::newRow("tiny frame: base size") << QSize(60, 40) << QStringList{"Audio CD", "", "", ""} << 1 << "";
        QTest::newRow("no lines: black") << QSize(300, 200) << QStringList{"", "", "", ""} << 0 << "";
        QTest::newRow("no lines: the quiet hint") << QSize(500, 300) << QStringList{"", "", "", ""} << 0 << hint;
    }

    void linesArePaintedCentredAndGrown()
    {
        QFETCH(QSize, size);
        QFETCH(QStringList, lines);
        QFETCH(int, painted);
        QFETCH(QString, hint);
        QWidget window;
        window.setGeometry(50, 50, size.width(), size.height());
        auto *frame = new VideoFrame(&window);
        frame->setStyleSheet(QStringLiteral(" * { background-color : rgba(0,0,0,255); } "));
        frame->setGeometry(0, 0, size.width(), size.height());
        frame->setLines(lines.at(0), lines.at(1), lines.at(2), lines.at(3));
        frame->setHint(hint);
        QCOMPARE(frame->textLines().size(), painted);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        frame->repaint();

        // Bounding box of the white pixels the X server shows for the frame.
        const QImage shot = window.screen()->grabWindow(frame->winId()).toImage();
        QRect box;
        QRect greyBox; // the hint's
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                box |= qGray(shot.pixel(x, y)) > 200 ? QRect(x, y, 1, 1) : QRect();
                greyBox |= qGray(shot.pixel(x, y)) > 100 ? QRect(x, y, 1, 1) : QRect();
            }
        }
        QCOMPARE(box.isNull(), painted == 0);
        const int baseHeight = QFontMetrics(QFont(QStringLiteral("Segoe UI Semibold, Arial"), 16, QFont::Bold), frame).height();
        if (painted == 0) { // a hint: one small line in the middle, else black
            QCOMPARE(greyBox.isNull(), hint.isEmpty());
            QVERIFY(greyBox.isNull() || (qAbs(greyBox.center().x() - size.width() / 2) < 10
                                         && qAbs(greyBox.center().y() - size.height() / 2) < 10
                                         && greyBox.height() < baseHeight));
        }
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

TARN_TEST_MAIN(ControlsVideoFrameTest)
#include "tst_controls_videoframe.moc"
