#pragma once
// What the window shows of a medium once the engine has parsed it: the lines
// on the video frame, the title text of the top bar and the window's own title.
// Pure functions; texts are translated in the player window's context.

#include <QString>
#include <QStringList>

struct MediaPresentation
{
    // No video: the lines are shown on the video frame and the display ratio
    // goes back to 16:9.
    bool audio = false;
    QStringList lines; // at most four, none empty
    QString titleText;
};

// artist and title: the engine's "Artist" and "Title" metadata (for a file
// without tags libvlc gives its file name, for an audio CD a "cdda:///"
// location as the title); cdTrack: the checked CD track, below 1 when none.
MediaPresentation presentMedia(const QString &artist, const QString &title, bool noVideo, int cdTrack,
                               const QString &applicationName);

// The window title that task bars and window switchers show: the title text
// followed by the application name, or the application name alone when
// there is no title text of its own.
QString windowTitleFor(const QString &titleText, const QString &applicationName);

// libvlc older than 2.1.0. The version text's numbers are its runs of digits;
// with fewer than three of them no judgement is made (false).
bool engineVersionTooOld(const QString &versionText);
