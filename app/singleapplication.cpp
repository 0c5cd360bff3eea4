#include "singleapplication.h"

#include <QFileInfo>
#include <QRegExp>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

namespace {

// Larger texts are not start files: the connection is dropped.
constexpr quint32 maxMessageBytes = 1024 * 1024;
constexpr char ackByte = '\x06';
constexpr int retryDelayMs = 50;

} // namespace

SingleApplication::SingleApplication(const QString &id, int &argc, char **argv)
    : QApplication(argc, argv)
    , m_id(id)
{
    const QString path = serverPath(id);
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0); // only a lock whose process is gone is stale
    m_primary = m_lock->tryLock(0);
    if (m_primary)
        startServer();
}

SingleApplication::~SingleApplication()
{
    if (m_server)
        m_server->close();
}

QString SingleApplication::serverPath(const QString &id)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QString name = id;
    name.replace(QRegExp(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return dir + QLatin1Char('/') + name;
}

bool SingleApplication::isRunning() const
{
    return !m_primary;
}

void SingleApplication::startServer()
{
    const QString path = serverPath(m_id);
    QLocalServer::removeServer(path); // left behind by a primary that died; we hold the lock
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(path)) {
        qWarning("Single instance: cannot listen on %s: %s", qPrintable(path), qPrintable(m_server->errorString()));
        return;
    }
    // new connection -> read its message
    connect(m_server, &QLocalServer::newConnection, this, &SingleApplication::acceptConnection);
}

void SingleApplication::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // socket data -> message; socket closed -> deleted
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QLocalSocket::deleteLater);
        readMessage(socket);
    }
}

void SingleApplication::readMessage(QLocalSocket *socket)
{
    if (socket->property("delivered").toBool())
        return;
    if (socket->bytesAvailable() < 4)
        return;
    QByteArray head = socket->peek(4);
    const quint32 length = (quint32(quint8(head[0])) << 24) | (quint32(quint8(head[1])) << 16)
                           | (quint32(quint8(head[2])) << 8) | quint32(quint8(head[3]));
    if (length > maxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(4 + length))
        return;
    socket->read(4);
    const QString message = QString::fromUtf8(socket->read(length));
    socket->setProperty("delivered", true);
    socket->write(&ackByte, 1);
    socket->flush();
    emit messageReceived(message);
    if (m_activateOnMessage && m_activationWindow)
        activateWindow();
}

bool SingleApplication::sendMessage(const QString &message, int timeout)
{
    if (m_primary)
        return false;
    const QByteArray text = message.toUtf8();
    if (quint32(text.size()) > maxMessageBytes)
        return false;

    QDeadlineTimer deadline(timeout);
    QLocalSocket socket;
    // The primary may still be starting its server: try until the deadline.
    for (;;) {
        socket.connectToServer(serverPath(m_id));
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (m_lock->tryLock(0)) {
            // The primary is gone: this process takes its place.
            m_primary = true;
            startServer();
            return false;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(retryDelayMs);
    }

    QByteArray packet(4, '\0');
    const quint32 length = quint32(text.size());
    packet[0] = char(length >> 24);
    packet[1] = char(length >> 16);
    packet[2] = char(length >> 8);
    packet[3] = char(length);
    packet += text;
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
    return socket.read(&ack, 1) == 1 && ack == ackByte;
}

void SingleApplication::setActivationWindow(QWidget *window, bool activateOnMessage)
{
    m_activationWindow = window;
    m_activateOnMessage = activateOnMessage;
}

void SingleApplication::activateWindow()
{
    if (!m_activationWindow)
        return;
    m_activationWindow->setWindowState(m_activationWindow->windowState() & ~Qt::WindowMinimized);
    m_activationWindow->raise();
    m_activationWindow->activateWindow();
}
