#pragma once

#include <QObject>

#include <optional>

namespace Desktop {

// Keeps the screen from blanking through org.freedesktop.ScreenSaver on the
// session bus: Inhibit while wanted, UnInhibit once no longer wanted or when
// destroyed. Without the service (or without a bus) it does nothing and says
// nothing.
//
// The inhibition belongs to the process's bus connection: the screen saver
// drops it when the connection goes, so a player that crashes or is killed
// leaves the screen free to blank. Calls never wait for the service; a
// release asked for while the Inhibit answer is still on its way is sent once
// the cookie arrives. GUI thread only; nothing is sent before start().
class ScreenSaverInhibitor : public QObject
{
    Q_OBJECT

public:
    explicit ScreenSaverInhibitor(QObject *parent = nullptr);
    ~ScreenSaverInhibitor() override;

    // The session bus is open (SessionBus): a wanted inhibition is asked for.
    void start();
    bool isHeld() const { return cookie.has_value(); }

public slots:
    void setWanted(bool on);

private:
    void apply();
    void release();

    bool started = false;
    bool wanted = false;
    // An Inhibit call is on its way.
    bool asking = false;
    // The service refused or is missing: asked again only after the wish
    // has gone and come back.
    bool refused = false;
    std::optional<uint> cookie;
};

} // namespace Desktop
