#pragma once
// Addresses on the maker's web server (update check, issue report, help
// pages), all under one base.

#include <QString>

namespace Common {

// The base address without a trailing '/': the environment variable
// PLAYER_TARN_SERVER when it holds an absolute http or https address,
// otherwise the build-time TARN_SERVER_BASE (https unless the build set a
// plain-http base on purpose). Read at every call.
QString serverBase();

// The base followed by path, which starts with '/'.
QString serverAddress(const QString &path);

} // namespace Common
