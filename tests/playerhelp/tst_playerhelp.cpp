// The player's about box, update values, help pages, new-window option and
// fatal engine boxes, through the window's actions and slots, with the server base aimed
// at a real HTTP server on 127.0.0.1.

#include "blinklabel.h"
#include "core.h"
#include "help/playerhelp.h"
#include "localhttpserver.h"
#include "modalanswerer.h"
#include "modernmessagebox.h"
#include "playerwindow.h"
#include "tarntest.h"
#include "updatedialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QSettings>
#include <QSysInfo>

using TarnTest::LocalHttpServer;

class PlayerHelpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
        qApp->setProperty("appIcon", QStringLiteral(":/AppTarn/images/PlayerIcon64x64.png"));
        isolatedServer = qgetenv("PLAYER_TARN_SERVER");
    }

    void init()
    {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Check update"), false);
        server = std::make_unique<LocalHttpServer>();
        server->reply.chunks << "<UPDATE>no</UPDATE>";
        qputenv("PLAYER_TARN_SERVER", server->base().toUtf8());
    }

    void cleanup()
    {
        qputenv("PLAYER_TARN_SERVER", isolatedServer);
    }

    void aboutBoxShowsVersionLine()
    {
        PlayerWindow window(QString(), true);
        QStringList texts;
        TarnTest::ModalAnswerer answerer([&texts](QWidget *modal) {
            const QList<QLabel *> labels = modal->findChildren<QLabel *>();
            for (QLabel *label : labels)
                texts << (label->pixmap(Qt::ReturnByValue).isNull() ? label->text() : QStringLiteral("(icon)"));
            static_cast<QDialog *>(modal)->accept();
            return true;
        });
        action(&window, QStringLiteral("About"))->trigger();
        QVERIFY(texts.contains(QStringLiteral("(icon)")));
        const QString text = QStringLiteral("<a href='%1'>%1</a><br><br>Version 1.0 64-bit (1.0.0.0 build 1777)<br><br>"
                                            "Copyright &copy; 2015-")
                                 .arg(server->base() + QStringLiteral("/Tarn/player/"));
        QVERIFY2(texts.join('\n').contains(text), qPrintable(texts.join('\n')));
    }

    void updateRequestCarriesPlayerValues_data()
    {
        QTest::addColumn<bool>("atStart");  // "Check update" on
        QTest::addColumn<bool>("onDemand"); // Check for updates chosen (after the request at start, if any)
        QTest::addColumn<bool>("debug");
        QTest::newRow("at start") << true << false << false;
        QTest::newRow("at start, debug") << true << false << true;
        QTest::newRow("on demand") << false << true << false;
        QTest::newRow("on demand, debug") << false << true << true;
        QTest::newRow("on demand takes over the check at start: one dialog") << true << true << false;
    }

    void updateRequestCarriesPlayerValues()
    {
        QFETCH(bool, atStart);
        QFETCH(bool, onDemand);
        QFETCH(bool, debug);
        QSettings().setValue(QStringLiteral("Check update"), atStart);
        server->reply.chunks = {"<UPDATE>yes</UPDATE>"};
        server->reply.held = true;
        PlayerWindow window(QString(), !debug);
        TarnTest::ModalAnswerer answerer([this](QWidget *modal) {
            server->release();
            auto *dialog = qobject_cast<Common::ModernUpdateDialog *>(modal);
            if (!dialog || dialog->findChild<LibTarnCommon::BlinkLabel *>()->isBlinking())
                return false;
            dialog->accept();
            return true;
        });
        if (atStart)
            QTRY_COMPARE_WITH_TIMEOUT(server->requests.size(), 1, 5000);
        if (onDemand)
            action(&window, QStringLiteral("Check for updates"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(server->requests.size(), 1, 5000);
        QTest::qWait(600); // past the time of the check at start
        QCOMPARE(server->requests.size(), 1);
        QCOMPARE(answerer.seen.size(), onDemand ? 1 : 0);

        const TarnTest::HttpRequest &request = server->requests.first();
        QCOMPARE(request.method + ' ' + request.path, QByteArray("POST /Tarn/update/request.php"));
        QCOMPARE(request.headers.value("referer"), QByteArray("CheckUpdates"));
        QCOMPARE(request.headers.value("user-agent"), QByteArray("AppTarn"));
        QCOMPARE(request.headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
        const QVector<QPair<QString, QString>> fields{
            {"app", "Player"}, {"limit", ""},   {"version", "1.0.0.0"}, {"build", "1777"}, {"debug", debug ? "1" : "0"},
            {"activated", ""}, {"uuid", ""},    {"key", ""},           {"end", "0"},      {"expired", "0"},
            {"system", QSysInfo::prettyProductName()}, {"arch", "x64"}, {"user", ""}, {"name", ""}, {"mail", ""},
            {"auto", atStart ? "1" : "0"}};
        QCOMPARE(request.fields(), fields);
    }

    void videoInstanceFollowsCheckMark()
    {
        PlayerWindow window(QString(), true);
        QAction *option = action(&window, QStringLiteral("Open video in new window"));
        QVERIFY(!option->isChecked());
        option->trigger();
        QCOMPARE(QSettings().value(QStringLiteral("Input/video instance")), QVariant(true));
        option->trigger();
        QCOMPARE(QSettings().value(QStringLiteral("Input/video instance")), QVariant(false));
    }

    // The opener on PATH is a stand-in that records the address and ends
    // with the given status; "none": neither xdg-open nor any browser.
    void helpPageTheDesktopCannotOpenOffersItsAddress_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("opener"); // "ok", "fails" or "none"
        QTest::newRow("Player online, opener fails") << "Player online" << "/Tarn/player/" << "fails";
        QTest::newRow("FAQ, opener fails") << "Player FAQ" << "/Tarn/player/faq.php" << "fails";
        QTest::newRow("Blu-ray plugin, opener fails") << "Blu-ray plugin" << "/Tarn/player/mmplug/" << "fails";
        QTest::newRow("maker's page, no opener at all") << "Mirelva online" << "/Tarn/" << "none";
        QTest::newRow("opener succeeds: no box") << "Player FAQ" << "/Tarn/player/faq.php" << "ok";
    }

    void helpPageTheDesktopCannotOpenOffersItsAddress()
    {
        QFETCH(QString, entry);
        QFETCH(QString, path);
        QFETCH(QString, opener);
        QTemporaryDir bin;
        const QString record = bin.filePath(QStringLiteral("opened"));
        if (opener != QLatin1String("none")) {
            QFile script(bin.filePath(QStringLiteral("xdg-open")));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(record) + "'\n"
                         + (opener == QLatin1String("ok") ? "exit 0\n" : "echo 'no method available' >&2\nexit 3\n"));
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        qunsetenv("BROWSER");
        QGuiApplication::clipboard()->clear();

        PlayerWindow window(QString(), true);
        window.show();
        const QString address = server->base() + path;
        QStringList boxes;
        TarnTest::ModalAnswerer answerer([&boxes](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            boxes << box->text();
            const QList<QAbstractButton *> buttons = box->buttons();
            for (QAbstractButton *button : buttons)
                if (button->text() == QLatin1String("Copy address"))
                    button->click();
            return true;
        });
        action(&window, entry)->trigger();
        if (opener == QLatin1String("ok")) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 5000);
            QTest::qWait(500);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(boxes.size(), 1, 5000);
        }
        qputenv("PATH", savedPath);
        if (opener != QLatin1String("none")) {
            QFile opened(record);
            QVERIFY(opened.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(opened.readAll()), address);
        }
        if (opener == QLatin1String("ok")) {
            QCOMPARE(boxes, QStringList());
            return;
        }
        QVERIFY2(boxes.first().contains(address), qPrintable(boxes.first()));
        QCOMPARE(QGuiApplication::clipboard()->text(), address);
    }

    void engineFailureEndsWithExitCode1_data()
    {
        QTest::addColumn<QByteArray>("slot"); // empty: the box for version 2.0.8
        QTest::addColumn<QString>("text");
        QTest::newRow("engine failed to load")
            << QByteArray("playerFailedToLoad")
            << "<b>Internal error</b><br><br>Player Tarn was not able to run properly, please reinstall the application.";
        QTest::newRow("running engine's version text")
            << QByteArray("playerVersionTooOld")
            << "<b>Internal error</b><br><br>" + LibPlayer::Core::libvlcVersion().toHtmlEscaped()
                   + ".<br><br>Player Tarn requires libvlc version 2.1.0 or more recent, please install more recent version.";
        QTest::newRow("version 2.0.8")
            << QByteArray()
            << "<b>Internal error</b><br><br>2.0.8.<br><br>Player Tarn requires libvlc version 2.1.0 or more recent, "
               "please install more recent version.";
    }

    void engineFailureEndsWithExitCode1()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, text);
        PlayerWindow window(QString(), true);
        QString shown;
        TarnTest::ModalAnswerer answerer([&shown](QWidget *modal) {
            auto *box = qobject_cast<Common::ModernMessageBox *>(modal);
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
            return true;
        });
        QTimer::singleShot(0, &window, [&window, slot] {
            if (slot.isEmpty())
                PlayerHelp::engineVersionTooOld(&window, QStringLiteral("2.0.8"));
            else
                QMetaObject::invokeMethod(&window, slot.constData());
        });
        QCOMPARE(QApplication::exec(), 1);
        QCOMPARE(shown, text);
    }

private:
    QAction *action(QWidget *window, const QString &text)
    {
        const QList<QAction *> actions = window->findChildren<QAction *>();
        for (QAction *candidate : actions)
            if (candidate->text() == text)
                return candidate;
        return nullptr;
    }

    std::unique_ptr<LocalHttpServer> server;
    QByteArray isolatedServer;
};

TARN_TEST_MAIN(PlayerHelpTest)
#include "tst_playerhelp.moc"
