#pragma once

#include <QString>

// The identity under which the history keeps a medium, from the engine's
// location of it (its MRL):
// - a local file: "file:<size>:<hash>", the hash over its first and last
//   64 KiB, so that the identity survives a rename or a move; reads the
//   file, so call it off the GUI thread;
// - a disc: "disc:<location>#<title>";
// - anything else: "url:<location text>".
namespace MediaIdentity {

enum class Kind { File, Disc, AudioCd, Url };

Kind kindOf(const QString &mrl);
// The local path of a "file://" location, empty for others.
QString localPath(const QString &mrl);
// Empty when the file cannot be read.
QString fileKey(const QString &path);
QString discKey(const QString &mrl, int title);
QString urlKey(const QString &mrl);

} // namespace MediaIdentity
