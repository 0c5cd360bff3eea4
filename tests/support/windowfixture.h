#pragma once
// The real player window for tests: built with the real engine (libvlc, a
// silent ALSA device), shown on the test's X server, with its pieces opened
// up for inspection. Test media are the clips under tests/data/media.

#include "bottombar.h"
#include "core.h"
#include "modalanswerer.h"
#include "mp3writer.h"
#include "playbacksession.h"
#include "playerwindow.h"
#include "playlistcontroller.h"
#include "tarntest.h"
#include "videohost.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QSettings>
#include <memory>

namespace TarnTest {

inline QString media(const QString &name)
{
    return dataPath(QStringLiteral("media/") + name);
}

class TestWindow : public PlayerWindow
{
public:
    explicit TestWindow(const QString &startFile = QString())
        : PlayerWindow(startFile, true)
    {
    }
    using PlayerWindow::appRestoreDefaultSettings;
    using PlayerWindow::bottomBar;
    using PlayerWindow::changeDisplayRatio;
    using PlayerWindow::m_closeButton;
    using PlayerWindow::commands;
    using PlayerWindow::core;
    using PlayerWindow::desktop;
    using PlayerWindow::feedbackLine;
    using PlayerWindow::fileQuit;
    using PlayerWindow::history;
    using PlayerWindow::layoutLoadSettings;
    using PlayerWindow::m_minimizeButton;
    using PlayerWindow::m_pinButton;
    using PlayerWindow::playback;
    using PlayerWindow::previews;
    using PlayerWindow::screensChanged;
    using PlayerWindow::m_titleLabel;
    using PlayerWindow::tools;
    using PlayerWindow::m_topBar;
    using PlayerWindow::videoHost;
    using PlayerWindow::windowGeometry;

    // The window's open paths as the user meets them: each returns once the
    // engine has settled the start it asked for (the window itself never
    // waits for it).
    void openFile(const QString &f = QString()) { settled([&] { PlayerWindow::openFile(f); }); }
    void openUrl(const QString &u = QString()) { settled([&] { PlayerWindow::openUrl(u); }); }
    void dropUri(const QList<QUrl> &urls) { settled([&] { PlayerWindow::dropUri(urls); }); }
    void changeListItem(int item) { settled([&] { PlayerWindow::changeListItem(item); }); }
    void readList(const QString &path) { settled([&] { PlayerWindow::readList(path); }); }
    // Waits until no start is under way, and hardly longer: what the medium
    // does next is mostly still to come when this returns. (An event loop
    // would do, but once a test has quit the application no new one runs.)
    void settle()
    {
        bool settled = core->state() != LibPlayer::Core::State::Opening;
        QObject guard;
        QObject::connect(core.get(), &LibPlayer::Core::stateChanged, &guard, [&settled](LibPlayer::Core::State state) {
            settled = state != LibPlayer::Core::State::Opening;
        });
        QTimer wake;
        wake.start(50);
        QElapsedTimer waited;
        waited.start();
        while (!settled && waited.elapsed() < 12000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

    QStringList playlistItems() const { return playlists->playlist().locations(); }
    int currentItem() const { return playlists->playlist().current(); }
    bool playing() const { return !core->isStopped(); }
    // Ends the current medium as the engine does when it reaches the end.
    void finishMedium() { settled([this] { emit core->mediaPlayerEndReached(); }); }

private:
    template<typename Action>
    void settled(Action action)
    {
        action();
        settle();
    }
};

class WindowFixture
{
protected:
    // From initTestCase.
    static void useSilentAudio() { qputenv("ALSA_CONFIG_PATH", QFile::encodeName(media("alsa-null.conf"))); }

    // From init; false when the window could not be shown.
    bool createWindow(const QString &startFile = QString())
    {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
        answerer = std::make_unique<ModalAnswerer>();
        window = std::make_unique<TestWindow>(startFile);
        window->show();
        return QTest::qWaitForWindowExposed(window.get()) && window->core->isLoaded();
    }

    // From init, for tests that type keys: a window with the keyboard focus
    // and no settings left from earlier cases.
    bool createFocusedWindow()
    {
        QSettings().clear();
        if (!createWindow())
            return false;
        window->activateWindow();
        return QTest::qWaitFor([this] { return QGuiApplication::focusWindow() == window->windowHandle(); });
    }

    // From cleanup.
    void destroyWindow()
    {
        window.reset();
        answerer.reset();
    }

    std::unique_ptr<ModalAnswerer> answerer;
    std::unique_ptr<TestWindow> window;
};

} // namespace TarnTest
