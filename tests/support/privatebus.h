#pragma once
// A private session bus for a test process, without service activation; its
// address goes into DBUS_SESSION_BUS_ADDRESS before the application object
// exists (QtDBus reads it once).

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <sys/types.h>

namespace TarnTest {

class PrivateSessionBus
{
public:
    // Starts the daemon and exports its address; false when it failed.
    bool start()
    {
        config.setFileTemplate(QDir::tempPath() + QStringLiteral("/tarn-bus-XXXXXX.conf"));
        if (!config.open())
            return false;
        // The policy of Debian's session bus, without its service folders.
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<auth>EXTERNAL</auth><policy context=\"default\">"
                     "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                     "<allow own=\"*\"/></policy></busconfig>\n");
        config.flush();
        const QByteArray command = "dbus-daemon --fork --print-address=1 --print-pid=1 --config-file=" +
                                   QFile::encodeName(config.fileName());
        FILE *out = popen(command.constData(), "r");
        if (!out)
            return false;
        char line[512] = {};
        if (fgets(line, sizeof line, out))
            address = QByteArray(line).trimmed();
        if (fgets(line, sizeof line, out))
            pid = QByteArray(line).trimmed().toInt();
        pclose(out);
        if (address.isEmpty() || pid <= 0)
            return false;
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        return true;
    }

    ~PrivateSessionBus()
    {
        if (pid > 0)
            ::kill(pid_t(pid), SIGTERM);
    }

    QByteArray address;

private:
    QTemporaryFile config;
    int pid = 0;
};

} // namespace TarnTest
