// Settings that cannot be written or read: the window in this process against
// a read-only settings folder, and the real player against a garbled file.

#include "playerwindow.h"
#include "singleapplication.h"
#include "modalanswerer.h"
#include "tarntest.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSettings>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Root writes into read-only folders: while this lives, the calling thread
// lacks the capabilities that override file modes, as a user would.
class FileModesApply
{
public:
    FileModesApply()
    {
        m_saved = syscall(SYS_capget, &m_header, m_data) == 0;
        __user_cap_data_struct reduced[2] = {m_data[0], m_data[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        if (m_saved)
            syscall(SYS_capset, &m_header, reduced);
    }
    ~FileModesApply()
    {
        if (m_saved)
            syscall(SYS_capset, &m_header, m_data);
    }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_data[2]{};
    bool m_saved = false;
};

} // namespace

class SettingsSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QDir().mkpath(QFileInfo(QSettings().fileName()).absolutePath()); }

    void unsavableSettingsWarnOnceAndQuitNormally_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("read-only folder") << false;
        QTest::newRow("read-only folder with its file") << true;
    }

    void unsavableSettingsWarnOnceAndQuitNormally()
    {
        QFETCH(bool, fileExists);
        const QString file = QSettings().fileName();
        const QString folder = QFileInfo(file).absolutePath();
        QFile::remove(file);
        if (fileExists)
            QSettings().setValue(QStringLiteral("Input/last file"), QStringLiteral("/media/old.mkv"));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const FileModesApply modes;

        auto *window = new PlayerWindow(QString(), true);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QStringList log;
        connect(window, &PlayerWindow::messageWarning, this, [&log](const QString &line) { log << line; });
        TarnTest::ModalAnswerer answerer;
        QMetaObject::invokeMethod(window, "fileQuit", Qt::QueuedConnection);
        QTest::ignoreMessage(QtWarningMsg, qPrintable("[Main] Failed to save settings: " + file));
        const int exitCode = QCoreApplication::exec();
        delete window;
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QCOMPARE(exitCode, 0);
        QCOMPARE(log, QStringList{"[Main] Failed to save settings: " + file});
        QCOMPARE(answerer.boxes.size(), 1);
        QVERIFY2(answerer.boxes.first().contains(file), qPrintable(answerer.boxes.first()));
    }

    // The garbled file asked for a new window per video: with defaults, a
    // second launch hands its video over instead.
    void unreadableSettingsFileIsKeptAsideAndDefaultsApply()
    {
        const QString file = QSettings().fileName();
        const QByteArray garbled("[Input]\nvideo%20instance=true\n\x89PNG\r\n\x1a\n\0\0garbled", 47);
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(garbled) == garbled.size());
        out.close();

        QProcess player;
        player.start(QStringLiteral(PLAYER), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(([] {
                                     QLocalSocket socket;
                                     socket.connectToServer(SingleApplication::serverPath("Mirelva.Player"));
                                     return socket.waitForConnected(200);
                                 }()),
                                 10000);
        QProcess second;
        second.start(QStringLiteral(PLAYER), {QStringLiteral("--start"), QStringLiteral("/nonexistent/clip.mkv")});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        player.kill();
        player.waitForFinished(10000);

        const QFileInfoList kept = QFileInfo(file).dir().entryInfoList({"Player.conf.corrupt-*"}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QFile keptFile(kept.first().filePath());
        QVERIFY(keptFile.open(QIODevice::ReadOnly) && keptFile.readAll() == garbled);
        QVERIFY(player.readAllStandardError().contains(
            "[Main] Settings could not be read; the file was kept as " + kept.first().filePath().toUtf8()));
    }
};

TARN_TEST_MAIN(SettingsSafetyTest)
#include "tst_settingssafety.moc"
