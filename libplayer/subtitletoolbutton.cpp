#include "subtitletoolbutton.h"

#include <QAction>
#include <QActionGroup>
#include <QFileInfo>
#include <QMenu>


namespace LibPlayer {

SubtitleToolButton::SubtitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : MenuToolButton(normalImage, hoverImage, parent)
{
    reset();
}

SubtitleToolButton::~SubtitleToolButton() = default;

bool SubtitleToolButton::isEmpty() const
{
    return tracks.isEmpty() && fileTracks.isEmpty();
}

void SubtitleToolButton::addFile(const QString &path)
{
    emit trackChanged(path);
}

void SubtitleToolButton::addFileTrack(int id, const QString &path)
{
    fileTracks[id] = path;
}

void SubtitleToolButton::addTrack(int id, const QString &name)
{
    QString text = name;
    const auto file = fileTracks.constFind(id);
    if (file != fileTracks.constEnd()) {
        tracks[id] = file.value();
        text = QFileInfo(file.value()).fileName();
    } else {
        tracks[id] = name;
    }
    addEntry(text, id, id == current);
}

void SubtitleToolButton::clearCurrent()
{
    current = -1;
}

void SubtitleToolButton::clearFiles()
{
    fileTracks.clear();
}

void SubtitleToolButton::reset()
{
    clearEntries();
    tracks.clear();
    addEntry(tr("None"), -1, current == -1);
}

void SubtitleToolButton::selectTrack(const QString &path)
{
    current = -1;
    selectedFile = path;
    const QList<QAction *> actions = popupMenu->actions();
    for (QAction *action : actions) {
        const QVariant data = action->data();
        if (data.userType() == QMetaType::QString && data.toString() == path) {
            action->setChecked(true);
            break;
        }
    }
    setVisible(true);
}

void SubtitleToolButton::setCurrentTrack(int id)
{
    current = id;
    selectById(id);
}

void SubtitleToolButton::trigger(QAction *action)
{
    if (!acceptTrigger(action))
        return;
    const QVariant data = action->data();
    if (data.userType() == QMetaType::QString)
        emit trackChanged(data.toString());
    else
        emit trackChanged(data.toInt());
}

} // namespace LibPlayer
