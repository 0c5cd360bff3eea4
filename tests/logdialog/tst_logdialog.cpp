// The log window: coloured lines from attached senders, its settings group,
// geometry, links and catalogue.
#include "logdialog.h"
#include "tarntest.h"

#include <QPushButton>
#include <QSettings>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTranslator>

using LibTarnCommon::LogDialog;

// Emits the three message signals like any attached sender.
class Emitter : public QObject
{
    Q_OBJECT
signals:
    void messageError(const QString &message);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);
};

class LogDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QSettings().clear(); }

    void senderLinesAreUnescapedAndColouredPerLevel()
    {
        LogDialog log{QString()};
        Emitter emitter;
        log.attachSender(&emitter);
        emit emitter.messageError(QStringLiteral("[Core] error &lt;b&gt;"));
        log.addNotice(QStringLiteral("[Main] notice"));
        emit emitter.messageWarning(QStringLiteral("[Core] warning"));
        QCOMPARE(log.plainText(), QStringLiteral("[Core] error <b>\n[Main] notice\n[Core] warning"));
        QTextDocument *document = log.findChild<QTextBrowser *>()->document();
        QStringList colours;
        for (int line = 0; line < 3; ++line)
            colours << document->findBlockByNumber(line).begin().fragment().charFormat().foreground().color().name();
        QCOMPARE(colours, (QStringList{QColor(Qt::red).name(), QColor(Qt::black).name(), QColor("orange").name()}));
    }

    void settingsSubgroupFromTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("windowTitle");
        QTest::addColumn<QString>("key");
        QTest::newRow("application log") << "Application log" << "Application log" << "Application log";
        QTest::newRow("empty title") << "" << "Log" << "Log";
        QTest::newRow("slashes") << "Audio/Video log" << "Audio/Video log" << "Audio-Video log";
    }

    void settingsSubgroupFromTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, windowTitle);
        QFETCH(QString, key);
        {
            LogDialog log(title);
            QCOMPARE(log.windowTitle(), windowTitle);
            log.show();
            QVERIFY(QTest::qWaitForWindowExposed(&log));
            QSettings().clear();
            log.move(33, 44);
            log.resize(700, 300);
            QTRY_VERIFY(QSettings().contains(QStringLiteral("Layout/%1/size").arg(key)));
        }
        QSettings settings;
        QCOMPARE(settings.value(QStringLiteral("Layout/%1/position").arg(key)).toPoint(), QPoint(33, 44));
        QCOMPARE(settings.value(QStringLiteral("Layout/%1/size").arg(key)).toSize(), QSize(700, 300));
        settings.beginGroup(QStringLiteral("Layout"));
        QCOMPARE(settings.childGroups(), QStringList{key});
    }

    void defaultGeometryIsEightyCharactersByThirtyThreeLines()
    {
        LogDialog log(QStringLiteral("Application log"));
        const QFontMetrics metrics(log.findChild<QTextBrowser *>()->font());
        QCOMPARE(log.geometry(), QRect(0, 0, 80 * metrics.averageCharWidth(), 33 * metrics.lineSpacing()));
        QVERIFY(log.windowFlags().testFlag(Qt::Tool));
    }

    void clickedLinkEmitsGotoUrlWithoutNavigating()
    {
        LogDialog log(QStringLiteral("Application log"));
        log.addNotice(QStringLiteral("[Main] see <a href='https://example.invalid/help'>help</a>"));
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        auto *browser = log.findChild<QTextBrowser *>();
        QSignalSpy gotoUrl(&log, &LogDialog::gotoUrl);
        // Click the link text where the browser lays it out.
        QTextCursor cursor = browser->document()->find(QStringLiteral("help"));
        QVERIFY(!cursor.isNull());
        cursor.setPosition(cursor.selectionStart() + 1);
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, browser->cursorRect(cursor).center());
        QCOMPARE(gotoUrl.count(), 1);
        QCOMPARE(gotoUrl.at(0).at(0).toString(), QStringLiteral("https://example.invalid/help"));
        QVERIFY(browser->source().isEmpty());
        QVERIFY(log.plainText().startsWith(QStringLiteral("[Main] see help")));
    }

    void frenchCatalogueTranslatesTheLogWindow()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/AppTarn/Player_fr")));
        QCoreApplication::installTranslator(&translator);
        LogDialog log{QString()};
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(log.windowTitle(), QStringLiteral("Journal"));
        QStringList texts;
        for (QPushButton *button : log.findChildren<QPushButton *>())
            texts << button->text() << button->toolTip();
        QCOMPARE(texts, (QStringList{"Effacer", "Effacer tous les messages", "Fermer", ""}));
        for (const char *catalogue : {":/AppTarn/Common_fr.qm", ":/AppTarn/LibTarnCommon_fr.qm"})
            QVERIFY2(QFile::exists(QString::fromLatin1(catalogue)), catalogue);
    }
};

TARN_TEST_MAIN(LogDialogTest)
#include "tst_logdialog.moc"
