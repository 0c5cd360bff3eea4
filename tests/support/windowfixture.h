#pragma once
// The real player window for tests: built with the real engine (libvlc, a
// silent ALSA device), shown on the test's X server, with its pieces opened
// up for inspection. Test media are the clips under tests/data/media.

#include "bottombar.h"
#include "core.h"
#include "modalanswerer.h"
#include "playbacksession.h"
#include "playerwindow.h"
#include "playlistcontroller.h"
#include "tarntest.h"
#include "videohost.h"

#include <QFile>
#include <memory>

namespace TarnTest {

inline QString media(const QString &name)
{
    return dataPath(QStringLiteral("media/") + name);
}

inline QString mediaUrl(const QString &name)
{
    return QUrl::fromLocalFile(media(name)).toString();
}

// Writes an MP3 file at path: the audio of the 2 s test tone, after an ID3v2.3
// tag holding the given text frames ("TPE1" artist, "TALB" album, "TIT2"
// title, "TRCK" track, "TPOS" disc); no tag at all when frames is empty.
inline bool writeMp3(const QString &path, const QMap<QByteArray, QString> &frames = {})
{
    QFile source(media(QStringLiteral("audio.mp3")));
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray audio = source.readAll();
    if (audio.startsWith("ID3")) { // skip the tone's own tag
        const auto byte = [&audio](int i) { return quint32(quint8(audio.at(i))); };
        const int size = int(byte(6) << 21 | byte(7) << 14 | byte(8) << 7 | byte(9));
        audio = audio.mid(10 + size);
    }
    QByteArray body;
    for (auto it = frames.cbegin(); it != frames.cend(); ++it) {
        const QByteArray text = '\x03' + it.value().toUtf8(); // UTF-8
        QByteArray header = it.key();
        for (int shift : {24, 16, 8, 0})
            header += char((text.size() >> shift) & 0xff);
        body += header + QByteArray(2, '\0') + text;
    }
    QByteArray tag;
    if (!frames.isEmpty()) {
        tag = QByteArray("ID3\x03\x00\x00", 6);
        for (int shift : {21, 14, 7, 0})
            tag += char((body.size() >> shift) & 0x7f);
        tag += body;
    }
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(tag + audio) == tag.size() + audio.size();
}

class TestWindow : public PlayerWindow
{
public:
    TestWindow()
        : PlayerWindow(QString(), true)
    {
    }
    using PlayerWindow::appRestoreDefaultSettings;
    using PlayerWindow::bottomBar;
    using PlayerWindow::changeDisplayRatio;
    using PlayerWindow::changeListItem;
    using PlayerWindow::core;
    using PlayerWindow::dropUri;
    using PlayerWindow::endPlayback;
    using PlayerWindow::openFile;
    using PlayerWindow::openUrl;
    using PlayerWindow::playback;
    using PlayerWindow::playlists;
    using PlayerWindow::readList;
    using PlayerWindow::commands;
    using PlayerWindow::windowGeometry;
    using PlayerWindow::layoutLoadSettings;
    using PlayerWindow::screensChanged;
    using PlayerWindow::shortcuts;
    using PlayerWindow::overlays;
    using PlayerWindow::titleLabel;
    using PlayerWindow::videoHost;
    using PlayerWindow::setTitleText;
    using PlayerWindow::closeButton;
    using PlayerWindow::iconButton;
    using PlayerWindow::minimizeButton;

    QStringList playlistItems() const { return playlists->playlist().locations(); }
    int currentItem() const { return playlists->playlist().current(); }
    bool playing() const { return !core->isStopped(); }
    // Ends the current medium as the engine does when it reaches the end.
    void finishMedium() { emit core->mediaPlayerEndReached(); }
};

class WindowFixture
{
protected:
    // From initTestCase.
    static void useSilentAudio() { qputenv("ALSA_CONFIG_PATH", QFile::encodeName(media("alsa-null.conf"))); }

    // From init; false when the window could not be shown.
    bool createWindow()
    {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
        answerer = std::make_unique<ModalAnswerer>();
        window = std::make_unique<TestWindow>();
        window->show();
        return QTest::qWaitForWindowExposed(window.get()) && window->core->isLoaded();
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
