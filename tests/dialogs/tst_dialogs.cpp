// The frameless message box, about dialog and flat buttons, and the log window:
// coloured lines from attached senders, its settings group, geometry and links.
#include "logdialog.h"
#include "modernaboutdialog.h"
#include "moderndialog.h"
#include "modernmessagebox.h"
#include "tarntest.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QClipboard>
#include <QListView>
#include <QTranslator>
#include <QVBoxLayout>

#include <functional>

using Common::ModernMessageBox;
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

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn")); }
    void init() { QSettings().clear(); }

    void messageBoxIconFromPropertyOrStandard_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("image"); // empty: property unset, Qt's standard icon
        const QString dir = QStringLiteral(":/AppTarn/images/app/");
        QTest::newRow("warning") << int(QMessageBox::Warning) << QByteArray("appWarningIcon") << dir + "warning.png";
        QTest::newRow("critical") << int(QMessageBox::Critical) << QByteArray("appErrorIcon") << dir + "error.png";
        QTest::newRow("question") << int(QMessageBox::Question) << QByteArray("appQuestionIcon") << dir + "question.png";
        QTest::newRow("warning, standard") << int(QMessageBox::Warning) << QByteArray("appWarningIcon") << QString();
    }

    void messageBoxIconFromPropertyOrStandard()
    {
        QFETCH(int, icon);
        QFETCH(QByteArray, property);
        QFETCH(QString, image);
        qApp->setProperty(property.constData(), image.isEmpty() ? QVariant() : QVariant(image));
        // Markers inside the texts stay as written.
        ModernMessageBox box(QMessageBox::Icon(icon), QStringLiteral("Failed %1"), QStringLiteral("Not %2"), QMessageBox::Ok);
        qApp->setProperty(property.constData(), QVariant());
        QCOMPARE(box.windowTitle() + ' ' + box.text(), QStringLiteral("Player Tarn <b>Failed %1</b><br><br>Not %2"));
        const auto argb = [](const QPixmap &p) { return p.toImage().convertToFormat(QImage::Format_ARGB32); };
        QVERIFY(!box.iconPixmap().isNull());
        const QString compared = image.isEmpty() ? QStringLiteral(":/AppTarn/images/app/warning.png") : image;
        QCOMPARE(argb(box.iconPixmap()) == argb(QPixmap(compared)), !image.isEmpty());
    }

    void aboutTextHasLinkTextAndYears_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("about"); // built in 2026
        QTest::newRow("built the same year, nothing else") << 2026 << "" << "" << "Copyright &copy; 2026 Mirelva";
        QTest::newRow("later year kept before the build year") << 2030 << "" << "" << "Copyright &copy; 2030-2026 Mirelva";
        QTest::newRow("link and text") << 2020 << "h" << "V1"
                                       << "Player Tarn online:<br><a href='h'>h</a><br><br>V1<br><br>Copyright &copy; 2020-2026 Mirelva";
    }

    void aboutTextHasLinkTextAndYears()
    {
        QFETCH(int, year);
        QFETCH(QString, link);
        QFETCH(QString, text);
        QFETCH(QString, about);
        QCOMPARE(Common::ModernAboutDialog::aboutText(year, link, text, 2026), about);
    }

    void flatButtonsFitTheirTranslatedText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("boxButtons");
        QTest::addColumn<QStringList>("logTexts"); // title, then each button's text and tool tip
        QTest::newRow("English") << "en" << QStringList{"Apply", "Cancel"}
                                 << QStringList{"Log", "Clear", "Clear all log messages", "Close", ""};
        QTest::newRow("French") << "fr" << QStringList{"Annuler", "Appliquer"}
                                << QStringList{"Journal", "Effacer", "Effacer tous les messages", "Fermer", ""};
    }

    void flatButtonsFitTheirTranslatedText()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, boxButtons);
        QFETCH(QStringList, logTexts);
        // The player's own catalogue, as start-up installs it.
        QTranslator translator;
        if (language != QLatin1String("en")) {
            QVERIFY(translator.load(QStringLiteral(":/AppTarn/Player_%1").arg(language)));
            QCoreApplication::installTranslator(&translator);
        }
        ModernMessageBox box(QMessageBox::Question, QStringLiteral("Restore default settings"), QStringLiteral("?"),
                             QMessageBox::Apply | QMessageBox::Cancel);
        Common::ModernDialog dialog;
        (new QVBoxLayout(&dialog))->addWidget(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
        Common::ModernAboutDialog about(2020, QString(), QString(), QString());
        LogDialog log{QString()};
        QStringList shownLogTexts{log.windowTitle()};
        for (QPushButton *button : log.findChildren<QPushButton *>())
            shownLogTexts << button->text() << button->toolTip();
        QCOMPARE(shownLogTexts, logTexts);

        QStringList texts;
        for (QWidget *window : std::initializer_list<QWidget *>{&box, &dialog, &about}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QList<QPushButton *> buttons = window->findChildren<QPushButton *>();
            QVERIFY(!buttons.isEmpty());
            for (const QPushButton *button : buttons) {
                const QString text = button->text().remove(QLatin1Char('&'));
                const int needed = QFontMetrics(button->font()).horizontalAdvance(text) + 2 * 8; // padding 8px
                QVERIFY2(button->width() >= needed, qPrintable(QStringLiteral("%1: %2 < %3").arg(text).arg(button->width()).arg(needed)));
                QVERIFY(button->font().bold());
                if (window == &box)
                    texts << text;
            }
            window->hide();
        }
        texts.sort();
        QCOMPARE(texts, boxButtons);
        QCoreApplication::removeTranslator(&translator);
    }

    void senderLinesAreUnescapedAndColouredPerLevel()
    {
        LogDialog log{QString()};
        Emitter emitter;
        log.attachSender(&emitter);
        emit emitter.messageError(QStringLiteral("[Core] error &lt;b&gt;"));
        log.addNotice(QStringLiteral("[Main] notice"));
        emit emitter.messageWarning(QStringLiteral("[Core] warning"));
        log.addWarning(QStringLiteral("[Main] <b>bold</b> &amp; <i>more</i>"));
        QCOMPARE(log.plainText(),
                 QStringLiteral("[Core] error <b>\n[Main] notice\n[Core] warning\n[Main] bold & more"));
        const QAbstractItemModel *lines = log.findChild<QListView *>()->model();
        QStringList colours;
        for (int line = 0; line < lines->rowCount(); ++line)
            colours << lines->index(line, 0).data(Qt::ForegroundRole).value<QColor>().name();
        const QString orange = QColor("orange").name();
        QCOMPARE(colours, (QStringList{QColor(Qt::red).name(), QColor(Qt::black).name(), orange, orange}));
    }

    void linesKeepTheirTextAndLevel_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("level"); // 0 error, 1 notice, 2 warning
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("rich");
        QTest::newRow("plain") << "[Main] a  b" << 1 << "[Main] a  b" << false;
        QTest::newRow("escapes resolved once") << "[Main] &amp;lt; &quot;x&quot; &#39;y&#39;" << 0
                                               << "[Main] &lt; \"x\" 'y'" << false;
        QTest::newRow("unknown entity kept") << "[Main] caf&eacute;" << 2 << "[Main] caf&eacute;" << false;
        QTest::newRow("markup") << "[Core] <b>bold</b> &amp; <a href='x:y'>link</a>" << 0 << "[Core] bold & link"
                                << true;
        QTest::newRow("empty") << "" << 1 << "" << false;
    }

    // Each line's text as the log shows and copies it, its level's colour,
    // and HTML only where the message had markup.
    void linesKeepTheirTextAndLevel()
    {
        QFETCH(QString, message);
        QFETCH(int, level);
        QFETCH(QString, shown);
        QFETCH(bool, rich);
        LogDialog log{QString()};
        const std::function<void(const QString &)> adds[] = {[&](const QString &m) { log.addError(m); },
                                                             [&](const QString &m) { log.addNotice(m); },
                                                             [&](const QString &m) { log.addWarning(m); }};
        adds[level](message);
        QCOMPARE(log.plainText(), shown);
        const QModelIndex row = log.findChild<QListView *>()->model()->index(0, 0);
        QCOMPARE(row.data().toString(), shown);
        const QString colour = QStringList{"red", "black", "orange"}.at(level);
        QCOMPARE(row.data(Qt::ForegroundRole).value<QColor>().name(), QColor(colour).name());
        const QString html = row.data(LibTarnCommon::LogLines::RichTextRole).toString();
        QCOMPARE(!html.isEmpty(), rich);
        if (rich)
            QVERIFY2(html.contains(message) && html.contains("color:" + colour), qPrintable(html));
    }

    // A burst of lines shows once the event loop turns, the view following
    // the end; selected rows copy as their texts; Clear empties the log.
    void burstFollowsTheEndCopiesAndClears()
    {
        LogDialog log{QString()};
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        auto *view = log.findChild<QListView *>();
        for (int i = 0; i < 5000; ++i)
            log.addNotice(QStringLiteral("[Main] line %1").arg(i));
        QCOMPARE(view->model()->rowCount(), 0);
        QTRY_COMPARE(view->model()->rowCount(), 5000);
        QTRY_VERIFY(view->visualRect(view->model()->index(4999, 0)).intersects(view->viewport()->rect()));

        view->selectionModel()->select(QItemSelection(view->model()->index(4997, 0), view->model()->index(4998, 0)),
                                       QItemSelectionModel::Select);
        view->setFocus();
        QTest::keySequence(view, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("[Main] line 4997\n[Main] line 4998"));

        QTest::mouseClick(log.findChildren<QPushButton *>().first(), Qt::LeftButton);
        QCOMPARE(view->model()->rowCount(), 0);
        QCOMPARE(log.plainText(), QString());
    }

    void geometryKeptInSubgroupFromTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("windowTitle");
        QTest::addColumn<QString>("key");
        QTest::newRow("application log") << "Application log" << "Application log" << "Application log";
        QTest::newRow("empty title") << "" << "Log" << "Log";
        QTest::newRow("slashes") << "Audio/Video log" << "Audio/Video log" << "Audio-Video log";
    }

    // A tool window of 80 characters by 33 lines that keeps its geometry in a
    // settings group named after its title.
    void geometryKeptInSubgroupFromTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, windowTitle);
        QFETCH(QString, key);
        {
            LogDialog log(title);
            QCOMPARE(log.windowTitle(), windowTitle);
            const QFontMetrics metrics(log.findChild<QListView *>()->font());
            QCOMPARE(log.size(), QSize(80 * metrics.averageCharWidth(), 33 * metrics.lineSpacing()));
            QVERIFY(log.windowFlags().testFlag(Qt::Tool));
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

    void clickedLinkEmitsGotoUrlWithoutNavigating()
    {
        LogDialog log(QStringLiteral("Application log"));
        log.addNotice(QStringLiteral("[Main] see <a href='https://example.invalid/help'>help</a>"));
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        auto *view = log.findChild<QListView *>();
        QSignalSpy gotoUrl(&log, &LogDialog::gotoUrl);
        QTRY_COMPARE(view->model()->rowCount(), 1);
        const QRect row = view->visualRect(view->model()->index(0, 0));
        // The line's start is no link; somewhere further along is.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(row.left() + 2, row.center().y()));
        QCOMPARE(gotoUrl.count(), 0);
        for (int x = row.left(); x < row.right() && gotoUrl.isEmpty(); x += 3)
            QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, row.center().y()));
        QCOMPARE(gotoUrl.count(), 1);
        QCOMPARE(gotoUrl.at(0).at(0).toString(), QStringLiteral("https://example.invalid/help"));
        QCOMPARE(log.plainText(), QStringLiteral("[Main] see help"));
    }
};

TARN_TEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
