#include "modalanswerer.h"
#include "opticaldrives_linux.h"
#include "sources/disclocation.h"
#include "sources/inputdiscdialog.h"
#include "sources/inputurldialog.h"
#include "tarntest.h"

#include <QComboBox>
#include <QLabel>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>

namespace {

// Stands in for the drive this machine lacks: the drives of a fake sysfs
// tree, each holding a mixed CD of 11 audio tracks; the first answer waits
// until the test releases it.
class HeldDrives : public Platform::OpticalDrives
{
public:
    explicit HeldDrives(const QString &root) : listing(root) {}
    QList<Platform::OpticalDrive> drives() const override { return listing.drives(); }
    Platform::DiscInfo discInfo(const QString &device) const override
    {
        answer.tryAcquire(1, 10000);
        answer.release();
        const QList<Platform::OpticalDrive> all = drives();
        const bool known = std::any_of(all.begin(), all.end(), [&](const auto &d) { return d.device == device; });
        return known ? Platform::DiscInfo{Platform::DiscContent::Mixed, 11} : Platform::DiscInfo{};
    }
    mutable QSemaphore answer;

private:
    Platform::LinuxOpticalDrives listing;
};

} // namespace

class DiscDialogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir tree;
    std::shared_ptr<HeldDrives> drives;

    QString path(const QString &relative) const { return QDir::cleanPath(tree.filePath(relative)); }

    // Creates folders (ending in '/') and empty files under the tree.
    void make(const QStringList &entries) const
    {
        for (const QString &entry : entries) {
            QDir().mkpath(entry.endsWith('/') ? path(entry) : QFileInfo(path(entry)).absolutePath());
            if (!entry.endsWith('/'))
                QFile(path(entry)).open(QIODevice::WriteOnly);
        }
    }

    // Presses Browse and answers the folder dialog with `folder`.
    static void browse(InputDiscDialog &dialog, const QString &folder)
    {
        TarnTest::ModalAnswerer answerer;
        answerer.fileAnswers << folder;
        dialog.findChild<QPushButton *>()->released(); // the first push button is Browse
    }

    static int checkedKind(const InputDiscDialog &dialog)
    {
        const QList<QRadioButton *> buttons = dialog.findChildren<QRadioButton *>(); // Audio CD, Blu-ray, DVD
        return buttons[2]->isChecked() ? 0 : buttons[1]->isChecked() ? 1 : buttons[0]->isChecked() ? 2 : -1;
    }

