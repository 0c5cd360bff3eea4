#include "opticaldrives_linux.h"
#include "tarntest.h"

#include <linux/cdrom.h>

using Platform::DiscContent;

Q_DECLARE_METATYPE(QVector<int>)

class OpticalDrivesTest : public QObject
{
    Q_OBJECT

private slots:
    void listsDrivesWithMountPoints_data()
    {
        QTest::addColumn<QStringList>("blockDevices");
        QTest::addColumn<QByteArray>("cdromInfo");
        QTest::addColumn<QByteArray>("mounts");
        QTest::addColumn<QStringList>("drives"); // display text, then location, for each drive

        const QByteArray system = "sysfs /sys sysfs rw 0 0\n/dev/vda1 / ext4 rw,relatime 0 0\n";
        QTest::newRow("mounted and unmounted drive among other disks")
            << QStringList{"sda", "sr1", "loop0", "sr0", "srx"} << QByteArray()
            << system + "/dev/sr1 /media/cdrom1 iso9660 ro,nosuid 0 0\n"
            << QStringList{"/dev/sr0", "/dev/sr0", "/dev/sr1 (/media/cdrom1)", "/media/cdrom1"};
        QTest::newRow("escaped mount point, first mount wins")
            << QStringList{"sr0"} << QByteArray()
            << system + "/dev/sr0 /media/ann/My\\040Disc\\134x udf ro 0 0\n/dev/sr0 /mnt udf ro 0 0\n"
            << QStringList{"/dev/sr0 (/media/ann/My Disc\\x)", "/media/ann/My Disc\\x"};
        QTest::newRow("mounted through a link to the node")
            << QStringList{"sr0"} << QByteArray() << system + "/dev/cdrom /mnt/cd iso9660 ro 0 0\n"
            << QStringList{"/dev/sr0 (/mnt/cd)", "/mnt/cd"};
        QTest::newRow("cdrom table alone, numeric order")
            << QStringList{} << QByteArray("CD-ROM information, Id: cdrom.c 3.20\n\ndrive name:\t\tsr10\tsr2\n")
            << system << QStringList{"/dev/sr2", "/dev/sr2", "/dev/sr10", "/dev/sr10"};
        QTest::newRow("no drive, no proc files") << QStringList{} << QByteArray() << QByteArray() << QStringList{};
    }

    void listsDrivesWithMountPoints()
    {
        QFETCH(QStringList, blockDevices);
        QFETCH(QByteArray, cdromInfo);
        QFETCH(QByteArray, mounts);
        QFETCH(QStringList, drives);

        QTemporaryDir root;
        const auto write = [&root](const QString &path, const QByteArray &text) {
            QDir().mkpath(QFileInfo(root.filePath(path)).absolutePath());
            QFile file(root.filePath(path));
            return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
        };
        QDir().mkpath(root.filePath("sys/class/block"));
        for (const QString &name : blockDevices) {
            // As in sysfs: a link to the device's folder; the node is a plain file.
            QVERIFY(QDir().mkpath(root.filePath("sys/devices/block/" + name)));
            QVERIFY(QFile::link("../../devices/block/" + name, root.filePath("sys/class/block/" + name)));
            QVERIFY(write("dev/" + name, "not a drive"));
        }
        QFile::link("sr0", root.filePath("dev/cdrom"));
        QVERIFY(cdromInfo.isEmpty() || write("proc/sys/dev/cdrom/info", cdromInfo));
        QVERIFY(mounts.isEmpty() || write("proc/self/mounts", mounts));

        const Platform::LinuxOpticalDrives backend(root.path());
        QStringList listed;
        for (const Platform::OpticalDrive &drive : backend.drives()) {
            listed << drive.displayText << drive.location;
            // A node that is no drive, or no node at all, is asked without harm.
            QCOMPARE(int(backend.discInfo(drive.device).content), int(DiscContent::Unknown));
        }
        QCOMPARE(listed, drives);
    }

    void decodesRecordedIoctls_data()
    {
        QTest::addColumn<int>("driveStatus");
        QTest::addColumn<int>("discStatus");
        QTest::addColumn<QVector<int>>("controls"); // of tracks 1..n; -1: entry not read
        QTest::addColumn<int>("content");
        QTest::addColumn<int>("audioTracks");

        const QVector<int> audio12(12, 0);
        const int data = CDROM_DATA_TRACK;
        QTest::newRow("audio CD") << CDS_DISC_OK << CDS_AUDIO << audio12 << int(DiscContent::Audio) << 12;
        QTest::newRow("DVD") << CDS_DISC_OK << CDS_DATA_1 << QVector<int>{data} << int(DiscContent::Data) << 0;
        QTest::newRow("mixed, data track first")
            << CDS_DISC_OK << CDS_MIXED << QVector<int>{data, 0, 0, 0} << int(DiscContent::Mixed) << 3;
        QTest::newRow("enhanced CD, data track last, copy bits")
            << CDS_DISC_OK << CDS_MIXED << QVector<int>{2, 2, 0, data | 2} << int(DiscContent::Mixed) << 3;
        QTest::newRow("no disc") << CDS_NO_DISC << -1 << QVector<int>{} << int(DiscContent::NoDisc) << 0;
        QTest::newRow("tray open") << CDS_TRAY_OPEN << -1 << QVector<int>{} << int(DiscContent::TrayOpen) << 0;
        QTest::newRow("status calls failed, audio contents") << -1 << -1 << audio12 << int(DiscContent::Audio) << 12;
        QTest::newRow("drive cannot tell, mixed contents")
            << CDS_NO_INFO << CDS_NO_INFO << QVector<int>{data, 0, 0} << int(DiscContent::Mixed) << 2;
        QTest::newRow("entries unread: header counts")
            << CDS_DISC_OK << CDS_AUDIO << QVector<int>(8, -1) << int(DiscContent::Audio) << 8;
        QTest::newRow("entries unread on a mixed disc")
            << CDS_DISC_OK << CDS_MIXED << QVector<int>(8, -1) << int(DiscContent::Mixed) << 7;
        QTest::newRow("nothing answered") << -1 << -1 << QVector<int>{} << int(DiscContent::Unknown) << 0;
    }

    void decodesRecordedIoctls()
    {
        QFETCH(int, driveStatus);
        QFETCH(int, discStatus);
        QFETCH(QVector<int>, controls);
        Platform::CdromRecord record;
        record.driveStatus = driveStatus;
        record.discStatus = discStatus;
        record.firstTrack = 1;
        record.lastTrack = controls.size();
        record.trackControl = controls;
        const Platform::DiscInfo info = Platform::decodeCdrom(record);
        QTEST(int(info.content), "content");
        QTEST(info.audioTracks, "audioTracks");
    }
};

QTEST_GUILESS_MAIN(OpticalDrivesTest)
#include "tst_opticaldrives.moc"
