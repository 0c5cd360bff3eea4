#include "productinfo.h"

#include <QCoreApplication>

namespace ProductInfo {

QString versionLine()
{
    return QCoreApplication::translate("PlayerWindow", "Version %1 %2 (%3 %4 %5)")
        .arg(QLatin1String(displayVersion), QCoreApplication::translate("PlayerWindow", "64-bit"),
             QLatin1String(fullVersion), QLatin1String(buildWord), QLatin1String(buildNumber));
}

} // namespace ProductInfo
