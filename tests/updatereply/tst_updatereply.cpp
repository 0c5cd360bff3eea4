// The update-reply parser: the values of the greedy "<TAG>(.*)</TAG>" over the
// whole reply, however the reply is split into chunks.

#include "updatereply.h"

#include <QtTest>

using Common::UpdateReplyParser;
using Common::UpdateTag;

class UpdateReplyTest : public QObject
{
    Q_OBJECT

    // "TAG=value" for each tag with a value, joined by '|'.
    static QString render(const UpdateReplyParser &parser)
    {
        static const char *const names[] = {"UPDATE",  "FILEBIN",   "URLBIN",   "FILESRC", "URLSRC",
                                            "VERSION", "CHANGELOG", "RESPONSE", "BUILD"};
        QStringList parts;
        for (int tag = 0; tag < Common::updateTagCount; ++tag)
            if (!parser.value(UpdateTag(tag)).isEmpty())
                parts << QLatin1String(names[tag]) + QLatin1Char('=') + parser.value(UpdateTag(tag));
        return parts.join(QLatin1Char('|'));
    }

private slots:
    void valuesDoNotDependOnChunkSplits_data()
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

    void valuesDoNotDependOnChunkSplits()
    {
        QFETCH(QByteArray, reply);
        QFETCH(QString, values);

        UpdateReplyParser whole;
        whole.append(reply);
        QCOMPARE(render(whole), values);
        QCOMPARE(whole.received(), reply);

        // Every split into three chunks, and one byte at a time.
        for (int first = 0; first <= reply.size(); ++first) {
            for (int second = first; second <= reply.size(); ++second) {
                UpdateReplyParser parser;
                parser.append(reply.left(first));
                parser.append(reply.mid(first, second - first));
                parser.append(reply.mid(second));
                QCOMPARE(render(parser), values);
            }
        }
        UpdateReplyParser bytewise;
        for (char byte : reply)
            bytewise.append(QByteArray(1, byte));
        QCOMPARE(render(bytewise), values);

        bytewise.dropValues();
        QCOMPARE(render(bytewise), QString());
        QCOMPARE(bytewise.received(), reply);
    }
};

QTEST_GUILESS_MAIN(UpdateReplyTest)
#include "tst_updatereply.moc"
