// The issue report: the e-mail rule, the report text, and the post to a real
// HTTP server on 127.0.0.1 with the dialog's fate afterwards.

#include "localhttpserver.h"
#include "logdialog.h"
#include "modalanswerer.h"
#include "reportdialog.h"
#include "reporttext.h"
#include "tarntest.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>

using TarnTest::HttpReply;
using TarnTest::LocalHttpServer;

Q_DECLARE_METATYPE(HttpReply)

class ReportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn")); }

    void emailPattern_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("plain") << "jo.doe@mail.example.org" << true;
        QTest::newRow("capitals") << "JO@EXAMPLE.COM" << true;
        QTest::newRow("every special character") << "!#$%&'*+/=?^_`{|}~-.@x.io" << true;
        QTest::newRow("six-letter ending") << "a@b.museum" << true;
        QTest::newRow("no dot after the at sign") << "a@localhost" << false;
        QTest::newRow("one-letter ending") << "a@b.c" << false;
        QTest::newRow("seven-letter ending") << "a@b.abcdefg" << false;
        QTest::newRow("no at sign") << "a.b.cd" << false;
        QTest::newRow("space") << "a b@c.de" << false;
        QTest::newRow("trailing newline") << "a@b.cd\n" << false;
        QTest::newRow("non-ASCII letter") << QString::fromUtf8("\xc3\xa9@b.cd") << false;
    }

    void emailPattern()
    {
        QFETCH(QString, address);
        QFETCH(bool, accepted);
        QCOMPARE(Common::isAcceptedEmail(address), accepted);
    }

    // With a log, the exact text is pinned by the post below.
    void reportWithoutLogEndsAfterTheDescription()
    {
        QCOMPARE(Common::composeReport(QStringLiteral("Player Tarn"), QStringLiteral("Version 1 (b)"),
                                       QStringLiteral("It & broke"), QString()),
                 QStringLiteral("Player Tarn Version 1 (b)\n\nIt & broke\n\n"));
    }

    void postEndsTheDialog_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("email");
        QTest::addColumn<HttpReply>("reply");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("warning"); // part of the failure box's text; empty: no box
        QTest::newRow("sent, & and = stay in their fields") << "  a&d=1&e=x  " << "jo+x@h.io" << HttpReply() << 1 << "";
        QTest::newRow("empty description sends nothing") << " \n " << "" << HttpReply() << 0 << "";
        QTest::newRow("server error warns and offers the text")
            << "broken" << "" << HttpReply({}, 500) << 1 << "Internal Server Error";
        HttpReply trickle; // a byte every 100 ms for 20 s: never idle, never done
        for (int i = 0; i < 200; ++i)
            trickle.chunks << "x";
        trickle.chunkDelayMs = 100;
        QTest::newRow("server trickling past the deadline warns")
            << "slow" << "" << trickle << 1 << "the server did not answer";
    }

    void postEndsTheDialog()
    {
        QFETCH(QString, description);
        QFETCH(QString, email);
        QFETCH(HttpReply, reply);
        QFETCH(int, requests);
        QFETCH(QString, warning);
        const bool warned = !warning.isEmpty();
        LocalHttpServer server;
        server.reply = reply;
        const QByteArray isolatedServer = qgetenv("PLAYER_TARN_SERVER");
        qputenv("PLAYER_TARN_SERVER", server.base().toUtf8());
        QGuiApplication::clipboard()->clear();

        QWidget window;
        LibTarnCommon::LogDialog log(QStringLiteral("log"));
        log.addNotice(QStringLiteral("[Main] hello"));
        QPointer<Common::ReportDialog> dialog =
            new Common::ReportDialog(QStringLiteral("Version 1"), QStringLiteral("Player"), false, QString(), &log, &window);
        dialog->setTimeouts({1000, 2500});
        dialog->show();
        dialog->findChild<QTextEdit *>()->setPlainText(description);
        dialog->findChild<QLineEdit *>()->setText(email);

        QString boxText;
        TarnTest::ModalAnswerer answerer([&boxText](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            boxText = box->text();
            box->button(QMessageBox::Yes)->click();
            return true;
        });
        const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
        auto post = std::find_if(buttons.cbegin(), buttons.cend(),
                                 [](QPushButton *b) { return b->text() == QLatin1String("Post report"); });
        (*post)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog, 10000);
        qputenv("PLAYER_TARN_SERVER", isolatedServer);

        QCOMPARE(server.requests.size(), requests);
        QCOMPARE(answerer.seen.size(), warned ? 1 : 0);
        if (!requests)
            return;
        const TarnTest::HttpRequest &request = server.requests.first();
        QCOMPARE(request.path, QByteArray("/Tarn/report.php"));
        QCOMPARE(request.headers.value("referer"), QByteArray("Report"));
        QCOMPARE(request.headers.value("user-agent"), QByteArray("AppTarn"));
        QCOMPARE(request.headers.value("content-type"), QByteArray("application/x-www-form-urlencoded"));
        const QString report = "Player Tarn Version 1\n\n" + description.trimmed() + "\n\n[Main] hello\n\n"
                               + QString(80, '=') + "\n\n";
        const QVector<QPair<QString, QString>> fields{
            {"p", "Player"}, {"a", "0"}, {"e", email}, {"r", "issue"}, {"d", report}};
        QCOMPARE(request.fields(), fields);
        if (warned) {
            QVERIFY2(boxText.contains(warning), qPrintable(boxText));
            QCOMPARE(QGuiApplication::clipboard()->text(), report);
        }
    }
};

TARN_TEST_MAIN(ReportTest)
#include "tst_report.moc"
