#include "playerproduct.h"

#include "serverbase.h"

#include <QCoreApplication>

namespace PlayerProduct {

QString versionLine()
{
    return QCoreApplication::translate("PlayerWindow", "Version %1 %2 (%3 %4 %5)")
        .arg(displayVersion, QCoreApplication::translate("PlayerWindow", "64-bit"), fullVersion,
             QStringLiteral("build"), buildNumber);
}

QString pageAddress(Page page)
{
    switch (page) {
    case Page::Home: return Common::serverAddress(QStringLiteral("/Tarn/player/"));
    case Page::Faq: return Common::serverAddress(QStringLiteral("/Tarn/player/faq.php"));
    case Page::BluRayPlugin: return Common::serverAddress(QStringLiteral("/Tarn/player/mmplug/"));
    case Page::Family: return Common::serverAddress(QStringLiteral("/Tarn/"));
    case Page::Download: return Common::serverAddress(QStringLiteral("/Tarn/player/download.php"));
    case Page::UpdateRequest: return Common::serverAddress(QStringLiteral("/Tarn/update/request.php"));
    }
    return QString();
}

} // namespace PlayerProduct
