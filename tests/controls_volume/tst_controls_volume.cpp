// The volume control: mute and restore by real clicks, and the slider shown
// only under the pointer. The level images are pinned through the window's keys.

#include <QSlider>
#include <QToolButton>
#include <memory>

#include "tarntest.h"
#include "volumecontrol.h"

using namespace LibPlayer;

class TestControlsVolume : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        const QString dir = QStringLiteral(":/AppTarn/images/default/player/volume");
        host = std::make_unique<QWidget>();
        host->setGeometry(100, 100, 300, 60);
        control = new VolumeControl(dir + "_black.png", dir + "_hover.png", dir + "_less_black.png",
                                    dir + "_less_hover.png", dir + "_off_black.png", dir + "_off_hover.png", host.get());
        control->move(10, 10);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    }
    void cleanup() { host.reset(); }

    void unmuteRestoresTheValueBeforeMuting_data()
    {
        QTest::addColumn<bool>("muteByButton");
        QTest::addColumn<int>("restored");
        QTest::newRow("muted by the button") << true << 60;
        QTest::newRow("dragged to 0, never muted") << false << 100;
    }

    void unmuteRestoresTheValueBeforeMuting()
    {
        QFETCH(bool, muteByButton);
        QFETCH(int, restored);
        auto *button = control->findChild<QToolButton *>();
        control->setValue(60);
        QSignalSpy changes(control, &VolumeControl::valueChanged);
        if (muteByButton)
            QTest::mouseClick(button, Qt::LeftButton);
        else
            control->findChild<QSlider *>()->setValue(0);
        QCOMPARE(control->value(), 0);
        QCOMPARE(changes.last().first().toInt(), 0);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(control->value(), restored);
        QCOMPARE(changes.last().first().toInt(), restored);
    }

    void sliderShowsOnlyUnderThePointer()
    {
        auto *slider = control->findChild<QSlider *>();
        QTest::mouseMove(host.get(), QPoint(250, 50));
        QVERIFY(!slider->isVisible());
        QTest::mouseMove(control, QPoint(5, control->height() / 2));
        QTRY_VERIFY(slider->isVisible());
        QTest::mouseMove(host.get(), QPoint(250, 50));
        QTRY_VERIFY(!slider->isVisible());
    }

private:
    std::unique_ptr<QWidget> host;
    VolumeControl *control = nullptr;
};

TARN_TEST_MAIN(TestControlsVolume)
#include "tst_controls_volume.moc"
