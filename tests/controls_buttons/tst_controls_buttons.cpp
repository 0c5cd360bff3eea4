// The bottom bar's image buttons, their track menus and the volume control,
// driven through their slots and through real clicks and pointer moves on a
// shown window. The volume level images are pinned through the window's keys.

#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <memory>

#include "audiotoolbutton.h"
#include "listtoolbutton.h"
#include "subtitletoolbutton.h"
#include "tarntest.h"
#include "titletoolbutton.h"
#include "tracktoolbutton.h"
#include "volumecontrol.h"

using namespace LibPlayer;

namespace {

const QString normal = QStringLiteral(":/AppTarn/images/default/player/titles_black.png");
const QString hover = QStringLiteral(":/AppTarn/images/default/player/titles_hover.png");

QStringList texts(QToolButton *button)
{
    QStringList result;
    for (QAction *action : button->menu()->actions())
        result << action->text();
    return result;
}

QAction *checkedEntry(QToolButton *button)
{
    const QList<QAction *> actions = button->menu()->actions();
    auto it = std::find_if(actions.cbegin(), actions.cend(), [](QAction *a) { return a->isChecked(); });
    return it == actions.cend() ? nullptr : *it;
}

// Opens the button's menu with a real click and clicks the entry in the popup.
void clickMenuEntry(QToolButton *button, QAction *action)
{
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll, action] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (popup && popup->isVisible()) {
            poll.stop();
            QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, popup->actionGeometry(action).center());
        }
    });
    poll.start(20);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

} // namespace

class ControlsButtonsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = std::make_unique<QWidget>(); host->resize(300, 40); }
    void cleanup() { host.reset(); }

    // Audio checks its first track while none is current, titles never do;
    // both report the user's choice with their own signal.
    void choiceEntryCheckedAndReported_data()
    {
        QTest::addColumn<bool>("audio");
        QTest::addColumn<int>("current"); // -1: none set
        QTest::addColumn<int>("checked"); // -100: nothing checked
        QTest::newRow("audio, no current: first entry") << true << -1 << 1;
        QTest::newRow("audio, current is the second") << true << 2 << 2;
        QTest::newRow("audio, current unknown: none") << true << 7 << -100;
        QTest::newRow("title, no current: none") << false << -1 << -100;
        QTest::newRow("title, current is the second") << false << 2 << 2;
    }

    void choiceEntryCheckedAndReported()
    {
        QFETCH(bool, audio);
        QFETCH(int, current);
        QFETCH(int, checked);
        auto *audioButton = audio ? new AudioToolButton(normal, hover, host.get()) : nullptr;
        auto *titleButton = audio ? nullptr : new TitleToolButton(normal, hover, host.get());
        QToolButton *button = audio ? static_cast<QToolButton *>(audioButton) : titleButton;
        auto reports = audio ? std::make_unique<QSignalSpy>(audioButton, &AudioToolButton::trackChanged)
                             : std::make_unique<QSignalSpy>(titleButton, &TitleToolButton::titleChanged);
        if (current != -1)
            audio ? audioButton->setCurrentTrack(current) : titleButton->setCurrent(current);
        for (int id : {1, 2}) {
            const QString name = QStringLiteral("Entry %1").arg(id);
            audio ? audioButton->addTrack(id, name) : titleButton->addTitle(id, name);
        }
        QAction *entry = checkedEntry(button);
        QCOMPARE(entry ? entry->data().toInt() : -100, checked);

        button->show();
        showHost();
        clickMenuEntry(button, button->menu()->actions().constLast());
        QCOMPARE(reports->count(), 1);
        QCOMPARE(reports->first().first().toInt(), 2);
        QCOMPARE(checkedEntry(button)->data().toInt(), 2);
    }

    void subtitleMenuStartsWithNoneAndNamesFileTracksByFileName()
    {
        auto *button = new SubtitleToolButton(normal, hover, host.get());
        QVERIFY(button->isHidden() && button->isEmpty());
        button->addFileTrack(3, QStringLiteral("/home/user/films/Film.en.srt"));
        QVERIFY(!button->isEmpty());
        button->addTrack(2, QStringLiteral("Track 1 - [English]"));
        button->addTrack(3, QStringLiteral("Track 2 - [Subtitle file]"));
        QCOMPARE(texts(button), (QStringList{"None", "Track 1 - [English]", "Film.en.srt"}));
        QVERIFY(checkedEntry(button) && checkedEntry(button)->data() == QVariant(-1));

        // The current track survives the reset of the next parse pass.
        button->setCurrentTrack(3);
        button->reset();
        QCOMPARE(texts(button), QStringList{"None"});
        QVERIFY(!checkedEntry(button));
        button->addTrack(3, QStringLiteral("Track 2 - [Subtitle file]"));
        QAction *current = checkedEntry(button);
        QCOMPARE(current->text(), QStringLiteral("Film.en.srt"));

        // Clicking the checked entry reports it again.
        button->show();
        showHost();
        QSignalSpy tracks(button, qOverload<int>(&SubtitleToolButton::trackChanged));
        clickMenuEntry(button, current);
        clickMenuEntry(button, current);
        QCOMPARE(tracks.count(), 2);
        QCOMPARE(tracks.last().first().toInt(), 3);
        QCOMPARE(checkedEntry(button), current);
    }

    // The count, the first track and the step to the stop after the last are
    // pinned through the window's end-of-media flow.
    void cdTracksNameTheirEntriesOrHideTheButton_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("two") << 2 << QStringList{"CD Track 1", "CD Track 2"};
        QTest::newRow("none") << 0 << QStringList{};
        QTest::newRow("negative") << -2 << QStringList{};
    }

    void cdTracksNameTheirEntriesOrHideTheButton()
    {
        QFETCH(int, count);
        QFETCH(QStringList, entries);
        auto *button = new TrackToolButton(normal, hover, host.get());
        host->show();
        button->setTrackNumber(count);
        QCOMPARE(button->isVisible(), count > 0);
        QCOMPARE(texts(button), entries);
        QCOMPARE(button->currentTrack(), count > 0 ? 1 : -1);
    }

    void playlistCommandsComeOnceAndReportThoughNotCheckable()
    {
        auto *button = new ListToolButton(normal, hover, host.get());
        showHost();
        button->addItem(1, QStringLiteral("file:///music/My%20Band/01%20First%20Song.mp3"));
        button->addItem(2, QStringLiteral("file:///music/02.mp3"));
        button->addItem(3, QStringLiteral("http://127.0.0.1:8080/"));
        QVERIFY(button->isVisible());
        const QList<QAction *> actions = button->menu()->actions();
        QCOMPARE(texts(button), (QStringList{"Save playlist as...", "Eject playlist", "", "01 First Song.mp3",
                                     "02.mp3", "http://127.0.0.1:8080/"}));
        QVERIFY(!checkedEntry(button));

        QSignalSpy spy(button, &ListToolButton::itemChanged);
        button->setItem(2);
        for (int entry : {1, 0, 4, 4})
            clickMenuEntry(button, actions.at(entry));
        QCOMPARE(spy.count(), 4);
        QCOMPARE(spy.at(0).first().toInt(), -999);
        QCOMPARE(spy.at(1).first().toInt(), -998);
        QCOMPARE(spy.at(3).first().toInt(), 2);
        QCOMPARE(checkedEntry(button), actions.at(4));

        // The entries go with a reset; they must not pile up on the button.
        button->reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(button->isHidden() && button->menu()->actions().isEmpty());
        QVERIFY(button->findChildren<QAction *>().isEmpty());
    }

    void longPlaylistMenuListsAWindowAroundTheCurrentItem()
    {
        auto *button = new ListToolButton(normal, hover, host.get());
        const int count = ListToolButton::MenuWindow * 3;
        QMap<int, QString> items;
        for (int i = 1; i <= count; ++i)
            items.insert(i, QStringLiteral("file:///m/%1.mp3").arg(i));
        button->addItem(1, items.first());
        button->setItem(count / 2); // kept when the items are replaced
        button->setItems(items);
        emit button->menu()->aboutToShow();
        const QList<QAction *> actions = button->menu()->actions();
        // Two commands, a separator, "...", the window, "...".
        QCOMPARE(actions.size(), 3 + 1 + ListToolButton::MenuWindow + 1);
        QCOMPARE(actions.at(3)->text(), QStringLiteral("..."));
        QCOMPARE(actions.at(4)->data().toInt(), count / 2 - ListToolButton::MenuWindow / 2);
        QVERIFY(checkedEntry(button) && checkedEntry(button)->data().toInt() == count / 2);
        button->setItem(count); // the last item: the window ends with it
        emit button->menu()->aboutToShow();
        QCOMPARE(button->menu()->actions().last()->data().toInt(), count);
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
        VolumeControl *control = showVolume();
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
        VolumeControl *control = showVolume();
        auto *slider = control->findChild<QSlider *>();
        QTest::mouseMove(host.get(), QPoint(250, 50));
        QVERIFY(!slider->isVisible());
        QTest::mouseMove(control, QPoint(5, control->height() / 2));
        QTRY_VERIFY(slider->isVisible());
        QTest::mouseMove(host.get(), QPoint(250, 50));
        QTRY_VERIFY(!slider->isVisible());
    }

private:
    void showHost() { host->show(); QVERIFY(QTest::qWaitForWindowExposed(host.get())); }

    VolumeControl *showVolume()
    {
        const QString dir = QStringLiteral(":/AppTarn/images/default/player/volume");
        host->setGeometry(100, 100, 300, 60);
        auto *control = new VolumeControl(dir + "_black.png", dir + "_hover.png", dir + "_less_black.png",
                                          dir + "_less_hover.png", dir + "_off_black.png", dir + "_off_hover.png", host.get());
        control->move(10, 10);
        showHost();
        return control;
    }

    std::unique_ptr<QWidget> host;
};

TARN_TEST_MAIN(ControlsButtonsTest)
#include "tst_controls_buttons.moc"
