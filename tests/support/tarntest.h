#pragma once
// Test entry points that keep every test away from the user's real settings:
// XDG_CONFIG_HOME (QSettings) and XDG_RUNTIME_DIR (single-instance socket and
// lock) point into a temporary directory that lives as long as the process.
// The session bus is one that does not exist (a test that wants one starts
// its own, see privatebus.h): players under test never reach the user's
// desktop, and libdbus never launches a bus of its own.

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

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
    // The maker's server is out of reach: checks at start and reports go to a
    // closed local port unless a test points them at a server of its own.
    qputenv("PLAYER_TARN_SERVER", "http://127.0.0.1:1");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + root + "/no-session-bus");
    QDir().mkpath(dir.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(dir.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Directory of the test data committed under tests/data.
inline QString dataPath(const QString &name)
{
    return QStringLiteral(TARN_TEST_DATA_DIR "/") + name;
}

// Copies a file to a native name given as bytes (QFile cannot create a name
// that is not UTF-8); false when it failed.
inline bool copyToNativeName(const QString &source, const QByteArray &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = in.readAll();
    FILE *out = std::fopen(target.constData(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(data.constData(), 1, size_t(data.size()), out) == size_t(data.size());
    return std::fclose(out) == 0 && written;
}

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
