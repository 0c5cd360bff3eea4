// The bottom bar's image buttons and their track menus, driven through their
// slots and through real clicks on a shown window.

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <memory>

#include "audiotoolbutton.h"
#include "listtoolbutton.h"
#include "playtoolbutton.h"
#include "subtitletoolbutton.h"
#include "tarntest.h"
#include "titletoolbutton.h"
#include "toolbutton.h"
#include "tracktoolbutton.h"

using namespace LibPlayer;

namespace {

const QString imageDir = QStringLiteral(":/AppTarn/images/default/player/");

QString image(const char *name)
{
    return imageDir + QLatin1String(name);
}

QAction *checkedEntry(QToolButton *button)
{
    const QList<QAction *> actions = button->menu()->actions();
    for (QAction *action : actions) {
        if (action->isChecked())
            return action;
    }
    return nullptr;
}

QAction *entryWithData(QToolButton *button, int id)
{
    const QList<QAction *> actions = button->menu()->actions();
    for (QAction *action : actions) {
        if (action->data().userType() == QMetaType::Int && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

// Opens the button's menu with a real click and clicks the entry inside the
// popup once it is on screen.
void clickMenuEntry(QToolButton *button, QAction *action)
{
    auto *poll = new QTimer;
    int tries = 0;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, &tries] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (popup && popup->isVisible() && !popup->actionGeometry(action).isEmpty()) {
            poll->stop();
            QTest::mouseClick(popup, Qt::LeftButton, Qt::NoModifier, popup->actionGeometry(action).center());
            poll->deleteLater();
        } else if (++tries > 100) {
            poll->stop();
            if (popup)
                popup->close();
            poll->deleteLater();
        }
    });
    poll->start(20);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

} // namespace

class TestControlsButtons : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void audioFirstEntryIsCheckedOnlyWithoutCurrentTrack_data();
    void audioFirstEntryIsCheckedOnlyWithoutCurrentTrack();
    void subtitleMenuStartsWithNoneAndNamesFileTracksByFileName();
    void cdTrackCountFillsOrHides_data();
    void cdTrackCountFillsOrHides();
    void selectNextMovesOnOnlyWhenThereIsANextTrack_data();
    void selectNextMovesOnOnlyWhenThereIsANextTrack();
    void playlistCommandsComeOnceAndReportWhateverTheirCheckState();
    void clickingTheCheckedEntryReportsItAgain_data();
    void clickingTheCheckedEntryReportsItAgain();
    void playButtonTogglesAndAsksForTheChange();
    void resetDeletesTheEntries();

private:
    std::unique_ptr<QWidget> host;
};

void TestControlsButtons::init()
{
    host = std::make_unique<QWidget>();
    new QHBoxLayout(host.get());
    host->resize(400, 40);
}

void TestControlsButtons::cleanup()
{
    host.reset();
}

void TestControlsButtons::audioFirstEntryIsCheckedOnlyWithoutCurrentTrack_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("checked");
    QTest::newRow("no current: first entry") << -1 << 1;
    QTest::newRow("current is the second") << 2 << 2;
    QTest::newRow("current unknown: none") << 7 << -100;
}

void TestControlsButtons::audioFirstEntryIsCheckedOnlyWithoutCurrentTrack()
{
    QFETCH(int, current);
    QFETCH(int, checked);
    AudioToolButton button(image("audio_black.png"), image("audio_hover.png"), host.get());
    if (current != -1)
        button.setCurrentTrack(current);
    QVERIFY(button.hasNoChoice());
    button.addTrack(1, QStringLiteral("Track 1 - [English]"));
    button.addTrack(2, QStringLiteral("Track 2 - [French]"));
    QVERIFY(!button.hasNoChoice());
    QAction *entry = checkedEntry(&button);
    QCOMPARE(entry ? entry->data().toInt() : -100, checked);
}

void TestControlsButtons::subtitleMenuStartsWithNoneAndNamesFileTracksByFileName()
{
    SubtitleToolButton button(image("subtitle_black.png"), image("subtitle_hover.png"), host.get());
    QVERIFY(button.isHidden());
    QVERIFY(button.isEmpty());
    QList<QAction *> actions = button.menu()->actions();
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions.first()->text(), QStringLiteral("None"));
    QCOMPARE(actions.first()->data().toInt(), -1);
    QVERIFY(actions.first()->isChecked());

    button.addFileTrack(3, QStringLiteral("/home/user/films/Film.en.srt"));
    QVERIFY(!button.isEmpty());
    button.addTrack(2, QStringLiteral("Track 1 - [English]"));
    button.addTrack(3, QStringLiteral("Track 2 - [Subtitle file]"));
    actions = button.menu()->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Track 1 - [English]"));
    QCOMPARE(actions.at(2)->text(), QStringLiteral("Film.en.srt"));

    // The current track survives the reset of the next parse pass; "None" is
    // then no longer checked and the track is again once re-announced.
    button.setCurrentTrack(3);
    button.reset();
    actions = button.menu()->actions();
    QCOMPARE(actions.size(), 1);
    QVERIFY(!actions.first()->isChecked());
    button.addTrack(3, QStringLiteral("Track 2 - [Subtitle file]"));
    QCOMPARE(checkedEntry(&button)->text(), QStringLiteral("Film.en.srt"));
}

