#pragma once
// The default settings store as a file: writing it at once with the result
// checked, and keeping a file that cannot be read as settings out of the way.
// GUI thread (QSettings objects of the store share one cached file).

#include <QDateTime>
#include <QString>

namespace Common {

// Writes every pending change of the default settings store to its file.
// Returns the file's name when that failed (a read-only file or folder, a
// full disk), else an empty string. Changes that failed stay pending.
QString flushSettings();

// To be called at start, before anything reads settings. A store file that
// cannot be read as settings (garbage bytes) is renamed to
// "<file>.corrupt-<yyyy-MM-dd-HHmmss>" (with "-2", "-3" ... when taken), so
// that the run starts with defaults and the next save does not overwrite it.
// Returns the name it was kept under, or an empty string when the file reads
// well, is missing, or could not be renamed.
QString keepUnreadableSettingsAside(const QDateTime &now = QDateTime::currentDateTime());

} // namespace Common
