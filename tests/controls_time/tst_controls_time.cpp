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
} // namespace

class TestControlsTime : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { host.reset(); }

    void labelShowsCurrentAndLength_data();
    void labelShowsCurrentAndLength();
    void labelKeepsItsTextWhenTimeFallsBackToZero();
    void handleFollowsTimeWithinRange_data();
    void handleFollowsTimeWithinRange();
    void handleStaysWhileHeldDown();
    void hoverShowsMarkerAndTimeOnlyWhenKnown_data();
    void hoverShowsMarkerAndTimeOnlyWhenKnown();
    void onlyLeftReleaseOverMarkerSeeks_data();
    void onlyLeftReleaseOverMarkerSeeks();

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

void TestControlsTime::init()
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

void TestControlsTime::labelShowsCurrentAndLength_data()
{
    QTest::addColumn<qint64>("lengthMs");
    QTest::addColumn<qint64>("timeMs");
    QTest::addColumn<QString>("text");
    QTest::newRow("no length") << qint64(0) << qint64(75000) << "01:15";
    QTest::newRow("with length") << qint64(4000000) << qint64(75400) << "01:15 | 1:06:40";
    QTest::newRow("hour boundary") << qint64(3600000) << qint64(3599999) << "59:59 | 1:00:00";
    QTest::newRow("25-hour stream") << qint64(90000000) << qint64(86400000) << "24:00:00 | 25:00:00";
}

void TestControlsTime::labelShowsCurrentAndLength()
{
    QFETCH(qint64, lengthMs);
    QFETCH(qint64, timeMs);
    QFETCH(QString, text);
    TimeLabel label(host.get());
    label.setMaximum(lengthMs);
    label.update(timeMs);
    QCOMPARE(label.text(), text);
}

void TestControlsTime::labelKeepsItsTextWhenTimeFallsBackToZero()
{
    TimeLabel label(host.get());
    label.setMaximum(60000);
    QCOMPARE(label.text(), QString());
    label.update(5000);
    label.update(400);
    label.reset();
    QCOMPARE(label.text(), QStringLiteral("00:05 | 01:00"));
    label.update(7000);
    QCOMPARE(label.text(), QStringLiteral("00:07"));
}

void TestControlsTime::handleFollowsTimeWithinRange_data()
{
    QTest::addColumn<qint64>("lengthMs");
    QTest::addColumn<qint64>("timeMs");
    QTest::addColumn<int>("position");
    QTest::newRow("half way") << qint64(100000) << qint64(50000) << 5000;
    QTest::newRow("truncated") << qint64(3000) << qint64(1000) << 3333;
    QTest::newRow("beyond the length clamps") << qint64(100000) << qint64(250000) << 10000;
    QTest::newRow("negative time") << qint64(100000) << qint64(-500) << 0;
    QTest::newRow("no length: stays") << qint64(0) << qint64(50000) << 0;
}

void TestControlsTime::handleFollowsTimeWithinRange()
{
    QFETCH(qint64, lengthMs);
    QFETCH(qint64, timeMs);
    QFETCH(int, position);
    slider->setLengthMilliseconds(lengthMs);
    slider->setMilliseconds(timeMs);
    QCOMPARE(slider->value(), position);
    slider->setSeconds(timeMs / 1000.0);
    QCOMPARE(slider->value(), position);
}

void TestControlsTime::handleStaysWhileHeldDown()
{
    slider->setLengthMilliseconds(100000);
    slider->setMilliseconds(20000);
    // A new length keeps the handle on the same time.
    slider->setLengthMilliseconds(200000);
    QCOMPARE(slider->value(), 1000);
    slider->setLengthSeconds(400);
    QCOMPARE(slider->value(), 500);

    slider->setSliderDown(true);
    slider->setMilliseconds(300000);
    slider->setSeconds(300);
    slider->setLengthMilliseconds(50000);
    QCOMPARE(slider->value(), 500);
    slider->setSliderDown(false);
    slider->setMilliseconds(25000);
    QCOMPARE(slider->value(), 5000);
}

