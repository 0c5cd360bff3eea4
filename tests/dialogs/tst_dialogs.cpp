// The frameless message box, about dialog and flat buttons.
#include "modernaboutdialog.h"
#include "moderndialog.h"
#include "modernmessagebox.h"
#include "tarntest.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <QVBoxLayout>

using Common::ModernMessageBox;

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn")); }

    void messageBoxShowsBoldTitleThenText()
    {
        // Markers inside the texts stay as written.
        ModernMessageBox box(QMessageBox::Warning, QStringLiteral("Failed to play %1 file"),
                             QStringLiteral("Player Tarn was not able to play %2 this file."), QMessageBox::Ok);
        QCOMPARE(box.windowTitle(), QStringLiteral("Player Tarn"));
        QCOMPARE(box.text(),
                 QStringLiteral("<b>Failed to play %1 file</b><br><br>Player Tarn was not able to play %2 this file."));
        QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    }

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
        ModernMessageBox box(QMessageBox::Icon(icon), QStringLiteral("t"), QStringLiteral("x"), QMessageBox::Ok);
        qApp->setProperty(property.constData(), QVariant());
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
        QTest::newRow("link and text") << 2020 << "https://example.invalid/player" << "Version 1.0"
                                       << "Player Tarn online:<br><a href='https://example.invalid/player'>"
                                          "https://example.invalid/player</a><br><br>Version 1.0<br><br>"
                                          "Copyright &copy; 2020-2026 Mirelva";
    }

    void aboutTextHasLinkTextAndYears()
    {
        QFETCH(int, year);
        QFETCH(QString, link);
        QFETCH(QString, text);
        QFETCH(QString, about);
        QCOMPARE(Common::ModernAboutDialog::aboutText(year, link, text, 2026), about);
    }

    void flatButtonsFitTheirText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("boxButtons");
        QTest::newRow("English") << "en" << QStringList{"Apply", "Cancel"};
        QTest::newRow("French") << "fr" << QStringList{"Annuler", "Appliquer"};
    }

    void flatButtonsFitTheirText()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, boxButtons);
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
};

TARN_TEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