private slots:
    void initTestCase()
    {
        // sr0 is mounted at a Blu-ray folder, sr1 holds no file system.
        make({"sys/class/block/sr0/", "sys/class/block/sr1/", "proc/self/", "bd/BDMV/", "dvd/VIDEO_TS/",
              "cd/Track01.cda", "cd/Track02.CDA", "cd/Track03.cda", "empty/"});
        QFile mounts(path("proc/self/mounts"));
        QVERIFY(mounts.open(QIODevice::WriteOnly));
        mounts.write("/dev/sr0 " + QFile::encodeName(path("bd")) + " udf ro 0 0\n");
        mounts.close();
        drives = std::make_shared<HeldDrives>(tree.path());
    }

    void folderRuleGivesLocationAndKind_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("location");
        QTest::addColumn<int>("kind");
        QTest::newRow("lower-case DVD root") << QStringList{"r2/video_ts/", "r2/audio_ts/"} << "r2" << "r2" << 0;
        QTest::newRow("Blu-ray before DVD") << QStringList{"r3/VIDEO_TS/", "r3/BDMV/"} << "r3" << "r3" << 1;
        QTest::newRow("lower-case bdmv chosen directly") << QStringList{"r5/bdmv/"} << "r5/bdmv" << "r5" << 1;
        QTest::newRow(".cda track files in any case") << QStringList{} << "cd" << "cd" << 2;
        QTest::newRow("empty folder stores its parent") << QStringList{"r6/x/"} << "r6/x" << "r6" << -1;
        QTest::newRow("files named like disc folders")
            << QStringList{"r7/d/VIDEO_TS", "r7/d/BDMV", "r7/d/cda/"} << "r7/d" << "r7" << -1;
    }

    void folderRuleGivesLocationAndKind()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, chosen);
        QFETCH(QString, location);
        QFETCH(int, kind);
        make(entries);
        const QString stored = browsedDiscLocation(path(chosen), listDiscFolder(path(chosen)));
        QCOMPARE(stored, path(location));
        const std::optional<DiscKind> found = discKindOf(listDiscFolder(stored));
        QCOMPARE(found ? int(*found) : -1, kind);
    }

    void dialogReturnsKindAndLocation_data()
    {
        QTest::addColumn<bool>("withDrives");
        QTest::addColumn<int>("entry"); // chosen before the dialog shows; -1 leaves the first
        QTest::addColumn<bool>("heldAnswer");
        QTest::addColumn<QString>("browsed");
        QTest::addColumn<bool>("play");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("location");
        QTest::newRow("no drive, nothing browsed") << false << -1 << false << "" << true << 0 << "";
        QTest::newRow("drive mounted at a Blu-ray") << true << 0 << false << "" << true << 1 << path("bd");
        QTest::newRow("unmounted drive holding a CD") << true << 1 << true << "" << true << 2 << "/dev/sr1";
        QTest::newRow("browsed Blu-ray root") << false << -1 << false << "bd" << true << 1 << path("bd");
        QTest::newRow("browsed VIDEO_TS folder") << true << -1 << false << "dvd/VIDEO_TS" << true << 0 << path("dvd");
        QTest::newRow("Cancel after browsing") << false << -1 << false << "cd" << false << -7 << "";
    }

    void dialogReturnsKindAndLocation()
    {
        QFETCH(bool, withDrives);
        QFETCH(int, entry);
        QFETCH(bool, heldAnswer);
        QFETCH(QString, browsed);
        QFETCH(bool, play);
        QFETCH(int, kind);
        QFETCH(QString, location);

        int chosenKind = -7;
        QString chosenLocation = QStringLiteral("unchanged");
        std::shared_ptr<const Platform::OpticalDrives> backend = drives;
        if (!withDrives)
            backend = std::make_shared<Platform::LinuxOpticalDrives>(path("empty"));
        InputDiscDialog dialog(&chosenKind, &chosenLocation, nullptr, Qt::WindowFlags(), backend);
        if (entry >= 0)
            dialog.findChild<QComboBox *>()->setCurrentIndex(entry);
        dialog.show();
        QCoreApplication::processEvents();
        if (heldAnswer) // the drive has not answered yet, and the dialog does not wait for it
            QCOMPARE(checkedKind(dialog), 0);
        drives->answer.release();
        if (!browsed.isEmpty())
            browse(dialog, path(browsed));
        if (play)
            QTRY_COMPARE(checkedKind(dialog), kind);

        QDialogButtonBox *buttons = dialog.findChild<QDialogButtonBox *>();
        buttons->button(play ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(chosenKind, kind);
        QCOMPARE(chosenLocation, location);
        drives->answer.acquire();
    }

    // The URL dialog's example lines can be read; every button of both
    // dialogs is the flat dark one of all dialogs.
    void sourceDialogsReadableInTheFlatLook()
    {
        const auto luminance = [](QRgb rgb) {
            const auto channel = [](int value) {
                const double c = value / 255.0;
                return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
        };
        QString url;
        InputUrlDialog urlDialog(&url);
        int kind = 0;
        QString location;
        InputDiscDialog discDialog(&kind, &location, nullptr, Qt::WindowFlags(), drives);
        drives->answer.release();
        for (QDialog *dialog : {static_cast<QDialog *>(&urlDialog), static_cast<QDialog *>(&discDialog)}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                const QImage face = button->grab().toImage();
                QCOMPARE(QColor(face.pixel(6, face.height() / 2)), QColor(83, 83, 83));
            }
        }
        QLabel *examples = nullptr;
        for (QLabel *label : urlDialog.findChildren<QLabel *>())
            examples = label->text().contains(QLatin1String("rtp://@:1234")) ? label : examples;
        QVERIFY(examples);
        QVERIFY(QFontInfo(examples->font()).pixelSize() >= 11);
        const QImage text = examples->grab().toImage();
        double darkest = 1;
        for (int y = 0; y < text.height(); ++y)
            for (int x = 0; x < text.width(); ++x)
                darkest = std::min(darkest, luminance(text.pixel(x, y)));
        const double background = luminance(text.pixel(0, 0));
        QVERIFY2((background + 0.05) / (darkest + 0.05) >= 4.5, qPrintable(QString::number(darkest)));
        drives->answer.acquire();
    }

    void browsingTheSameFolderTwiceAddsOneEntry()
    {
        int kind = 0;
        QString location;
        InputDiscDialog dialog(&kind, &location, nullptr, Qt::WindowFlags(), drives);
        auto *combo = dialog.findChild<QComboBox *>();
        browse(dialog, path("bd"));
        browse(dialog, path("bd"));
        QCOMPARE(combo->count(), 3);
        browse(dialog, path("dvd"));
        QCOMPARE(combo->count(), 4);
        QCOMPARE(combo->currentText(), path("dvd"));
    }

    // The window hands over the last disc played; Browse starts there while
    // it is a folder, otherwise at home.
    void browseStartsAtTheLastDisc_data()
    {
        QTest::addColumn<QString>("lastDisc");
        QTest::addColumn<QString>("start");
        QTest::newRow("folder") << path("dvd") << path("dvd");
        QTest::newRow("none") << "" << QDir::homePath();
        QTest::newRow("drive device") << "/dev/sr7" << QDir::homePath();
    }

    void browseStartsAtTheLastDisc()
    {
        QFETCH(QString, lastDisc);
        QFETCH(QString, start);
        int kind = 0;
        QString location;
        InputDiscDialog dialog(&kind, &location, nullptr, Qt::WindowFlags(), drives, lastDisc);
        drives->answer.release();
        QString shown;
        TarnTest::ModalAnswerer answerer([&shown](QWidget *modal) {
            auto *files = qobject_cast<QFileDialog *>(modal);
            if (files) {
                shown = files->directory().absolutePath();
                files->reject();
            }
            return files != nullptr;
        });
        dialog.findChild<QPushButton *>()->released(); // the first push button is Browse
        QCOMPARE(shown, start);
        drives->answer.acquire();
    }

    void locationsForTheEngine_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("engineLocation");
        QTest::addColumn<int>("tracks");
        QTest::newRow("DVD drive") << 0 << "/dev/sr1" << "dvd:///dev/sr1" << 11;
        QTest::newRow("Blu-ray drive") << 1 << "/dev/sr1" << "bluray:///dev/sr1" << 11;
        QTest::newRow("audio CD drive") << 2 << "/dev/sr1" << "cdda:///dev/sr1" << 11;
        QTest::newRow("audio CD by a drive's mount point") << 2 << path("bd") << "cdda:///dev/sr0" << 11;
        QTest::newRow("folder of .cda files") << 2 << path("cd") << "cdda://" + path("cd") << 3;
        QTest::newRow("folder without tracks") << 0 << path("dvd") << "dvd://" + path("dvd") << 0;
        QTest::newRow("URL characters in the path") << 0 << "/m/a b#c%d?" << "dvd:///m/a%20b%23c%25d%3F" << 0;
    }

    void locationsForTheEngine()
    {
        QFETCH(int, kind);
        QFETCH(QString, location);
        QFETCH(QString, engineLocation);
        QFETCH(int, tracks);
        drives->answer.release();
        const QList<Platform::OpticalDrive> listed = drives->drives();
        QCOMPARE(discEngineLocation(kind, location, listed), engineLocation);
        // The engine's playDisc puts "scheme:///" before its path.
        QCOMPARE(engineLocation.section(':', 0, 0) + ":///" + discEnginePath(kind, location, listed), engineLocation);
        QCOMPARE(audioCdTrackCount(location, *drives), tracks);
    }
};

TARN_TEST_MAIN(DiscDialogTest)
#include "tst_discdialog.moc"
