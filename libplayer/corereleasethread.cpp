#include "corereleasethread.h"

#include <vlc/vlc.h>

namespace LibPlayer {

CoreReleaseThread::CoreReleaseThread(libvlc_media_player_t *player, QObject *parent)
    : QThread(parent), player(player)
{
}

void CoreReleaseThread::run()
{
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    player = nullptr;
    released.store(true, std::memory_order_release);
}

} // namespace LibPlayer
