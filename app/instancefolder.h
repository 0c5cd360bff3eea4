#pragma once

#include <QString>

// The folder that holds the single-instance lock and socket. The user's
// runtime folder is preferred; when no file can be created there (a read-only
// mount, a full disk) or its path leaves no room for a socket name, a private
// folder under the temporary folder takes its place. That folder is created
// with mode 0700 and used only when it is a real directory owned by this user
// that no one else may enter; otherwise nothing is used, and the process
// runs on its own rather than wait for a primary it could never reach.
namespace InstanceFolder {

// A socket name up to this many bytes must fit after the folder.
constexpr int maxSocketNameBytes = 32;

struct Choice
{
    QString folder;  // empty: no usable folder
    QString logLine; // "[Main] ..." when the runtime folder was not used; empty otherwise
};

// The private folder's path: under the temporary folder, named for this user.
QString privateFolder();
// Creates path with mode 0700 when it is missing; true when it is then a
// directory (not a link) owned by this user without access for others.
bool makePrivate(const QString &path);
// Whether a file can be created in folder, and a socket of maxSocketNameBytes
// named there (a socket's whole path is bounded).
bool accepts(const QString &folder);
Choice choose(const QString &runtimeFolder, const QString &fallback);

// The choice of this process, made once from the user's runtime folder.
const Choice &current();

} // namespace InstanceFolder
