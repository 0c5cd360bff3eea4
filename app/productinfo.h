#pragma once
// The player's product constants: its identity towards the update server, the
// issue report and the desktop, and the parts of its version line.

#include <QString>

namespace ProductInfo {

constexpr char applicationId[] = "Player";
constexpr char displayVersion[] = "1.0";
constexpr char fullVersion[] = "1.0.0.0";
constexpr char buildNumber[] = "1777";
constexpr char buildWord[] = "build"; // never translated
constexpr int aboutYear = 2015;
// The name the player is registered under with the desktop (the single-instance id).
constexpr char registeredName[] = "Mirelva.Player";

// "Version 1.0 64-bit (1.0.0.0 build 1777)": the format and the platform text
// are translated in the context "PlayerWindow".
QString versionLine();

} // namespace ProductInfo
