#pragma once

#include <QThread>

#include <atomic>

struct libvlc_media_player_t;

namespace LibPlayer {

// Stops and releases one libvlc player away from the GUI thread: libvlc's stop
// joins its decoder and output threads, which may wait for the network or the
// window system. Nobody waits for it: the engine deletes it once it has
// finished, and only the engine's destructor waits (within a bound) for those
// still running.
class CoreReleaseThread : public QThread
{
    Q_OBJECT

public:
    CoreReleaseThread(libvlc_media_player_t *player, QObject *parent);

    // Thread-safe; true once run() has released the player.
    bool isReleased() const { return released.load(std::memory_order_acquire); }

protected:
    void run() override;

private:
    std::atomic_bool released{false};
    libvlc_media_player_t *player = nullptr;
};

} // namespace LibPlayer
