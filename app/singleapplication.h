#pragma once

#include <QApplication>
#include <QWidget>
#include <QPointer>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// The application object of a program that runs once per user: the first
// process (the primary) holds a lock file and listens on a local socket, both
// in the user's runtime directory; later processes hand it a text with
// sendMessage. A primary that died leaves a stale lock, which the next launch
// takes over.
//
// Wire format: a 32-bit big-endian byte count, then the text in UTF-8; the
// primary answers one byte once it has delivered the text.
class SingleApplication : public QApplication
{
    Q_OBJECT

public:
    SingleApplication(const QString &id, int &argc, char **argv);
    ~SingleApplication() override;

    QString id() const { return m_id; }
    // Whether another process with the same id is the primary.
    bool isRunning() const;
    // Sends text to the primary; true only when the primary received it
    // within timeout milliseconds. Always false in the primary itself.
    bool sendMessage(const QString &message, int timeout = 5000);

    void setActivationWindow(QWidget *window, bool activateOnMessage = true);
    QWidget *activationWindow() const { return m_activationWindow; }

    // Location of the socket and lock for an id, in the user's runtime directory.
    static QString serverPath(const QString &id);

signals:
    // Emitted on the GUI thread, once per message received.
    void messageReceived(const QString &message);

public slots:
    // Un-minimises, raises and activates the activation window.
    void activateWindow();

private:
    void startServer();
    void acceptConnection();
    void readMessage(QLocalSocket *socket);

    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    bool m_primary = false;
    QLocalServer *m_server = nullptr;
    QPointer<QWidget> m_activationWindow;
    bool m_activateOnMessage = true;
};
