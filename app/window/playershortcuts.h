#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QWidget;

class PlaybackTools;
class PlayerCommands;
class VideoHost;

// The player's keyboard shortcuts and mouse inputs on the video, in one
// table (playershortcuts.cpp), all through PlayerCommands or the menu's own
// actions:
//   Space, single click on the video     play/pause
//   F, double click on the video         full screen on/off
//   Escape                               leave full screen
//   Left / Right                         seek 5 s back / forward
//   Shift+Left / Shift+Right             seek 30 s back / forward
//   Up / Down, wheel over the video      volume +5 / -5
//   M                                    mute on/off
//   N, Page Down / P, Page Up            next / previous playlist item
//   ] / [ / Backspace                    faster / slower / normal speed
//   . / ,                                a frame forward / back
//   L                                    A-B loop: A, B, off
//   Ctrl+T                               jump to time
//   + (=) / -                            audio delay +50 / -50 ms
//   H / G                                subtitle delay +50 / -50 ms
//   Shift+N / Shift+P                    next / previous chapter
//   S                                    screenshot
//   Ctrl+O, Ctrl+U, Ctrl+Q               Open file, Open URL, Quit
//   Ctrl+Shift+O                         Open folder
//   Ctrl+I                               Media information
// The shortcuts are actions of the window (Qt::WindowShortcut), so they work
// over the video, the overlays and in full screen; they are disabled while a
// text field of the program has the focus, so typing never triggers them.
// GUI thread only.
class PlayerShortcuts : public QObject
{
    Q_OBJECT

public:
    // The menu's actions that get the Ctrl shortcuts.
    struct MenuActions
    {
        QAction *openFile = nullptr;
        QAction *openFolder = nullptr;
        QAction *mediaInfo = nullptr;
        QAction *openUrl = nullptr;
        QAction *quit = nullptr;
    };

    PlayerShortcuts(QWidget *window, PlayerCommands *commands, PlaybackTools *tools, VideoHost *video,
                    const MenuActions &menu);
    ~PlayerShortcuts() override;

    // The actions carrying shortcuts, in table order.
    QList<QAction *> actions() const { return shortcutActions; }

    // The table as rich text: the inputs, then what they do.
    static QString helpText();
    // The "Keyboard shortcuts" box, run modally over parent.
    static void showHelp(QWidget *parent);

private:
    void focusChanged(QWidget *now);

    QList<QAction *> shortcutActions;
};
