#include "logdialog.h"
#include "desktop/defaultplayer.h"
#include "playerwindow.h"
#include "tarntest.h"

#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>

class PlayerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void menusHoldEntriesInOrder();
    void quitWritesInputSettings();
    void systemCloseDoesNotWriteInputSettings();
    void startFileIsLoggedAndOpenedLater();

private:
    static QStringList entries(QMenu *menu);
    static QMenu *submenu(QWidget *window, const QString &title);
};

void PlayerWindowTest::init()
{
    QSettings().clear();
    qApp->setProperty("appPinButton", QStringLiteral(":/AppTarn/images/app/pin_black.png"));
}

QStringList PlayerWindowTest::entries(QMenu *menu)
{
    QStringList texts;
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions)
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QMenu *PlayerWindowTest::submenu(QWidget *window, const QString &title)
{
    auto *iconButton = window->findChild<QToolButton *>(QStringLiteral("AppIconButton"));
    if (!iconButton || !iconButton->menu())
        return nullptr;
    const QList<QAction *> actions = iconButton->menu()->actions();
    for (QAction *action : actions) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

void PlayerWindowTest::menusHoldEntriesInOrder()
{
    PlayerWindow window(QString(), true);
    QMenu *media = submenu(&window, QStringLiteral("Media"));
    QMenu *options = submenu(&window, QStringLiteral("Options"));
    QMenu *help = submenu(&window, QStringLiteral("Help"));
    QVERIFY(media && options && help);
    QVERIFY(!submenu(&window, QStringLiteral("Debug")));

    QCOMPARE(entries(media), (QStringList{"Open disc", "Open file", "Open URL", "-", "Add subtitle file", "-", "Quit"}));
    QStringList optionEntries{"Check for updates at start", "Open video in new window"};
    if (Desktop::DefaultPlayer::available())
        optionEntries << "Set as default player...";
    optionEntries << "-" << "Restore default settings";
    QCOMPARE(entries(options), optionEntries);
    QCOMPARE(entries(help), (QStringList{"Player online", "Player FAQ", "Blu-ray plugin", "Keyboard shortcuts", "-", "Report issue",
                                         "Check for updates", "-", "Mirelva online", "About"}));
    QVERIFY(!media->actions().at(4)->isEnabled());
    QCOMPARE(window.minimumSize(), QSize(320, 180));
    auto *topBar = window.findChild<QToolBar *>(QStringLiteral("AppTopBar"));
    QVERIFY(topBar->styleSheet().contains(QStringLiteral("rgba(130,130,130,255)")));
}



void PlayerWindowTest::quitWritesInputSettings()
{
    {
        QSettings settings;
        settings.setValue(QStringLiteral("Input/last file"), QStringLiteral("/media/a.mkv"));
        settings.setValue(QStringLiteral("Input/last disc"), QStringLiteral("/dev/sr0"));
    }
    QPointer<PlayerWindow> window = new PlayerWindow(QString(), true);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QSettings().clear();

    QMenu *media = submenu(window, QStringLiteral("Media"));
    media->actions().last()->trigger(); // Quit

    QSettings settings;
    QCOMPARE(settings.value(QStringLiteral("Input/last file")).toString(), QStringLiteral("/media/a.mkv"));
    QCOMPARE(settings.value(QStringLiteral("Input/last disc")).toString(), QStringLiteral("/dev/sr0"));
    QVERIFY(settings.contains(QStringLiteral("Layout/Main/position")));
    QVERIFY(window->findChildren<LibTarnCommon::LogDialog *>().isEmpty());
    delete window;
}

void PlayerWindowTest::systemCloseDoesNotWriteInputSettings()
{
    QPointer<PlayerWindow> window = new PlayerWindow(QString(), true);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->close();
    QTRY_VERIFY(!window); // deleted on close

    QSettings settings;
    QVERIFY(!settings.contains(QStringLiteral("Input/last file")));
    QVERIFY(!settings.contains(QStringLiteral("Input/last disc")));
    QVERIFY(settings.contains(QStringLiteral("Layout/Main/size")));
}

void PlayerWindowTest::startFileIsLoggedAndOpenedLater()
{
    const QString file = QStringLiteral("/media/<b>clip</b>.mkv");
    PlayerWindow window(file, false);
    auto *log = window.findChild<LibTarnCommon::LogDialog *>();
    QVERIFY(log);
    QCOMPARE(log->plainText(), QStringLiteral("[Main] Opening with --start /media/<b>clip</b>.mkv"));
    QVERIFY(submenu(&window, QStringLiteral("Debug")));
}

TARN_TEST_MAIN(PlayerWindowTest)
#include "tst_playerwindow.moc"
