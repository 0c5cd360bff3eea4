#include "singleapplication.h"

#include "instancefolder.h"

#include <QFileInfo>
#include <QRegExp>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <QWidget>

namespace {

// Larger texts are not start files: the connection is dropped.
constexpr quint32 maxMessageBytes = 1024 * 1024;
constexpr char ackByte = '\x06';
constexpr char confirmByte = '\x04';
constexpr int retryDelayMs = 50;
constexpr int lockRetryMs = 1000;
// A connection that has not completed its exchange by then is closed.
constexpr int connectionLimitMs = 10000;
// The confirmation goes to a primary that has just answered.
constexpr int confirmWriteMs = 1000;

// Whether a lock file holds a process id and names this host, in QLockFile's
// format: lines of process id, application, host name and, since Qt 5.10,
// machine id (which decides when both sides know one).
bool namesProcessOfThisHost(const QString &lockPath)
{
    QFile file(lockPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool isNumber = false;
    if (lines.value(0).toLongLong(&isNumber) <= 0 || !isNumber)
        return false;
    const QByteArray machineId = QSysInfo::machineUniqueId();
    if (!lines.value(3).isEmpty() && !machineId.isEmpty())
        return lines.value(3) == machineId;
    const QByteArray host = lines.value(2);
    return host.isEmpty() || host == QSysInfo::machineHostName().toLocal8Bit();
}

} // namespace

// One connection of another process, on the primary.
struct SingleApplication::Incoming
{
    QString message;
    bool acknowledged = false; // the whole text arrived and the byte was sent
    bool finished = false;     // delivered, dropped or refused
};

SingleApplication::SingleApplication(const QString &id, int &argc, char **argv)
    : QApplication(argc, argv)
    , instanceId(id)
{
    const InstanceFolder::Choice &folder = InstanceFolder::current();
    if (!folder.logLine.isEmpty()) {
        // Told once, to the window's log; the event loop runs after main has
        // connected it.
        QTimer::singleShot(0, this, [this, line = folder.logLine] { emit messageWarning(line); });
    }
    if (folder.folder.isEmpty()) {
        primary = true; // on its own: there is nowhere to meet another process
        return;
    }
    const QString path = serverPath(id);
    lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    primary = takeLock();
    if (!primary && lock->error() != QLockFile::LockFailedError) {
        // The lock cannot be created at all: waiting for a primary is futile.
        qWarning("Single instance: cannot create %s.lock: this process runs on its own", qPrintable(path));
        lock.reset();
        primary = true;
        return;
    }
    if (primary)
        startServer();
    lockRetry.setInterval(lockRetryMs);
    // retry tick -> try the lock again
    connect(&lockRetry, &QTimer::timeout, this, [this] {
        if (!takeLock())
            return;
        lockRetry.stop();
        primary = true;
        startServer();
    });
}

SingleApplication::~SingleApplication()
{
    if (server)
        server->close();
}

QString SingleApplication::serverPath(const QString &id)
{
    QString name = id;
    name.replace(QRegExp(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return InstanceFolder::current().folder + QLatin1Char('/') + name.left(InstanceFolder::maxSocketNameBytes);
}

bool SingleApplication::isRunning() const
{
    return !primary;
}

bool SingleApplication::takeLock()
{
    if (lock->tryLock(0))
        return true;
    if (lock->error() != QLockFile::LockFailedError)
        return false;
    // QLockFile has judged a lock that names a process of this host: that
    // process lives and runs our program. It never breaks an empty or garbled
    // lock, or one written on another host (a copied home or runtime folder),
    // which would then stand for ever. The removal fails while a live process
    // still holds the lock.
    if (namesProcessOfThisHost(serverPath(instanceId) + QStringLiteral(".lock")))
        return false;
    lock->removeStaleLockFile();
    return lock->tryLock(0);
}

void SingleApplication::becomePrimaryWhenPossible()
{
    if (!primary && !lockRetry.isActive())
        lockRetry.start();
}

void SingleApplication::startServer()
{
    const QString path = serverPath(instanceId);
    QLocalServer::removeServer(path); // left behind by a primary that died; we hold the lock
    server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        qWarning("Single instance: cannot listen on %s: %s", qPrintable(path), qPrintable(server->errorString()));
        return;
    }
    // new connection -> read its message
    connect(server, &QLocalServer::newConnection, this, &SingleApplication::acceptConnection);
}

void SingleApplication::acceptConnection()
{
    while (QLocalSocket *socket = server->nextPendingConnection()) {
        // Lives as long as the connections below, which hold it.
        auto incoming = std::make_shared<Incoming>();
        // socket data -> text, then confirmation; socket closed or too slow -> end
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, incoming] { readIncoming(socket, *incoming); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, incoming] { endIncoming(socket, *incoming); });
        QTimer::singleShot(connectionLimitMs, socket, [this, socket, incoming] { endIncoming(socket, *incoming); });
        readIncoming(socket, *incoming);
    }
}

