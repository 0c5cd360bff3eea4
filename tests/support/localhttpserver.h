#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests of the network clients:
// it records every request and answers with the planned reply.

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QVector>

#include <functional>

namespace TarnTest {

struct HttpRequest
{
    QByteArray method;
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;

    // The form fields of the body, percent-decoded, in order.
    QVector<QPair<QString, QString>> fields() const
    {
        QVector<QPair<QString, QString>> result;
        for (const QByteArray &pair : body.split('&')) {
            const int equals = pair.indexOf('=');
            result.append({QString::fromUtf8(QByteArray::fromPercentEncoding(pair.left(equals))),
                           QString::fromUtf8(QByteArray::fromPercentEncoding(pair.mid(equals + 1)))});
        }
        return result;
    }
};

struct HttpReply
{
    HttpReply(const QByteArray &body = {}, int status = 200) : status(status)
    {
        if (!body.isEmpty())
            chunks << body;
    }
    int status;
    QList<QByteArray> chunks;   // the body, written chunkDelayMs apart
    int chunkDelayMs = 0;
    qint64 streamBytes = 0;     // > 0: a generated body of this size, written as the socket drains
    bool silent = false;        // read the request, never answer
    bool held = false;          // answer only on release()
};

class LocalHttpServer : public QTcpServer
{
public:
    LocalHttpServer()
    {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                serve(socket);
        });
    }

    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(serverPort()); }

    HttpReply reply;
    QVector<HttpRequest> requests;
    qint64 streamed = 0; // bytes of generated bodies written

    // Answers the requests held so far.
    void release()
    {
        reply.held = false;
        const auto waiting = m_held;
        m_held.clear();
        for (const QPointer<QTcpSocket> &socket : waiting)
            if (socket)
                answer(socket);
    }

private:
    void serve(QTcpSocket *socket)
    {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const int headerEnd = buffer->indexOf("\r\n\r\n");
            if (headerEnd < 0)
                return;
            HttpRequest request;
            const QList<QByteArray> lines = buffer->left(headerEnd).split('\n');
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.method = first.value(0);
            request.path = first.value(1);
            for (int i = 1; i < lines.size(); ++i) {
                const int colon = lines[i].indexOf(':');
                if (colon > 0)
                    request.headers.insert(lines[i].left(colon).trimmed().toLower(), lines[i].mid(colon + 1).trimmed());
            }
            const int length = request.headers.value("content-length").toInt();
            if (buffer->size() < headerEnd + 4 + length)
                return;
            request.body = buffer->mid(headerEnd + 4, length);
            buffer->clear();
            requests.append(request);
            if (reply.silent)
                return;
            if (reply.held)
                m_held.append(socket);
            else
                answer(socket);
        });
    }

    void answer(QTcpSocket *socket)
    {
        const HttpReply plan = reply;
        qint64 length = plan.streamBytes;
        for (const QByteArray &chunk : plan.chunks)
            length += chunk.size();
        socket->write(QByteArray("HTTP/1.1 ") + QByteArray::number(plan.status)
                      + (plan.status < 400 ? " OK" : " Internal Server Error")
                      + "\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                      + QByteArray::number(length) + "\r\n\r\n");
        if (plan.streamBytes > 0)
            stream(socket, plan.streamBytes);
        else
            writeChunks(socket, plan.chunks, plan.chunkDelayMs);
    }

    static void writeChunks(QPointer<QTcpSocket> socket, QList<QByteArray> chunks, int delayMs)
    {
        if (socket && chunks.isEmpty())
            socket->disconnectFromHost();
        if (!socket || chunks.isEmpty())
            return;
        socket->write(chunks.takeFirst());
        socket->flush();
        QTimer::singleShot(chunks.isEmpty() ? 0 : delayMs, socket,
                           [socket, chunks, delayMs] { writeChunks(socket, chunks, delayMs); });
    }

    // Writes the generated body 64 KiB at a time, never more than 256 KiB
    // ahead of the peer, so the server itself stays small.
    void stream(QTcpSocket *socket, qint64 total)
    {
        auto left = std::make_shared<qint64>(total);
        auto refill = [this, socket, left] {
            while (*left > 0 && socket->bytesToWrite() < 256 * 1024) {
                const qint64 piece = qMin<qint64>(*left, 64 * 1024);
                socket->write(QByteArray(int(piece), 'x'));
                *left -= piece;
                streamed += piece;
            }
            if (*left == 0 && socket->bytesToWrite() == 0)
                socket->disconnectFromHost();
        };
        connect(socket, &QTcpSocket::bytesWritten, socket, refill);
        refill();
    }

    QVector<QPointer<QTcpSocket>> m_held;
};

} // namespace TarnTest
