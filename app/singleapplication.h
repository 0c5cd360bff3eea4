#pragma once

#include <QApplication>
#include <QWidget>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// The application object of a program that runs once per user: the first
// process (the primary) holds a lock file and listens on a local socket, both
// in the user's runtime directory (or its private stand-in, see
// InstanceFolder); later processes hand it a text with
// sendMessage. A lock that names no live process of ours on this host (its
// process died, or its content is empty, unreadable or from another host) is
// stale, and the next launch takes it over at once. A process whose hand-over
// failed keeps trying to take the lock, once a second, and becomes the primary
// when it can.
//
// Wire format: a 32-bit big-endian byte count, then the text in UTF-8; the
// primary answers one acknowledgement byte, and the sender confirms it with
// one byte. The primary delivers the text only on that confirmation: a sender
// that gave up waiting (the primary was frozen) never confirms, and its text
// is dropped with a warning instead of opening a second time.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(const QString &id, int &argc, char **argv);
    ~SingleApplication() override;

    QString id() const { return instanceId; }
    // Whether another process with the same id is the primary.
    bool isRunning() const;
    // Sends text to the primary; true only when the primary received it
    // within timeout milliseconds. Always false in the primary itself.
    bool sendMessage(const QString &message, int timeout = 5000);

    void setActivationWindow(QWidget *window, bool activateOnMessage = true);
    QWidget *activationWindow() const { return windowToActivate; }

    // Location of the socket and lock for an id, in this process's instance folder.
    static QString serverPath(const QString &id);

signals:
    // Emitted on the GUI thread, once per message received.
    void messageReceived(const QString &message);
    // "[Main] ..." log lines (outside text HTML-escaped).
    void messageWarning(const QString &message);

public slots:
    // Un-minimises, raises and activates the activation window.
    void activateWindow();

private:
    struct Incoming;

    // Takes the lock, breaking it when it is stale; true when held.
    bool takeLock();
    void becomePrimaryWhenPossible();
    void startServer();
    void acceptConnection();
    void readIncoming(QLocalSocket *socket, Incoming &incoming);
    void endIncoming(QLocalSocket *socket, Incoming &incoming);

    QString instanceId;
    std::unique_ptr<QLockFile> lock;
    bool primary = false;
    QLocalServer *server = nullptr;
    QTimer lockRetry;
    QPointer<QWidget> windowToActivate;
    bool activateOnMessage = true;
};
