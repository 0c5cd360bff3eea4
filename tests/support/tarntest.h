#pragma once
// Test entry points that keep every test away from the user's real settings:
// XDG_CONFIG_HOME (QSettings) and XDG_RUNTIME_DIR (single-instance socket and
// lock) point into a temporary directory that lives as long as the process.

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace TarnTest {

inline QTemporaryDir &isolationDir()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/tarn-test-XXXXXX"));
    return dir;
}

// Call before the application object exists.
inline void isolateEnvironment()
{
    QTemporaryDir &dir = isolationDir();
    const QByteArray root = dir.path().toLocal8Bit();
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_DATA_HOME", root + "/data");
    QDir().mkpath(dir.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(dir.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Directory of the test data committed under tests/data.
inline QString dataPath(const QString &name)
{
    return QStringLiteral(TARN_TEST_DATA_DIR "/") + name;
}

// While it lives, answers every message box that opens (nested ones too) with
// Ok and keeps its text, so that no box blocks a test.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer()
    {
        m_timer.setInterval(20);
        // tick -> answer the box in front, if any
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start();
    }

    QStringList texts;

private:
    QTimer m_timer;
};

} // namespace TarnTest

#define TARN_TEST_MAIN_IMPL(TestObject, AppClass) \
    int main(int argc, char *argv[]) \
    { \
        TarnTest::isolateEnvironment(); \
        AppClass app(argc, argv); \
        app.setOrganizationName(QStringLiteral("Mirelva")); \
        app.setApplicationName(QStringLiteral("Player")); \
        app.setOrganizationDomain(QString()); \
        TestObject tc; \
        return QTest::qExec(&tc, argc, argv); \
    }

// A widgets test with the application identity of the player.
#define TARN_TEST_MAIN(TestObject) TARN_TEST_MAIN_IMPL(TestObject, QApplication)
// A test without a display that still touches settings or runtime files.
#define TARN_TEST_GUILESS_MAIN(TestObject) TARN_TEST_MAIN_IMPL(TestObject, QCoreApplication)
