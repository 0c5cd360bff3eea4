#pragma once

#include "mprisstate.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class PlayerCommands;

namespace Desktop {

class MprisPlayerAdaptor;
class MprisRootAdaptor;
class PlayerStateWatcher;

// The player on the session bus as an MPRIS 2 media player: the object
// /org/mpris/MediaPlayer2 with the root and the Player interfaces, under the
// name org.mpris.MediaPlayer2.player_tarn, or, when another player holds
// that name (a second window for a video), under the same name followed by
// ".instance<pid>".
//
// It drives the player only through the player commands (the paths of the
// controls) and, for what the window does itself, through its signals; each
// of these runs from the event loop after the D-Bus call has returned.
// Changes the watcher reports go out as PropertiesChanged, time jumps as
// Seeked. A call is carried out whether or not its sender expects a reply,
// and also when it comes as a signal addressed to the object (what
// dbus-send sends unless told --print-reply or --type=method_call). GUI
// thread only; nothing is sent before start().
class MprisService : public QObject
{
    Q_OBJECT

public:
    static const QString objectPath;
    static const QString baseName;

    MprisService(PlayerStateWatcher *watcher, PlayerCommands *commands, QObject *parent);
    // Takes the object and the name off the bus, without waiting for it.
    ~MprisService() override;

    // Exports the object and asks for the name; the answer comes
    // asynchronously. Call once the session bus is open (SessionBus).
    void start();
    // The name held on the bus, empty until it is granted.
    QString serviceName() const { return name; }

    // For the adaptors.
    PlayerSnapshot player() const;
    qint64 positionMs() const;
    // Runs the command from the event loop, after the current D-Bus call.
    void queue(std::function<void(PlayerCommands *)> command);
    void queueOpen(const QString &uri);
    void queueRaise();
    void queueQuit();

signals:
    // Granted a name on the bus.
    void registered(const QString &name);
    // For the window: a local file (playlist files included) or a location
    // to open, raise the window, quit.
    void openFileRequested(const QString &path);
    void openUrlRequested(const QString &url);
    void raiseRequested();
    void quitRequested();

private slots:
    // A method's name and arguments sent as a signal: carried out as the call.
    void carryOutSignal(const QDBusMessage &message);

private:
    void requestName(const QString &wanted, bool fallBack);
    void publish(const PlayerSnapshot &player);
    void announceJump(qint64 ms);

    PlayerStateWatcher *watcher;
    PlayerCommands *commands;
    MprisRootAdaptor *rootAdaptor = nullptr;
    MprisPlayerAdaptor *playerAdaptor = nullptr;
    bool exported = false;
    QString name;
    // The Player properties as last announced.
    QVariantMap published;
};

} // namespace Desktop
