// Time label texts and the time slider's handle, hover marker, hover label
// and click-to-seek, with the real pointer moved over a shown window.

#include <QFrame>
#include <QLabel>
#include <QWindow>
#include <memory>

#include "tarntest.h"
#include "timelabel.h"
#include "timeslider.h"

using namespace LibPlayer;

namespace {
constexpr int sliderWidth = 400;
constexpr int sliderY = 60;
constexpr qint64 resetLabel = -1;
} // namespace

class ControlsTimeTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        host = std::make_unique<QWidget>();
        host->setGeometry(100, 100, sliderWidth, 100);
        slider = new TimeSlider(host.get());
        slider->setGeometry(0, sliderY, sliderWidth, 8);
        marker = slider->findChild<QFrame *>();
        tip = host->findChild<QLabel *>();
        QVERIFY(marker && tip);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
        pointerAway();
    }
    void cleanup() { host.reset(); }

    void labelShowsCurrentAndLength_data()
    {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<QList<qint64>>("timesMs"); // resetLabel: reset()
        QTest::addColumn<QString>("text");
        QTest::newRow("no length") << qint64(0) << QList<qint64>{75000} << "01:15";
        QTest::newRow("a second short of an hour") << qint64(0) << QList<qint64>{3599999} << "59:59";
        QTest::newRow("hours never wrap") << qint64(0) << QList<qint64>{90000000} << "25:00:00";
        QTest::newRow("with length") << qint64(4000000) << QList<qint64>{75400} << "01:15 | 1:06:40";
        QTest::newRow("no time yet") << qint64(60000) << QList<qint64>{} << "";
        QTest::newRow("back to zero keeps the text") << qint64(60000) << QList<qint64>{5000, 400} << "00:05 | 01:00";
        QTest::newRow("reset empties it") << qint64(60000) << QList<qint64>{5000, resetLabel} << "";
        QTest::newRow("reset drops the length") << qint64(60000) << QList<qint64>{5000, resetLabel, 7000} << "00:07";
    }

    void labelShowsCurrentAndLength()
    {
        QFETCH(qint64, lengthMs);
        QFETCH(QList<qint64>, timesMs);
        QFETCH(QString, text);
        TimeLabel label(host.get());
        label.setMaximum(lengthMs);
        for (qint64 ms : timesMs)
            ms == resetLabel ? label.reset() : label.update(ms);
        QCOMPARE(label.text(), text);
    }

    void handleFollowsTimeWithinRange_data()
    {
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<bool>("down");
        QTest::addColumn<int>("keptPosition");
        QTest::addColumn<qint64>("timeMs");
        QTest::addColumn<int>("position");
        QTest::newRow("half way") << qint64(100000) << false << 2000 << qint64(50000) << 5000;
        QTest::newRow("new length keeps the time") << qint64(200000) << false << 1000 << qint64(50000) << 2500;
        QTest::newRow("beyond the length clamps") << qint64(100000) << false << 2000 << qint64(250000) << 10000;
        QTest::newRow("negative time") << qint64(100000) << false << 2000 << qint64(-500) << 0;
        QTest::newRow("no length: stays") << qint64(0) << false << 2000 << qint64(50000) << 2000;
        QTest::newRow("held down: stays") << qint64(50000) << true << 2000 << qint64(30000) << 2000;
    }

    void handleFollowsTimeWithinRange()
    {
        QFETCH(qint64, lengthMs);
        QFETCH(bool, down);
        QFETCH(int, keptPosition);
        QFETCH(qint64, timeMs);
        QFETCH(int, position);
        slider->setLengthMilliseconds(100000);
        slider->setMilliseconds(20000);
        slider->setSliderDown(down);
        slider->setLengthMilliseconds(lengthMs);
        QCOMPARE(slider->value(), keptPosition);
        slider->setLengthSeconds(lengthMs / 1000.0);
        QCOMPARE(slider->value(), keptPosition);
        slider->setMilliseconds(timeMs);
        QCOMPARE(slider->value(), position);
        slider->setSeconds(timeMs / 1000.0);
        QCOMPARE(slider->value(), position);
    }

    void hoverShowsMarkerAndTimeAndLeftReleaseSeeks_data()
    {
        QTest::addColumn<bool>("sliding");
        QTest::addColumn<qint64>("lengthMs");
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("text"); // empty: no label
        QTest::addColumn<int>("button");
        QTest::addColumn<qint64>("seek"); // -1: none
        const int left = Qt::LeftButton;
        QTest::newRow("not sliding") << false << qint64(100000) << 200 << "" << left << qint64(-1);
        QTest::newRow("no length, right") << true << qint64(0) << 200 << "" << int(Qt::RightButton) << qint64(-1);
        QTest::newRow("far left") << true << qint64(100000) << 0 << "00:00" << left << qint64(0);
        QTest::newRow("middle, right") << true << qint64(100000) << 200 << "00:50" << int(Qt::RightButton) << qint64(-1);
        QTest::newRow("three quarters") << true << qint64(100000) << 300 << "01:15" << left << qint64(75000);
        QTest::newRow("far right") << true << qint64(100000) << sliderWidth - 1 << "01:39" << left << qint64(99750);
    }

    void hoverShowsMarkerAndTimeAndLeftReleaseSeeks()
    {
        QFETCH(bool, sliding);
        QFETCH(qint64, lengthMs);
        QFETCH(int, x);
        QFETCH(QString, text);
        QFETCH(int, button);
        QFETCH(qint64, seek);
        slider->setLengthMilliseconds(lengthMs);
        slider->setSliding(sliding);

        // Enter elsewhere, then move: marker and label follow the pointer.
        hoverAt(x < 200 ? 300 : 100);
        QTRY_VERIFY(slider->underMouse());
        hoverAt(x);
        if (sliding)
            QTRY_COMPARE(marker->x(), x);
        else
            QTest::qWait(50);
        QCOMPARE(marker->isVisible(), sliding);
        QCOMPARE(tip->isVisible(), !text.isEmpty());
        if (!text.isEmpty()) {
            QTRY_COMPARE(tip->text(), text);
            const QRect geometry = tip->geometry();
            QCOMPARE(geometry.bottom() + 1, sliderY);
            // Centred over the marker unless that would cross either end.
            QCOMPARE(geometry.left(), qBound(0, x - geometry.width() / 2, sliderWidth - geometry.width()));
        }

        // Through the window, as the X server delivers a click to the disabled slider.
        QSignalSpy seeks(slider, &TimeSlider::seeked);
        const QPoint at = slider->mapTo(host.get(), QPoint(x, 4));
        QTest::mousePress(host->windowHandle(), Qt::MouseButton(button), Qt::NoModifier, at);
        QTest::mouseRelease(host->windowHandle(), Qt::MouseButton(button), Qt::NoModifier, at);
        pointerAway();
        QTRY_VERIFY(!tip->isVisible() && !marker->isVisible());
        // A release that still reaches the slider after the pointer left it.
        QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, 4));
        QCOMPARE(seeks.count(), seek < 0 ? 0 : 1);
        if (seek >= 0)
            QCOMPARE(seeks.first().first().toLongLong(), seek);
    }

private:
    void hoverAt(int x) { QTest::mouseMove(slider, QPoint(x, 4)); }
    void pointerAway()
    {
        QTest::mouseMove(host.get(), QPoint(sliderWidth / 2, 10));
        QTRY_VERIFY(!slider->underMouse());
    }

    std::unique_ptr<QWidget> host;
    TimeSlider *slider = nullptr;
    QFrame *marker = nullptr;
    QLabel *tip = nullptr;
};

TARN_TEST_MAIN(ControlsTimeTest)
#include "tst_controls_time.moc"