void TestControlsButtons::cdTrackCountFillsOrHides_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("visible");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("negative") << -2 << false;
    QTest::newRow("one") << 1 << true;
    QTest::newRow("twelve") << 12 << true;
}

void TestControlsButtons::cdTrackCountFillsOrHides()
{
    QFETCH(int, count);
    QFETCH(bool, visible);
    TrackToolButton button(image("titles_black.png"), image("titles_hover.png"), host.get());
    host->show();
    button.show();
    button.setTrackNumber(count);
    QCOMPARE(button.isVisible(), visible);
    QCOMPARE(button.isEmpty(), !visible);
    const QList<QAction *> actions = button.menu()->actions();
    QCOMPARE(actions.size(), qMax(count, 0));
    for (int n = 1; n <= count; ++n) {
        QCOMPARE(actions.at(n - 1)->data().toInt(), n);
        QCOMPARE(actions.at(n - 1)->text(), QStringLiteral("CD Track %1").arg(n));
        QCOMPARE(actions.at(n - 1)->isChecked(), n == 1);
    }
    QCOMPARE(button.currentTrack(), visible ? 1 : -1);
    QCOMPARE(button.isLast(), count == 1);
}

void TestControlsButtons::selectNextMovesOnOnlyWhenThereIsANextTrack_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("checked"); // 0: uncheck everything
    QTest::addColumn<int>("next");    // -1: nothing reported
    QTest::newRow("first of twelve") << 12 << 1 << 2;
    QTest::newRow("eleventh of twelve") << 12 << 11 << 12;
    QTest::newRow("last of twelve") << 12 << 12 << -1;
    QTest::newRow("nothing checked") << 12 << 0 << -1;
    QTest::newRow("empty list") << 0 << 0 << -1;
}

void TestControlsButtons::selectNextMovesOnOnlyWhenThereIsANextTrack()
{
    QFETCH(int, count);
    QFETCH(int, checked);
    QFETCH(int, next);
    TrackToolButton button(image("titles_black.png"), image("titles_hover.png"), host.get());
    button.setTrackNumber(count);
    if (checked > 0) {
        entryWithData(&button, checked)->setChecked(true);
    } else if (QAction *entry = checkedEntry(&button)) {
        entry->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        entry->setChecked(false);
    }
    QCOMPARE(button.isLast(), checked == count && count > 0);
    QSignalSpy spy(&button, &TrackToolButton::trackChanged);
    button.selectNext();
    if (next == -1) {
        QCOMPARE(spy.count(), 0);
        QCOMPARE(button.currentTrack(), checked > 0 ? checked : -1);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), next);
        QCOMPARE(button.currentTrack(), next);
    }
}

void TestControlsButtons::playlistCommandsComeOnceAndReportWhateverTheirCheckState()
{
    ListToolButton button(image("titles_black.png"), image("titles_hover.png"), host.get());
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    QVERIFY(!button.isVisible());
    button.addItem(1, QStringLiteral("file:///music/My%20Band/01%20First%20Song.mp3"));
    button.addItem(2, QStringLiteral("file:///music/My%20Band/02%20Second.mp3"));
    button.addItem(3, QStringLiteral("http://127.0.0.1:8080/"));
    QVERIFY(button.isVisible());

    const QList<QAction *> actions = button.menu()->actions();
    QCOMPARE(actions.size(), 6);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("Save playlist as..."));
    QCOMPARE(actions.at(1)->text(), QStringLiteral("Eject playlist"));
    QVERIFY(actions.at(2)->isSeparator());
    QCOMPARE(actions.at(3)->text(), QStringLiteral("01 First Song.mp3"));
    QCOMPARE(actions.at(4)->text(), QStringLiteral("02 Second.mp3"));
    QCOMPARE(actions.at(5)->text(), QStringLiteral("http://127.0.0.1:8080/"));
    QVERIFY(!checkedEntry(&button));

    QSignalSpy spy(&button, &ListToolButton::itemChanged);
    button.setItem(2);
    clickMenuEntry(&button, actions.at(1));
    clickMenuEntry(&button, actions.at(0));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).first().toInt(), -999);
    QCOMPARE(spy.at(1).first().toInt(), -998);
    QCOMPARE(checkedEntry(&button), actions.at(4));
}

void TestControlsButtons::clickingTheCheckedEntryReportsItAgain_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("audio") << "audio";
    QTest::newRow("subtitle") << "subtitle";
    QTest::newRow("title") << "title";
    QTest::newRow("cd track") << "track";
    QTest::newRow("playlist") << "list";
}

