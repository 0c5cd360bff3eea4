#pragma once
// The player's answers to the Help menu, its update-check values and the two
// fatal engine messages. Each function takes only what it needs.

#include "playerproduct.h"

#include <QString>

class QObject;
class QWidget;

namespace Common {
class UpdateHelper;
}
namespace LibTarnCommon {
class LogDialog;
}

namespace PlayerHelp {

// The about box with the version line and the home page, run modally.
void showAbout(QWidget *parent);

// A new, modal, flat issue-report dialog; returns at once. The dialog
// deletes itself after its post (or at once when nothing is sent).
void openReport(QWidget *parent, LibTarnCommon::LogDialog *log);

// A new update client with the player's values; the caller starts it.
Common::UpdateHelper *createUpdateHelper(QObject *parent, bool debug, bool atStart);

// The links page of the update dialog: the home and download pages.
QString updateLinks();

// The critical boxes for an engine that failed to load, or whose version
// (libvlcVersion, the engine's own text) is below 2.1.0. When the box
// closes the event loop ends with exit code 1.
void engineFailedToLoad(QWidget *parent);
void engineVersionTooOld(QWidget *parent, const QString &libvlcVersion);

} // namespace PlayerHelp
