#pragma once
// The decisions of the program's start-up, as plain functions: which start
// files are videos, which interface language applies, whether debug mode is
// granted, where a relative start file points, and what an exit code means.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Startup {

// Whether the start file's suffix (after the last dot of its file name) is one
// of the video table's suffixes. Case-sensitive, unlike the window's own
// classification: "clip.MKV" is not a video here.
bool isVideoFile(const QString &startFile);

// The interface language: the system locale's name cut at the first '_',
// replaced by the setting when not empty, replaced by the option when not empty.
QString interfaceLanguage(const QString &localeName, const QString &setting, const QString &option);

// Debug mode needs the flag and the exact password.
bool debugGranted(bool debugFlag, const QString &password);

// The text that carries the start file (native bytes, as given) to the
// window and to a running instance: a location with a scheme ("http://...",
// "file:///...") unchanged; a relative local path resolved against the
// launch directory (native bytes); a local file whose name is not UTF-8 as
// its "file://" location, so that no byte is lost; empty stays empty.
QString resolveStartFile(const QByteArray &startFile, const QByteArray &launchDirectory);

// The current directory's native bytes (QDir::currentPath loses those that
// are not UTF-8).
QByteArray currentDirectory();

// The player catalogue is loaded only for French in debug mode.
bool loadsTranslation(const QString &language, bool debugMode);

// Exit codes 1000 and 1001 ask for a restart.
bool isRestartCode(int exitCode);

// Ends a run: for a restart code starts the executable again, detached and
// without arguments, and returns 0; otherwise returns the code unchanged.
int finishRun(int exitCode);

} // namespace Startup
