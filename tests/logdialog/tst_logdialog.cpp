#include "logdialog.h"
#include "tarntest.h"

#include <QPushButton>
#include <QSettings>
#include <QTranslator>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextBrowser>

using LibTarnCommon::LogDialog;

class LogDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void linesAreColouredPerLevel();
    void emitterSignalsReachTheLog();
    void settingsSubgroupFromTitle_data();
    void settingsSubgroupFromTitle();
    void defaultGeometryIsEightyCharactersByThirtyThreeLines();
    void clickedLinkEmitsGotoUrlWithoutNavigating();
    void frenchCatalogueTranslatesTheLogWindow();
};

// Emits the three message signals like any attached sender.
class Emitter : public QObject
{
    Q_OBJECT
signals:
    void messageError(const QString &message);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);
};

void LogDialogTest::init()
{
    QSettings().clear();
}

static QColor lineColour(QTextBrowser *browser, int line)
{
    const QTextBlock block = browser->document()->findBlockByNumber(line);
    return block.begin().fragment().charFormat().foreground().color();
}

void LogDialogTest::linesAreColouredPerLevel()
{
    LogDialog log(QStringLiteral("Application log"));
    log.addError(QStringLiteral("[Main] error"));
    log.addNotice(QStringLiteral("[Main] notice"));
    log.addWarning(QStringLiteral("[Main] warning"));

    auto *browser = log.findChild<QTextBrowser *>();
    QCOMPARE(log.plainText(), QStringLiteral("[Main] error\n[Main] notice\n[Main] warning"));
    QCOMPARE(lineColour(browser, 0), QColor(Qt::red));
    QCOMPARE(lineColour(browser, 1), QColor(Qt::black));
    QCOMPARE(lineColour(browser, 2), QColor(QStringLiteral("orange")));
}

void LogDialogTest::emitterSignalsReachTheLog()
{
    LogDialog log{QString()};
    Emitter emitter;
    log.attachSender(&emitter);
    emit emitter.messageWarning(QStringLiteral("[Core] one"));
    emit emitter.messageError(QStringLiteral("[Core] two &lt;b&gt;"));
    QCOMPARE(log.plainText(), QStringLiteral("[Core] one\n[Core] two <b>"));
}

void LogDialogTest::settingsSubgroupFromTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("windowTitle");
    QTest::addColumn<QString>("key");
    QTest::newRow("application log") << "Application log" << "Application log" << "Application log";
    QTest::newRow("empty title") << "" << "Log" << "Log";
    QTest::newRow("slashes") << "Audio/Video log" << "Audio/Video log" << "Audio-Video log";
}

void LogDialogTest::settingsSubgroupFromTitle()
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

void LogDialogTest::defaultGeometryIsEightyCharactersByThirtyThreeLines()
{
    LogDialog log(QStringLiteral("Application log"));
    const QFontMetrics metrics(log.findChild<QTextBrowser *>()->font());
    QCOMPARE(log.pos(), QPoint(0, 0));
    QCOMPARE(log.width(), 80 * metrics.averageCharWidth());
    QCOMPARE(log.height(), 33 * metrics.lineSpacing());
    QVERIFY(log.windowFlags().testFlag(Qt::Tool));
}


void LogDialogTest::clickedLinkEmitsGotoUrlWithoutNavigating()
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
    const QPoint at = browser->cursorRect(cursor).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, Qt::NoModifier, at);

    QCOMPARE(gotoUrl.count(), 1);
    QCOMPARE(gotoUrl.at(0).at(0).toString(), QStringLiteral("https://example.invalid/help"));
    QVERIFY(browser->source().isEmpty());
    QVERIFY(log.plainText().startsWith(QStringLiteral("[Main] see help")));
}


void LogDialogTest::frenchCatalogueTranslatesTheLogWindow()
{
    QTranslator translator;
    QVERIFY(translator.load(QStringLiteral(":/AppTarn/Player_fr")));
    QCoreApplication::installTranslator(&translator);
    LogDialog log{QString()};
    QCoreApplication::removeTranslator(&translator);

    QCOMPARE(log.windowTitle(), QStringLiteral("Journal"));
    const QList<QPushButton *> buttons = log.findChildren<QPushButton *>();
    QStringList texts;
    for (QPushButton *button : buttons)
        texts << button->text() << button->toolTip();
    QCOMPARE(texts, (QStringList{"Effacer", "Effacer tous les messages", "Fermer", ""}));
    for (const char *catalogue : {":/AppTarn/Common_fr.qm", ":/AppTarn/LibTarnCommon_fr.qm"})
        QVERIFY2(QFile::exists(QString::fromLatin1(catalogue)), catalogue);
}

TARN_TEST_MAIN(LogDialogTest)
#include "tst_logdialog.moc"
