// The window's menus and its start file, without the engine playing.
#include "desktop/defaultplayer.h"
#include "logdialog.h"
#include "playerwindow.h"
#include "tarntest.h"

#include <QMenu>
#include <QSettings>
#include <QToolButton>

namespace {

QMenu *submenu(QWidget *window, const QString &title)
{
    auto *iconButton = window->findChild<QToolButton *>(QStringLiteral("AppIconButton"));
    for (QAction *action : iconButton->menu()->actions()) {
        if (action->text() == title)
            return action->menu();
    }
    return nullptr;
}

QStringList entries(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace

class PlayerWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        qApp->setProperty("appPinButton", QStringLiteral(":/AppTarn/images/app/pin_black.png"));
    }

    void menusHoldEntriesInOrder()
    {
        PlayerWindow window(QString(), true);
        QMenu *media = submenu(&window, QStringLiteral("Media"));
        QVERIFY(!submenu(&window, QStringLiteral("Debug")));
        QCOMPARE(entries(media), (QStringList{"Open disc", "Open file", "Open folder...", "Open URL", "Recent", "-",
                                              "Add subtitle file", "Media information", "-", "Quit"}));
        QVERIFY(!media->actions().at(6)->isEnabled());
        QStringList options{"Check for updates at start", "Open video in new window"};
        if (Desktop::DefaultPlayer::available())
            options << "Set as default player...";
        QMenu *optionsMenu = submenu(&window, QStringLiteral("Options"));
        QCOMPARE(entries(optionsMenu), options << "Seek-bar previews" << "Resume playback" << "Restore playlist at start"
                                               << "Clear history" << "-" << "Restore default settings");
        // The three options that are on by default.
        for (QAction *action : optionsMenu->actions().mid(options.size() - 6, 3))
            QVERIFY2(action->isChecked(), qPrintable(action->text()));
        QCOMPARE(entries(submenu(&window, QStringLiteral("Help"))),
                 (QStringList{"Player online", "Player FAQ", "Blu-ray plugin", "Keyboard shortcuts", "-", "Report issue",
                              "Check for updates", "-", "Mirelva online", "About"}));
    }

    void startFileIsLoggedAndOpenedLater()
    {
        PlayerWindow window(QStringLiteral("/media/<b>clip</b>.mkv"), false);
        auto *log = window.findChild<LibTarnCommon::LogDialog *>();
        QVERIFY(log);
        QCOMPARE(log->plainText(), QStringLiteral("[Main] Opening with --start /media/<b>clip</b>.mkv"));
        QVERIFY(submenu(&window, QStringLiteral("Debug")));
    }
};

TARN_TEST_MAIN(PlayerWindowTest)
#include "tst_playerwindow.moc"
