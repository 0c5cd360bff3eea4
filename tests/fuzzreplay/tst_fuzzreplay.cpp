// Replays every input of the fuzz corpora through its target's checks, which
// trap (and so end this test) on a failure.

#include <QDir>
#include <QtTest>

#include <cstddef>
#include <cstdint>

extern "C" int fuzzId3TagOneInput(const uint8_t *data, size_t size);
extern "C" int fuzzM3uOneInput(const uint8_t *data, size_t size);

class FuzzReplayTest : public QObject
{
    Q_OBJECT

private slots:
    void corpusInputPassesItsTargetChecks_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        int inputs = 0;
        for (const char *target : {"id3tag", "m3u"}) {
            const QDir corpus(QStringLiteral(FUZZ_DIR "/%1/corpus").arg(QLatin1String(target)));
            const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
            for (const QString &name : names) {
                QTest::addRow("%s/%s", target, qPrintable(name)) << QString::fromLatin1(target) << corpus.filePath(name);
                ++inputs;
            }
        }
        QVERIFY(inputs > 0);
    }

    void corpusInputPassesItsTargetChecks()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const auto run = target == QLatin1String("m3u") ? fuzzM3uOneInput : fuzzId3TagOneInput;
        QCOMPARE(run(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())), 0);
    }
};

QTEST_GUILESS_MAIN(FuzzReplayTest)
#include "tst_fuzzreplay.moc"