void SingleApplication::readIncoming(QLocalSocket *socket, Incoming &incoming)
{
    if (incoming.finished)
        return;
    if (!incoming.acknowledged) {
        if (socket->bytesAvailable() < 4)
            return;
        const QByteArray head = socket->peek(4);
        const quint32 length = (quint32(quint8(head[0])) << 24) | (quint32(quint8(head[1])) << 16)
                               | (quint32(quint8(head[2])) << 8) | quint32(quint8(head[3]));
        if (length > maxMessageBytes) {
            incoming.finished = true;
            socket->abort();
            return;
        }
        if (socket->bytesAvailable() < qint64(4 + length))
            return;
        socket->read(4);
        incoming.message = QString::fromUtf8(socket->read(length));
        incoming.acknowledged = true;
        socket->write(&ackByte, 1);
        socket->flush();
    }
    char confirm = 0;
    if (socket->read(&confirm, 1) != 1)
        return;
    incoming.finished = true;
    if (confirm != confirmByte)
        return;
    emit messageReceived(incoming.message);
    if (activateOnMessage && windowToActivate)
        activateWindow();
}

void SingleApplication::endIncoming(QLocalSocket *socket, Incoming &incoming)
{
    if (!incoming.finished && incoming.acknowledged) {
        emit messageWarning(QStringLiteral("[Main] Dropped a message whose sender stopped waiting: %1")
                                .arg(incoming.message.toHtmlEscaped()));
    }
    incoming.finished = true;
    if (socket->state() != QLocalSocket::UnconnectedState)
        socket->abort();
    socket->deleteLater();
}

namespace {

// Writes packet, waits for the acknowledgement and confirms it.
bool deliver(QLocalSocket &socket, const QByteArray &packet, const QDeadlineTimer &deadline)
{
    socket.write(packet);
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    char ack = 0;
    if (socket.read(&ack, 1) != 1 || ack != ackByte)
        return false;
    socket.write(&confirmByte, 1);
    return socket.waitForBytesWritten(confirmWriteMs);
}

} // namespace

bool SingleApplication::sendMessage(const QString &message, int timeout)
{
    if (primary)
        return false;
    const QByteArray text = message.toUtf8();
    if (quint32(text.size()) > maxMessageBytes)
        return false;

    QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // The primary may still be starting its server: try until the deadline.
    for (;;) {
        socket.connectToServer(serverPath(instanceId));
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (takeLock()) {
            // The primary is gone: this process takes its place.
            primary = true;
            startServer();
            return false;
        }
        if (deadline.hasExpired()) {
            becomePrimaryWhenPossible();
            return false;
        }
        QThread::msleep(retryDelayMs);
    }

    QByteArray packet(4, '\0');
    const quint32 length = quint32(text.size());
    packet[0] = char(length >> 24);
    packet[1] = char(length >> 16);
    packet[2] = char(length >> 8);
    packet[3] = char(length);
    packet += text;
    if (!deliver(socket, packet, deadline)) {
        // This process opens its own window: it becomes the primary once the
        // one that did not answer is gone.
        becomePrimaryWhenPossible();
        return false;
    }
    return true;
}

void SingleApplication::setActivationWindow(QWidget *window, bool onMessage)
{
    windowToActivate = window;
    activateOnMessage = onMessage;
}

void SingleApplication::activateWindow()
{
    if (!windowToActivate)
        return;
    windowToActivate->setWindowState(windowToActivate->windowState() & ~Qt::WindowMinimized);
    windowToActivate->raise();
    windowToActivate->activateWindow();
}
