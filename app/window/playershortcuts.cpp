#include "playershortcuts.h"

#include "playbacktools.h"
#include "playercommands.h"
#include "userbox.h"
#include "videohost.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include <functional>

namespace {

enum class Target { Command, Tool, OpenFile, OpenUrl, Quit, OpenFolder, MediaInfo };

struct Row
{
    QList<QKeySequence> keys;
    const char *mouse; // the mouse input on the video with the same effect, or null
    const char *effect;
    Target target;
    std::function<void(PlayerCommands &)> command; // for Target::Command
    bool autoRepeat;   // held keys repeat (seeks and volume)
    std::function<void(PlaybackTools &)> tool = {}; // for Target::Tool
};

const QList<Row> &table()
{
    using C = PlayerCommands;
    using T = PlaybackTools;
    static const QList<Row> rows{
        {{QKeySequence(Qt::Key_Space)}, QT_TRANSLATE_NOOP("PlayerShortcuts", "single click on the video"),
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Play or pause"), Target::Command, &C::playPause, false},
        {{QKeySequence(Qt::Key_F)}, QT_TRANSLATE_NOOP("PlayerShortcuts", "double click on the video"),
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Full screen on or off"), Target::Command, &C::toggleFullscreen, false},
        {{QKeySequence(Qt::Key_Escape)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Leave full screen"),
         Target::Command, &C::leaveFullscreen, false},
        {{QKeySequence(Qt::Key_Left)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Back 5 seconds"),
         Target::Command, [](C &c) { c.seekBy(-C::ShortSeekMs); }, true},
        {{QKeySequence(Qt::Key_Right)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Forward 5 seconds"),
         Target::Command, [](C &c) { c.seekBy(C::ShortSeekMs); }, true},
        {{QKeySequence(Qt::SHIFT + Qt::Key_Left)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Back 30 seconds"),
         Target::Command, [](C &c) { c.seekBy(-C::LongSeekMs); }, true},
        {{QKeySequence(Qt::SHIFT + Qt::Key_Right)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Forward 30 seconds"), Target::Command,
         [](C &c) { c.seekBy(C::LongSeekMs); }, true},
        {{QKeySequence(Qt::Key_Up)}, QT_TRANSLATE_NOOP("PlayerShortcuts", "wheel up over the video"),
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Volume up"), Target::Command,
         [](C &c) { c.changeVolumeBy(C::VolumeStep); }, true},
        {{QKeySequence(Qt::Key_Down)}, QT_TRANSLATE_NOOP("PlayerShortcuts", "wheel down over the video"),
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Volume down"), Target::Command,
         [](C &c) { c.changeVolumeBy(-C::VolumeStep); }, true},
        {{QKeySequence(Qt::Key_M)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Mute or unmute"),
         Target::Command, &C::toggleMute, false},
        {{QKeySequence(Qt::Key_N), QKeySequence(Qt::Key_PageDown)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Next playlist item"), Target::Command, &C::next, false},
        {{QKeySequence(Qt::Key_P), QKeySequence(Qt::Key_PageUp)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Previous playlist item"), Target::Command, &C::previous, false},
        {{QKeySequence(Qt::Key_BracketRight)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Faster"),
         Target::Tool, {}, true, &T::speedUp},
        {{QKeySequence(Qt::Key_BracketLeft)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Slower"),
         Target::Tool, {}, true, &T::speedDown},
        {{QKeySequence(Qt::Key_Backspace)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Normal speed (each new medium starts at normal speed)"), Target::Tool,
         {}, false, [](T &t) { t.setSpeed(1.0); }},
        {{QKeySequence(Qt::Key_Period)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Next frame (pauses)"),
         Target::Tool, {}, true, &T::frameForward},
        {{QKeySequence(Qt::Key_Comma)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "About one frame back (pauses)"),
         Target::Tool, {}, true, &T::frameBack},
        {{QKeySequence(Qt::Key_L)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "A-B loop: set A, set B, clear"), Target::Tool, {}, false,
         &T::stepAbLoop},
        {{QKeySequence(Qt::CTRL + Qt::Key_T)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Jump to time"),
         Target::Tool, {}, false, &T::jumpToTime},
        {{QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)}, nullptr,
         QT_TRANSLATE_NOOP("PlayerShortcuts", "Audio delay +50 ms"), Target::Tool, {}, true,
         [](T &t) { t.changeAudioDelayBy(T::DelayStepMs); }},
        {{QKeySequence(Qt::Key_Minus)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Audio delay -50 ms"),
         Target::Tool, {}, true, [](T &t) { t.changeAudioDelayBy(-T::DelayStepMs); }},
        {{QKeySequence(Qt::Key_H)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Subtitle delay +50 ms"),
         Target::Tool, {}, true, [](T &t) { t.changeSubtitleDelayBy(T::DelayStepMs); }},
        {{QKeySequence(Qt::Key_G)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Subtitle delay -50 ms"),
         Target::Tool, {}, true, [](T &t) { t.changeSubtitleDelayBy(-T::DelayStepMs); }},
        {{QKeySequence(Qt::SHIFT + Qt::Key_N)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Next chapter"),
         Target::Tool, {}, false, &T::nextChapter},
        {{QKeySequence(Qt::SHIFT + Qt::Key_P)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Previous chapter"),
         Target::Tool, {}, false, &T::previousChapter},
        {{QKeySequence(Qt::Key_S)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Screenshot into the Pictures folder"),
         Target::Tool, {}, false, &T::takeScreenshot},
        {{QKeySequence(Qt::CTRL + Qt::Key_O)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Open file"),
         Target::OpenFile, {}, false},
        {{QKeySequence(Qt::CTRL + Qt::Key_U)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Open URL"),
         Target::OpenUrl, {}, false},
        {{QKeySequence(Qt::CTRL + Qt::Key_Q)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Quit"), Target::Quit,
         {}, false},
        {{QKeySequence(Qt::CTRL + Qt::SHIFT + Qt::Key_O)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Open folder"),
         Target::OpenFolder, {}, false},
        {{QKeySequence(Qt::CTRL + Qt::Key_I)}, nullptr, QT_TRANSLATE_NOOP("PlayerShortcuts", "Media information"),
         Target::MediaInfo, {}, false},
    };
    return rows;
}

bool isTextField(const QWidget *widget)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        return !line->isReadOnly();
    if (const auto *text = qobject_cast<const QTextEdit *>(widget))
        return !text->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget))
        return !plain->isReadOnly();
    if (const auto *combo = qobject_cast<const QComboBox *>(widget))
        return combo->isEditable();
    return qobject_cast<const QAbstractSpinBox *>(widget) != nullptr;
}

} // namespace

PlayerShortcuts::PlayerShortcuts(QWidget *window, PlayerCommands *commands, PlaybackTools *tools,
                                 VideoHost *video, const MenuActions &menu)
    : QObject(window)
{
    for (const Row &row : table()) {
        QAction *action = nullptr;
        switch (row.target) {
        case Target::Command: {
            action = new QAction(window);
            const auto command = row.command;
            // shortcut -> command
            connect(action, &QAction::triggered, commands, [commands, command] { command(*commands); });
            break;
        }
        case Target::Tool: {
            action = new QAction(window);
            const auto tool = row.tool;
            // shortcut -> tool
            connect(action, &QAction::triggered, tools, [tools, tool] { tool(*tools); });
            break;
        }
        case Target::OpenFile: action = menu.openFile; break;
        case Target::OpenUrl: action = menu.openUrl; break;
        case Target::Quit: action = menu.quit; break;
        case Target::OpenFolder: action = menu.openFolder; break;
        case Target::MediaInfo: action = menu.mediaInfo; break;
        }
        action->setShortcuts(row.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setAutoRepeat(row.autoRepeat);
        // Actions held only by the menus (which have no parent) never fire.
        window->addAction(action);
        shortcutActions << action;
    }

    // mouse on the video -> commands
    connect(video, &VideoHost::clicked, commands, &PlayerCommands::playPause);
    connect(video, &VideoHost::doubleClicked, commands, &PlayerCommands::toggleFullscreen);
    connect(video, &VideoHost::wheelTurned, commands,
            [commands](int notches) { commands->changeVolumeBy(notches * PlayerCommands::VolumeStep); });

    // focus into or out of a text field -> shortcuts off or on
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
    focusChanged(QApplication::focusWidget());
}

PlayerShortcuts::~PlayerShortcuts() = default;

void PlayerShortcuts::focusChanged(QWidget *now)
{
    const bool enabled = !isTextField(now);
    for (QAction *action : qAsConst(shortcutActions))
        action->setEnabled(enabled);
}

QString PlayerShortcuts::helpText()
{
    QString rows;
    for (const Row &row : table()) {
        QStringList inputs;
        for (const QKeySequence &keys : row.keys)
            inputs << keys.toString(QKeySequence::NativeText).toHtmlEscaped();
        if (row.mouse)
            inputs << tr(row.mouse).toHtmlEscaped();
        rows += QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>")
                    .arg(inputs.join(QStringLiteral(", ")), tr(row.effect).toHtmlEscaped());
    }
    return QStringLiteral("<table>%1</table>").arg(rows);
}

void PlayerShortcuts::showHelp(QWidget *parent)
{
    Common::showUserBox(parent, QMessageBox::Information, tr("Keyboard shortcuts"), helpText());
}