void TestControlsButtons::clickingTheCheckedEntryReportsItAgain()
{
    QFETCH(QString, kind);
    const QString normal = image("titles_black.png");
    const QString hover = image("titles_hover.png");
    QToolButton *button = nullptr;
    std::unique_ptr<QSignalSpy> spy;
    if (kind == QLatin1String("audio")) {
        auto *audio = new AudioToolButton(normal, hover, host.get());
        audio->addTrack(1, QStringLiteral("One"));
        audio->addTrack(2, QStringLiteral("Two"));
        spy = std::make_unique<QSignalSpy>(audio, &AudioToolButton::trackChanged);
        button = audio;
    } else if (kind == QLatin1String("subtitle")) {
        auto *subtitle = new SubtitleToolButton(normal, hover, host.get());
        subtitle->addTrack(1, QStringLiteral("One"));
        subtitle->addTrack(2, QStringLiteral("Two"));
        spy = std::make_unique<QSignalSpy>(subtitle, qOverload<int>(&SubtitleToolButton::trackChanged));
        button = subtitle;
    } else if (kind == QLatin1String("title")) {
        auto *title = new TitleToolButton(normal, hover, host.get());
        title->addTitle(1, QStringLiteral("One"));
        title->addTitle(2, QStringLiteral("Two"));
        spy = std::make_unique<QSignalSpy>(title, &TitleToolButton::titleChanged);
        button = title;
    } else if (kind == QLatin1String("track")) {
        auto *track = new TrackToolButton(normal, hover, host.get());
        track->setTrackNumber(2);
        spy = std::make_unique<QSignalSpy>(track, &TrackToolButton::trackChanged);
        button = track;
    } else {
        auto *list = new ListToolButton(normal, hover, host.get());
        list->addItem(1, QStringLiteral("file:///a.mp3"));
        list->addItem(2, QStringLiteral("file:///b.mp3"));
        spy = std::make_unique<QSignalSpy>(list, &ListToolButton::itemChanged);
        button = list;
    }
    host->layout()->addWidget(button);
    button->show();
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));

    QAction *second = entryWithData(button, 2);
    clickMenuEntry(button, second);
    clickMenuEntry(button, second);
    QCOMPARE(spy->count(), 2);
    QCOMPARE(spy->at(0).first().toInt(), 2);
    QCOMPARE(spy->at(1).first().toInt(), 2);
    QVERIFY(second->isChecked());
}

void TestControlsButtons::playButtonTogglesAndAsksForTheChange()
{
    auto *play = new PlayToolButton(image("play_black.png"), image("play_hover.png"),
                                    image("pause_black.png"), image("pause_hover.png"), host.get());
    auto *fullscreen = new ToolButton(image("fullscreen_black.png"), image("fullscreen_hover.png"), host.get());
    host->layout()->addWidget(play);
    host->layout()->addWidget(fullscreen);
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    QSignalSpy pauses(play, &PlayToolButton::pause);
    QSignalSpy plays(play, &PlayToolButton::play);
    QSignalSpy fired(fullscreen, &ToolButton::fired);

    QVERIFY(!play->isEnabled());
    QTest::mouseClick(play, Qt::LeftButton);
    QCOMPARE(plays.count() + pauses.count(), 0);

    play->setPlaying();
    QTest::mouseClick(play, Qt::LeftButton);
    QCOMPARE(pauses.count(), 1);
    QVERIFY(!play->isPlaying());
    QTest::mouseClick(play, Qt::LeftButton);
    QCOMPARE(plays.count(), 1);
    QVERIFY(play->isPlaying());
    QVERIFY(play->styleSheet().contains(QLatin1String("pause_hover.png")));

    play->setStopped();
    QVERIFY(!play->isEnabled());
    QVERIFY(play->styleSheet().contains(QLatin1String("play_hover.png")));

    QTest::mouseClick(fullscreen, Qt::LeftButton);
    QCOMPARE(fired.count(), 1);
}

void TestControlsButtons::resetDeletesTheEntries()
{
    // The window resets the menus on every parse pass: the old entries must
    // go, not pile up as children of the button.
    auto *list = new ListToolButton(image("titles_black.png"), image("titles_hover.png"), host.get());
    auto *audio = new AudioToolButton(image("audio_black.png"), image("audio_hover.png"), host.get());
    for (int pass = 0; pass < 3; ++pass) {
        list->reset();
        audio->reset();
        for (int i = 1; i <= 5; ++i) {
            list->addItem(i, QStringLiteral("file:///%1.mp3").arg(i));
            audio->addTrack(i, QStringLiteral("Track %1").arg(i));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QCOMPARE(list->findChildren<QAction *>().size(), 7);
    QCOMPARE(audio->findChildren<QAction *>().size(), 5);
    QCOMPARE(list->menu()->actions().size(), 8);
    list->reset();
    QVERIFY(list->isHidden());
    QVERIFY(list->menu()->actions().isEmpty());
}

TARN_TEST_MAIN(TestControlsButtons)
#include "tst_controls_buttons.moc"
