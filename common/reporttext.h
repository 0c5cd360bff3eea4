#pragma once
// The pure parts of the issue report.

#include <QString>

namespace Common {

// An empty text, or a whole address matching (case-insensitively)
// local@domain.tld with letters, digits and ! # $ % & ' * + / = ? ^ _ ` { | } ~ - .
// on both sides and a final tld of two to six letters or digits.
bool isAcceptedEmail(const QString &text);

// The report: "name version\n\n", the description, "\n\n", then, when a log
// is attached (not null), the log, "\n\n", 80 '=' and "\n\n".
QString composeReport(const QString &displayName, const QString &versionText, const QString &description,
                      const QString &log);

} // namespace Common