void TestControlsTime::hoverShowsMarkerAndTimeOnlyWhenKnown_data()
{
    QTest::addColumn<bool>("sliding");
    QTest::addColumn<qint64>("lengthMs");
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("text"); // empty: no label
    QTest::newRow("not sliding") << false << qint64(100000) << 200 << "";
    QTest::newRow("no length") << true << qint64(0) << 200 << "";
    QTest::newRow("far left") << true << qint64(100000) << 0 << "00:00";
    QTest::newRow("middle") << true << qint64(100000) << 200 << "00:50";
    QTest::newRow("far right") << true << qint64(100000) << sliderWidth - 1 << "01:39";
    QTest::newRow("beyond a day") << true << qint64(90000000) << 396 << "24:45:00";
}

void TestControlsTime::hoverShowsMarkerAndTimeOnlyWhenKnown()
{
    QFETCH(bool, sliding);
    QFETCH(qint64, lengthMs);
    QFETCH(int, x);
    QFETCH(QString, text);
    slider->setLengthMilliseconds(lengthMs);
    slider->setSliding(sliding);

    // Enter elsewhere, then move: marker and label follow the pointer.
    hoverAt(x < 200 ? 300 : 100);
    QTRY_VERIFY(slider->underMouse());
    hoverAt(x);
    if (!sliding) {
        QTest::qWait(50);
        QVERIFY(!marker->isVisible());
        return;
    }
    QTRY_COMPARE(marker->x(), x);
    QVERIFY(marker->isVisible());
    if (text.isEmpty()) {
        QVERIFY(!tip->isVisible());
        return;
    }
    QTRY_COMPARE(tip->text(), text);
    QVERIFY(tip->isVisible());
    const QRect geometry = tip->geometry();
    QCOMPARE(geometry.bottom() + 1, sliderY);
    // Centred over the marker unless that would cross either end.
    QCOMPARE(geometry.left(), qBound(0, x - geometry.width() / 2, sliderWidth - geometry.width()));

    pointerAway();
    QTRY_VERIFY(!tip->isVisible() && !marker->isVisible());
}

void TestControlsTime::onlyLeftReleaseOverMarkerSeeks_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("pointerStays");
    QTest::addColumn<qint64>("seek"); // -1: none
    QTest::newRow("left over the marker") << int(Qt::LeftButton) << true << qint64(75000);
    QTest::newRow("right over the marker") << int(Qt::RightButton) << true << qint64(-1);
    QTest::newRow("left after leaving") << int(Qt::LeftButton) << false << qint64(-1);
}

void TestControlsTime::onlyLeftReleaseOverMarkerSeeks()
{
    QFETCH(int, button);
    QFETCH(bool, pointerStays);
    QFETCH(qint64, seek);
    slider->setLengthMilliseconds(100000);
    slider->setSliding(true);
    hoverAt(300);
    QTRY_VERIFY(marker->isVisible());
    QSignalSpy seeks(slider, &TimeSlider::seeked);
    if (pointerStays) {
        // Through the window, as the X server delivers a click to the disabled slider.
        const QPoint at = slider->mapTo(host.get(), QPoint(300, 4));
        QTest::mousePress(host->windowHandle(), Qt::MouseButton(button), Qt::NoModifier, at);
        QTest::mouseRelease(host->windowHandle(), Qt::MouseButton(button), Qt::NoModifier, at);
    } else {
        // A release that still reaches the slider after the pointer left it.
        pointerAway();
        QTRY_VERIFY(!marker->isVisible());
        QTest::mouseRelease(slider, Qt::MouseButton(button), Qt::NoModifier, QPoint(300, 4));
    }
    QCOMPARE(seeks.count(), seek < 0 ? 0 : 1);
    if (seek >= 0)
        QCOMPARE(seeks.first().first().toLongLong(), seek);
}

TARN_TEST_MAIN(TestControlsTime)
#include "tst_controls_time.moc"
