// The volume control: speaker level images, mute and restore by real clicks,
// the signals of setValue and the slider shown only under the pointer.

#include <QSlider>
#include <QToolButton>
#include <memory>

#include "tarntest.h"
#include "volumecontrol.h"

using namespace LibPlayer;

namespace {

const QString imageDir = QStringLiteral(":/AppTarn/images/default/player/");

// The speaker image the control's style sheet names for the normal state.
QString levelImage(const VolumeControl &control)
{
    const QString sheet = control.styleSheet();
    const int from = sheet.indexOf(imageDir) + imageDir.size();
    const QString normal = sheet.mid(from, sheet.indexOf(QLatin1Char(')'), from) - from);
    return sheet.contains(QString(normal).replace("_black", "_hover")) ? normal : QString();
}

} // namespace

class TestControlsVolume : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        host = std::make_unique<QWidget>();
        host->setGeometry(100, 100, 300, 60);
        control = new VolumeControl(imageDir + "volume_black.png", imageDir + "volume_hover.png",
                                    imageDir + "volume_less_black.png", imageDir + "volume_less_hover.png",
                                    imageDir + "volume_off_black.png", imageDir + "volume_off_hover.png",
                                    host.get());
        control->move(10, 10);
        host->show();
        QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    }
    void cleanup() { host.reset(); }

    void imageAndSignalsFollowTheLevel_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("image");
        QTest::newRow("off") << 0 << "volume_off_black.png";
        QTest::newRow("just below half") << 74 << "volume_less_black.png";
        QTest::newRow("half") << 75 << "volume_black.png";
    }

    void imageAndSignalsFollowTheLevel()
    {
        QFETCH(int, value);
        QFETCH(QString, image);
        QSignalSpy changes(control, &VolumeControl::valueChanged);
        control->setValue(value);
        QCOMPARE(control->value(), value);
        QCOMPARE(levelImage(*control), image);
        // Once from setValue, once through the slider it moved.
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.at(0).first().toInt(), value);
        QCOMPARE(changes.at(1).first().toInt(), value);
        control->setValue(value);
        QCOMPARE(changes.count(), 3);
    }

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
