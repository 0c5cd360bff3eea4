// The bottom bar's image buttons and their track menus, driven through their
// slots and through real clicks on a shown window.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "audiotoolbutton.h"
#include "listtoolbutton.h"
#include "subtitletoolbutton.h"
#include "tarntest.h"
#include "titletoolbutton.h"
#include "tracktoolbutton.h"

using namespace LibPlayer;

namespace {

const QString normal = QStringLiteral(":/AppTarn/images/default/player/titles_black.png");
const QString hover = QStringLiteral(":/AppTarn/images/default/player/titles_hover.png");

QAction *checkedEntry(QToolButton *button)
{
    const QList<QAction *> actions = button->menu()->actions();
    auto it = std::find_if(actions.begin(), actions.end(), [](QAction *a) { return a->isChecked(); });
    return it == actions.end() ? nullptr : *it;
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

class TestControlsButtons : public QObject
{
    Q_OBJECT

private slots:
    void init() { host = std::make_unique<QWidget>(); host->resize(300, 40); }
    void cleanup() { host.reset(); }

    void audioFirstEntryIsCheckedOnlyWithoutCurrentTrack_data();
    void audioFirstEntryIsCheckedOnlyWithoutCurrentTrack();
    void subtitleMenuStartsWithNoneAndNamesFileTracksByFileName();
    void cdTrackCountFillsOrHides_data();
    void cdTrackCountFillsOrHides();
    void selectNextMovesOnOnlyWhenThereIsANextTrack_data();
    void selectNextMovesOnOnlyWhenThereIsANextTrack();
    void playlistCommandsComeOnceAndReportThoughNotCheckable();
    void clickingTheCheckedEntryReportsItAgain();

private:
    std::unique_ptr<QWidget> host;
};

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
    AudioToolButton button(normal, hover, host.get());
    if (current != -1)
        button.setCurrentTrack(current);
    button.addTrack(1, QStringLiteral("Track 1 - [English]"));
    QVERIFY(button.hasNoChoice());
    button.addTrack(2, QStringLiteral("Track 2 - [French]"));
    QVERIFY(!button.hasNoChoice());
    QAction *entry = checkedEntry(&button);
    QCOMPARE(entry ? entry->data().toInt() : -100, checked);
}

void TestControlsButtons::subtitleMenuStartsWithNoneAndNamesFileTracksByFileName()
{
    SubtitleToolButton button(normal, hover, host.get());
    QVERIFY(button.isHidden() && button.isEmpty());
    button.addFileTrack(3, QStringLiteral("/home/user/films/Film.en.srt"));
    QVERIFY(!button.isEmpty());
    button.addTrack(2, QStringLiteral("Track 1 - [English]"));
    button.addTrack(3, QStringLiteral("Track 2 - [Subtitle file]"));
    QList<QAction *> actions = button.menu()->actions();
    QCOMPARE(actions.size(), 3);
    QCOMPARE(actions.at(0)->text(), QStringLiteral("None"));
    QCOMPARE(actions.at(0)->data(), QVariant(-1));
    QVERIFY(actions.at(0)->isChecked());
    QCOMPARE(actions.at(2)->text(), QStringLiteral("Film.en.srt"));

    // The current track survives the reset of the next parse pass.
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
    QTest::newRow("none") << 0;
    QTest::newRow("negative") << -2;
    QTest::newRow("one") << 1;
    QTest::newRow("twelve") << 12;
}

void TestControlsButtons::cdTrackCountFillsOrHides()
{
    QFETCH(int, count);
    TrackToolButton button(normal, hover, host.get());
    host->show();
    button.show();
    button.setTrackNumber(count);
    QCOMPARE(button.isVisible(), count > 0);
    const QList<QAction *> actions = button.menu()->actions();
    QCOMPARE(actions.size(), qMax(count, 0));
    for (int n = 1; n <= count; ++n) {
        QCOMPARE(actions.at(n - 1)->text(), QStringLiteral("CD Track %1").arg(n));
        QCOMPARE(actions.at(n - 1)->isChecked(), n == 1);
    }
    QCOMPARE(button.currentTrack(), count > 0 ? 1 : -1);
}

void TestControlsButtons::selectNextMovesOnOnlyWhenThereIsANextTrack_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("checked"); // 0: nothing checked
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
    TrackToolButton button(normal, hover, host.get());
    button.setTrackNumber(count);
    if (QAction *first = checkedEntry(&button)) {
        first->actionGroup()->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        first->setChecked(false);
        if (checked > 0)
            button.menu()->actions().at(checked - 1)->setChecked(true);
    }
    QCOMPARE(button.isLast(), checked == count && count > 0);
    QSignalSpy spy(&button, &TrackToolButton::trackChanged);
    button.selectNext();
    QCOMPARE(spy.count(), next == -1 ? 0 : 1);
    QCOMPARE(button.currentTrack(), next == -1 ? (checked ? checked : -1) : next);
}

void TestControlsButtons::playlistCommandsComeOnceAndReportThoughNotCheckable()
{
    ListToolButton button(normal, hover, host.get());
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    button.addItem(1, QStringLiteral("file:///music/My%20Band/01%20First%20Song.mp3"));
    button.addItem(2, QStringLiteral("file:///music/02.mp3"));
    button.addItem(3, QStringLiteral("http://127.0.0.1:8080/"));
    QVERIFY(button.isVisible());
    const QList<QAction *> actions = button.menu()->actions();
    QStringList texts;
    for (QAction *action : actions)
        texts << action->text();
    QCOMPARE(texts, (QStringList{"Save playlist as...", "Eject playlist", "", "01 First Song.mp3",
                                 "02.mp3", "http://127.0.0.1:8080/"}));
    QVERIFY(!checkedEntry(&button));

    QSignalSpy spy(&button, &ListToolButton::itemChanged);
    button.setItem(2);
    clickMenuEntry(&button, actions.at(1));
    clickMenuEntry(&button, actions.at(0));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).first().toInt(), -999);
    QCOMPARE(spy.at(1).first().toInt(), -998);
    QCOMPARE(checkedEntry(&button), actions.at(4));

    // The entries go with a reset; they must not pile up on the button.
    button.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(button.isHidden() && button.menu()->actions().isEmpty());
    QVERIFY(button.findChildren<QAction *>().isEmpty());
}

void TestControlsButtons::clickingTheCheckedEntryReportsItAgain()
{
    auto *subtitle = new SubtitleToolButton(normal, hover, host.get());
    subtitle->addTrack(4, QStringLiteral("English"));
    subtitle->move(40, 0);
    subtitle->show();
    auto *list = new ListToolButton(normal, hover, host.get());
    list->addItem(1, QStringLiteral("file:///a.mp3"));
    host->show();
    QVERIFY(QTest::qWaitForWindowExposed(host.get()));
    QSignalSpy tracks(subtitle, qOverload<int>(&SubtitleToolButton::trackChanged));
    QSignalSpy items(list, &ListToolButton::itemChanged);

    for (int click = 0; click < 2; ++click) {
        clickMenuEntry(subtitle, subtitle->menu()->actions().at(1));
        clickMenuEntry(list, list->menu()->actions().at(3));
    }
    QCOMPARE(tracks.count(), 2);
    QCOMPARE(tracks.last().first().toInt(), 4);
    QCOMPARE(items.count(), 2);
    QCOMPARE(items.last().first().toInt(), 1);
    QVERIFY(checkedEntry(subtitle)->data() == QVariant(4));
}

TARN_TEST_MAIN(TestControlsButtons)
#include "tst_controls_buttons.moc"
