// The update reply parser over every split of a reply, then the update client
// against a real HTTP server on 127.0.0.1, its dialogs and the blinking status line.

#include "blinklabel.h"
#include "localhttpserver.h"
#include "tarntest.h"
#include "updatedialog.h"
#include "updatehelper.h"
#include "updatereply.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>

using Common::UpdateHelper;
using TarnTest::HttpReply;
using TarnTest::LocalHttpServer;

namespace {

// A client of the test server with short time-outs.
UpdateHelper *makeClient(const LocalHttpServer &server, bool debug)
{
    auto *client = new UpdateHelper;
    client->setUrl(server.base() + QStringLiteral("/Tarn/update/request.php"));
    client->setApp(QStringLiteral("Player"));
    client->setVersion(QStringLiteral("1.0.0.0"));
    client->setDebug(debug);
    client->setTimeouts({1000, 2500});
    return client;
}

qint64 peakRssKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(HttpReply)

class UpdateCheckTest : public QObject
{
    Q_OBJECT

    // "TAG=value" for each tag with a value, joined by '|'.
    static QString render(const Common::UpdateReplyParser &parser)
    {
        static const char *const names[] = {"UPDATE",  "FILEBIN",   "URLBIN",   "FILESRC", "URLSRC",
                                            "VERSION", "CHANGELOG", "RESPONSE", "BUILD"};
        QStringList parts;
        for (int tag = 0; tag < Common::updateTagCount; ++tag)
            if (!parser.value(Common::UpdateTag(tag)).isEmpty())
                parts << QLatin1String(names[tag]) + QLatin1Char('=') + parser.value(Common::UpdateTag(tag));
        return parts.join(QLatin1Char('|'));
    }

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn")); }

    void replyValuesDoNotDependOnChunkSplits_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<QString>("values");
        QTest::newRow("all tags") << QByteArray("<UPDATE>yes</UPDATE><FILEBIN>a.exe</FILEBIN><URLBIN>https://h/a</URLBIN>"
                                                "<FILESRC>a.zip</FILESRC><URLSRC>https://h/s</URLSRC><VERSION>1.1</VERSION>"
                                                "<CHANGELOG>c</CHANGELOG><RESPONSE>r</RESPONSE><BUILD>9</BUILD>")
                                  << "UPDATE=yes|FILEBIN=a.exe|URLBIN=https://h/a|FILESRC=a.zip|URLSRC=https://h/s|"
                                     "VERSION=1.1|CHANGELOG=c|RESPONSE=r|BUILD=9";
        QTest::newRow("two VERSION tags: first opening to last closing")
            << QByteArray("<VERSION>1.1</VERSION> <VERSION>1.2</VERSION>") << "VERSION=1.1</VERSION> <VERSION>1.2";
        QTest::newRow("closing before the opening tag does not count")
            << QByteArray("</BUILD><BUILD>7</BUILD>") << "BUILD=7";
        QTest::newRow("no closing tag") << QByteArray("<FILEBIN>a.exe") << "";
        QTest::newRow("lower-case tag") << QByteArray("<update>yes</update>") << "";
        QTest::newRow("tags inside a value") << QByteArray("<UPDATE>x<VERSION>2</VERSION></UPDATE>")
                                             << "UPDATE=x<VERSION>2</VERSION>|VERSION=2";
        QTest::newRow("multi-line changelog, UTF-8")
            << QByteArray("<CHANGELOG>\n- caf\xc3\xa9\n- two\n</CHANGELOG>") << QString::fromUtf8("CHANGELOG=- caf\xc3\xa9\n- two");
        QTest::newRow("U+FEFF opening a value is kept")
            << QByteArray("<BUILD>\xef\xbb\xbf" "7</BUILD>") << QString::fromUtf8("BUILD=\xef\xbb\xbf" "7");
        QTest::newRow("NUL bytes do not end the reply") << QByteArray("\0<BUILD>7</BUILD>", 17) << "BUILD=7";
        QTest::newRow("garbage") << QByteArray("\x01<<</<UPD></UPDATE<VERSION\xff>") << "";
        QTest::newRow("empty") << QByteArray() << "";
    }

