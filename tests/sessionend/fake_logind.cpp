// A stand-in for systemd-logind's Manager.Inhibit on a private bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <QTextStream>

#include <unistd.h>

namespace {

void say(const QString &line)
{
    QTextStream out(stdout);
    out << line << '\n';
    out.flush();
}

} // namespace

class Manager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why, const QString &mode)
    {
        say(QStringLiteral("inhibit %1|%2|%3|%4").arg(what, who, why, mode));
        int ends[2];
        if (pipe(ends) != 0)
            return QDBusUnixFileDescriptor();
        // The read end sees the end of the file once every copy of the
        // write end handed out is closed.
        auto *notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [notifier, fd = ends[0]] {
            char byte;
            if (read(fd, &byte, 1) <= 0) {
                notifier->setEnabled(false);
                close(fd);
                say(QStringLiteral("released"));
            }
        });
        const QDBusUnixFileDescriptor handed(ends[1]); // a duplicate
        close(ends[1]);
        return handed;
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(argv[1]), QStringLiteral("logind"));
    Manager manager;
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/login1"), &manager, QDBusConnection::ExportAllSlots)
        || !bus.registerService(QStringLiteral("org.freedesktop.login1")))
        return 1;
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "fake_logind.moc"
