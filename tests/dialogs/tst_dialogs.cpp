#include "modernaboutdialog.h"
#include "moderndialog.h"
#include "modernmessagebox.h"
#include "tarntest.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QVBoxLayout>

using Common::ModernMessageBox;

class DialogsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void messageBoxShowsBoldTitleThenText();
    void messageBoxIconFromPropertyOrStandard_data();
    void messageBoxIconFromPropertyOrStandard();
    void aboutYearText_data();
    void aboutYearText();
    void aboutTextParts_data();
    void aboutTextParts();
    void flatButtonsFitTheirText_data();
    void flatButtonsFitTheirText();
};

void DialogsTest::initTestCase()
{
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
}

void DialogsTest::messageBoxShowsBoldTitleThenText()
{
    // Markers inside the texts stay as written.
    ModernMessageBox box(QMessageBox::Warning, QStringLiteral("Failed to play %1 file"),
                         QStringLiteral("Player Tarn was not able to play %2 this file."), QMessageBox::Ok);
    QCOMPARE(box.windowTitle(), QStringLiteral("Player Tarn"));
    QCOMPARE(box.text(),
             QStringLiteral("<b>Failed to play %1 file</b><br><br>Player Tarn was not able to play %2 this file."));
    QCOMPARE(box.standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
}

void DialogsTest::messageBoxIconFromPropertyOrStandard_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QString>("image");
    QTest::newRow("warning from property") << int(QMessageBox::Warning) << QByteArray("appWarningIcon")
                                           << ":/AppTarn/images/app/warning.png";
    QTest::newRow("critical from property") << int(QMessageBox::Critical) << QByteArray("appErrorIcon")
                                            << ":/AppTarn/images/app/error.png";
    QTest::newRow("question from property") << int(QMessageBox::Question) << QByteArray("appQuestionIcon")
                                            << ":/AppTarn/images/app/question.png";
    QTest::newRow("information standard") << int(QMessageBox::Information) << QByteArray("appInformationIcon")
                                          << QString();
    QTest::newRow("warning standard") << int(QMessageBox::Warning) << QByteArray("appWarningIcon") << QString();
}

void DialogsTest::messageBoxIconFromPropertyOrStandard()
{
    QFETCH(int, icon);
    QFETCH(QByteArray, property);
    QFETCH(QString, image);
    qApp->setProperty(property.constData(), image.isEmpty() ? QVariant() : QVariant(image));

    ModernMessageBox box(QMessageBox::Icon(icon), QStringLiteral("t"), QStringLiteral("x"), QMessageBox::Ok);
    const QImage shown = box.iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!shown.isNull());
    const QImage fromProperty = QPixmap(image.isEmpty() ? QStringLiteral(":/AppTarn/images/app/warning.png") : image)
                                    .toImage()
                                    .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(shown == fromProperty, !image.isEmpty());
    qApp->setProperty(property.constData(), QVariant());
}

void DialogsTest::aboutYearText_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("built");
    QTest::addColumn<QString>("text");
    QTest::newRow("same year") << 2026 << 2026 << "2026";
    QTest::newRow("earlier year gives a range") << 2014 << 2026 << "2014-2026";
    QTest::newRow("later year kept before build year") << 2030 << 2026 << "2030-2026";
}

void DialogsTest::aboutYearText()
{
    QFETCH(int, year);
    QFETCH(int, built);
    QFETCH(QString, text);
    QCOMPARE(Common::aboutYearText(year, built), text);
}

void DialogsTest::aboutTextParts_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("about");
    QTest::newRow("nothing but the year")
        << "" << "" << QString::fromUtf8("Copyright &copy; 2020-2026 Mirelva");
    QTest::newRow("link and text")
        << "https://example.invalid/player" << "Version 1.0"
        << QString::fromUtf8("Player Tarn online:<br><a href='https://example.invalid/player'>"
                             "https://example.invalid/player</a><br><br>Version 1.0<br><br>"
                             "Copyright &copy; 2020-2026 Mirelva");
}

void DialogsTest::aboutTextParts()
{
    QFETCH(QString, link);
    QFETCH(QString, text);
    QFETCH(QString, about);
    QCOMPARE(Common::ModernAboutDialog::aboutText(2020, link, text, 2026), about);
}
void DialogsTest::flatButtonsFitTheirText_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("boxButtons");
    QTest::newRow("English") << "en" << QStringList{"Apply", "Cancel"};
    QTest::newRow("French") << "fr" << QStringList{"Annuler", "Appliquer"};
}

void DialogsTest::flatButtonsFitTheirText()
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
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog));
    Common::ModernAboutDialog about(2020, QString(), QString(), QString());

    QStringList texts;
    for (QWidget *window : {static_cast<QWidget *>(&box), static_cast<QWidget *>(&dialog),
                            static_cast<QWidget *>(&about)}) {
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

TARN_TEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
