#pragma once
// The player's product constants, its version line and its pages on the
// maker's web server.

#include <QString>

namespace PlayerProduct {

inline const QString appId = QStringLiteral("Player");
inline const QString displayVersion = QStringLiteral("1.0");
inline const QString fullVersion = QStringLiteral("1.0.0.0");
inline const QString buildNumber = QStringLiteral("1777");
constexpr int aboutYear = 2015;
inline const QString registeredName = QStringLiteral("Mirelva.Player");

// "Version 1.0 64-bit (1.0.0.0 build 1777)", translated.
QString versionLine();

enum class Page { Home, Faq, BluRayPlugin, Family, Download, UpdateRequest };

// The page's address on the server base (PLAYER_TARN_SERVER or the build's).
QString pageAddress(Page page);

} // namespace PlayerProduct
