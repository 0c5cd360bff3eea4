#pragma once
// Shared fixture of the engine tests: an engine drawing into a real, shown X
// window. There is no sound card here; without a working audio output libvlc
// ignores volume changes, so the tests give it a silent ALSA device.

#include "core.h"
#include "tarntest.h"

#include <QWidget>
#include <memory>

namespace TarnTest {

inline QString media(const QString &name)
{
    return dataPath(QStringLiteral("media/") + name);
}

class EngineFixture
{
protected:
    // From initTestCase.
    static void useSilentAudio() { qputenv("ALSA_CONFIG_PATH", QFile::encodeName(media("alsa-null.conf"))); }

    // From init; false when the window or the engine could not be made.
    bool createEngine()
    {
        video = std::make_unique<QWidget>();
        video->resize(320, 240);
        video->show();
        if (!QTest::qWaitForWindowExposed(video.get()))
            return false;
        core = std::make_unique<LibPlayer::Core>();
        core->setVideoWidget(video.get());
        return core->isLoaded();
    }

    // Plays path and waits until its start is settled; true when it plays.
    bool startFile(const QString &path)
    {
        if (!core->playFile(path))
            return false;
        QTest::qWaitFor([this] { return core->state() != LibPlayer::Core::State::Opening; }, 12000);
        return core->state() == LibPlayer::Core::State::Playing;
    }

    // From cleanup.
    void destroyEngine()
    {
        core.reset();
        video.reset();
    }

    std::unique_ptr<QWidget> video;
    std::unique_ptr<LibPlayer::Core> core;
};

} // namespace TarnTest
