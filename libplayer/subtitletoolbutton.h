#pragma once

#include <QMap>
#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Menu of the subtitle tracks, always starting with "None" (id -1). Tracks
// the engine loaded from subtitle files are listed under the file's name.
// Reports a chosen track with trackChanged(int) and a subtitle file to load
// with trackChanged(QString). The current id survives reset(); the known
// subtitle files are forgotten only by clearFiles().
class SubtitleToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    SubtitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~SubtitleToolButton() override;

    // Neither a track nor a subtitle file is known.
    bool isEmpty() const;

signals:
    void trackChanged(int id);
    void trackChanged(const QString &path);

public slots:
    void addFile(const QString &path);
    void addFileTrack(int id, const QString &path);
    void addTrack(int id, const QString &name);
    void clearCurrent();
    void clearFiles();
    void reset();
    void selectTrack(const QString &path);
    void setCurrentTrack(int id);

protected slots:
    void trigger(QAction *action) override;

private:
    int current = -1;
    QString selectedFile;
    QMap<int, QString> fileTracks;
    QMap<int, QString> tracks;
};

} // namespace LibPlayer