    void replyValuesDoNotDependOnChunkSplits()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, values);

        Common::UpdateReplyParser whole;
        whole.append(reply);
        QCOMPARE(render(whole), values);
        QCOMPARE(whole.received(), reply);

        // Every split into three chunks, and one byte at a time.
        for (int first = 0; first <= reply.size(); ++first) {
            for (int second = first; second <= reply.size(); ++second) {
                Common::UpdateReplyParser parser;
                parser.append(reply.left(first));
                parser.append(reply.mid(first, second - first));
                parser.append(reply.mid(second));
                QCOMPARE(render(parser), values);
            }
        }
        Common::UpdateReplyParser bytewise;
        for (char byte : reply)
            bytewise.append(QByteArray(1, byte));
        QCOMPARE(render(bytewise), values);

        bytewise.dropValues();
        QCOMPARE(render(bytewise), QString());
        QCOMPARE(bytewise.received(), reply);
    }


    void replyEndsInStatusAndLink_data()
    {
        QTest::addColumn<HttpReply>("reply");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("link"); // the download link shown, empty when hidden

        const QString available = QStringLiteral("<b>An update is available for Player Tarn.</b>");
        const QString none = QStringLiteral("<b>No update available for Player Tarn.</b>");
        HttpReply chunked;
        chunked.chunks << "<UPD" << "ATE>yes</UP" << "DATE><URLBIN>https://h.example/a.exe</URL"
                       << "BIN><FILEBIN>a<b>.exe</FILEBIN>";
        chunked.chunkDelayMs = 30;
        QTest::newRow("tags split over chunks") << chunked << available
                                                << "<a href='https://h.example/a.exe'>a&lt;b&gt;.exe</a>";
        QTest::newRow("yes with spaces") << HttpReply("<UPDATE> yes </UPDATE>") << available << "";
        QTest::newRow("Yes capitalised") << HttpReply("<UPDATE>Yes</UPDATE>") << none << "";
        QTest::newRow("URLBIN without FILEBIN")
            << HttpReply("<UPDATE>yes</UPDATE><URLBIN>http://h.example/a'b.exe</URLBIN>") << available
            << "<a href='http://h.example/a&#39;b.exe'></a>";
        QTest::newRow("javascript URLBIN is no link")
            << HttpReply("<UPDATE>yes</UPDATE><URLBIN>javascript:alert(1)</URLBIN><FILEBIN>a</FILEBIN>") << available << "";
        QTest::newRow("garbage") << HttpReply("\x01\xff<html>nothing</html>") << none << "";
        QTest::newRow("empty reply") << HttpReply(QByteArray())
                                     << "<b>Internet connection failed! Try later.</b>" << "";
        QTest::newRow("HTTP error: the body's tags do not count")
            << HttpReply("<UPDATE>yes</UPDATE><URLBIN>https://h.example/a</URLBIN>", 500)
            << "server replied: Internal Server Error" << "";
        HttpReply silent;
        silent.silent = true;
        QTest::newRow("server never answers") << silent << "<b>The server did not answer in time. Try later.</b>" << "";
        HttpReply trickle; // a byte every 100 ms for 20 s: never idle, never done
        for (int i = 0; i < 200; ++i)
            trickle.chunks << "<";
        trickle.chunkDelayMs = 100;
        QTest::newRow("server trickles past the deadline")
            << trickle << "<b>The server did not answer in time. Try later.</b>" << "";
    }

    void replyEndsInStatusAndLink()
    {
        QFETCH(HttpReply, reply);
        QFETCH(QString, status);
        QFETCH(QString, link);
        LocalHttpServer server;
        server.reply = reply;
        std::unique_ptr<UpdateHelper> client(makeClient(server, false));
        QSignalSpy done(client.get(), &UpdateHelper::done);
        QSignalSpy statuses(client.get(), &UpdateHelper::status);
        QElapsedTimer clock;
        clock.start();
        client->start();
        client->start(); // ignored while the reply runs
        QVERIFY(done.wait(10000));
        qInfo("done after %lld ms", clock.elapsed());
        QCOMPARE(done.count(), 1);
        QCOMPARE(server.requests.size(), 1);
        QVERIFY2(client->statusText().endsWith(status), qPrintable(client->statusText()));
        QCOMPARE(statuses.last().at(0).toString(), client->statusText());

        Common::UpdateDialog dialog(client.get(), QString(), QString());
        auto *shown = dialog.findChild<QLabel *>(QStringLiteral("downloadUpdateLink"));
        QCOMPARE(shown->isVisibleTo(&dialog) ? shown->text() : QString(), link);
    }

    void hugeReplyIsCappedInBoundedMemory()
    {
        LocalHttpServer server;
        server.reply.streamBytes = 50 * 1024 * 1024;
        std::unique_ptr<UpdateHelper> client(makeClient(server, true));
        QSignalSpy done(client.get(), &UpdateHelper::done);
        QSignalSpy responses(client.get(), &UpdateHelper::response);

        // Peak resident size from here on ("5" resets the high-water mark).
        QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
        QVERIFY(clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1);
        clearRefs.close();
        const qint64 before = peakRssKiB();

        client->start();
        QVERIFY(done.wait(10000));
        const qint64 growth = peakRssKiB() - before;
        qInfo("peak RSS growth %lld KiB, %lld bytes streamed, %d debug refreshes", growth, server.streamed,
              int(responses.count()));
        QVERIFY2(growth < 24 * 1024, qPrintable(QString::number(growth)));
        QVERIFY(server.streamed < 8 * 1024 * 1024);
        QCOMPARE(client->receivedText().size(), int(UpdateHelper::maxReplyBytes));
        QCOMPARE(client->statusText(),
                 QStringLiteral("<b>The server's reply is larger than 1024 KiB: the check was stopped.</b>"));
    }

    void dialogTabsFollowDebugAndChangelog_data()
    {
        QTest::addColumn<bool>("debug");
        QTest::addColumn<bool>("changelog");
        QTest::addColumn<QStringList>("tabs");
        QTest::newRow("plain") << false << false << QStringList{"Update status"};
        QTest::newRow("changelog") << false << true << QStringList{"Update status", "CHANGELOG"};
        QTest::newRow("debug") << true << false << QStringList{"Update status", "Server response", "Debug source"};
        QTest::newRow("debug and changelog")
            << true << true << QStringList{"Update status", "CHANGELOG", "Server response", "Debug source"};
    }

    void dialogTabsFollowDebugAndChangelog()
    {
        QFETCH(bool, debug);
        QFETCH(bool, changelog);
        QFETCH(QStringList, tabs);
        // A local image named by the reply must not be loaded by the HTML view.
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("local.png"));
        QImage(4, 4, QImage::Format_ARGB32).save(image);
        QByteArray body = "<UPDATE>yes</UPDATE><VERSION><i>2.0</i></VERSION><img src='" + QUrl::fromLocalFile(image).toEncoded()
                          + "'>";
        // A changelog far longer than any real one is shown cut.
        const QString log = QStringLiteral("<b>fixed</b>") + QString(100000, QLatin1Char('x'));
        if (changelog)
            body += "<CHANGELOG>" + log.toUtf8() + "</CHANGELOG>";
        LocalHttpServer server;
        server.reply = HttpReply(body);
        std::unique_ptr<UpdateHelper> client(makeClient(server, debug));

        // The dialog opens while the check runs and follows it.
        client->start();
        Common::ModernUpdateDialog dialog(client.get(), QString(), QString());
        auto *status = dialog.findChild<LibTarnCommon::BlinkLabel *>();
        QVERIFY(status->isBlinking());
        QTRY_VERIFY(client->isDone());
        QVERIFY(!status->isBlinking());
        QCOMPARE(status->text(), QStringLiteral("<i><b>An update is available for Player Tarn.</b></i>"));

        auto *tabWidget = dialog.findChild<QTabWidget *>();
        QStringList titles;
        for (int i = 0; i < tabWidget->count(); ++i)
            titles << tabWidget->tabText(i);
        QCOMPARE(titles, tabs);
        if (changelog)
            QCOMPARE(static_cast<QTextEdit *>(tabWidget->widget(1))->toPlainText(), log.left(16384) + QChar(0x2026));
        const QList<QLabel *> labels = dialog.findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
                            [](QLabel *l) { return l->text() == QLatin1String("&lt;i&gt;2.0&lt;/i&gt;"); }));
        if (debug) {
            auto *html = static_cast<QTextEdit *>(tabWidget->widget(tabs.indexOf(QStringLiteral("Server response"))));
            QVERIFY(html->toPlainText().contains(QStringLiteral("yes")));
            QVERIFY(!html->document()->resource(QTextDocument::ImageResource, QUrl::fromLocalFile(image)).isValid());
        }
    }

    void blinkLabelPhases()
    {
        LibTarnCommon::BlinkLabel label;
        auto tick = [&label] { QMetaObject::invokeMethod(&label, "blinking"); };
        label.setText(QStringLiteral("a"));
        QVERIFY(label.isBlinking());
        QStringList seen{label.text()};
        tick();
        seen << label.text();
        tick();
        seen << label.text();
        tick();
        label.setText(QStringLiteral("b")); // a new text shows at once
        seen << label.text();
        tick();
        label.stopBlinking(); // steady, even from a hidden phase
        seen << label.text();
        QCOMPARE(seen, (QStringList{"a", "", "a", "b", "b"}));
        label.setText(QStringLiteral("c"));
        QVERIFY(!label.isBlinking());
        label.setText(QString());
        QCOMPARE(label.text(), QString());
    }
};

TARN_TEST_MAIN(UpdateCheckTest)
#include "tst_updatecheck.moc"
