#include "serverbase.h"

#include "richtext.h"

namespace Common {

namespace {

QString withoutTrailingSlash(QString base)
{
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

QString serverBase()
{
    const QString fromEnvironment = qEnvironmentVariable("PLAYER_TARN_SERVER").trimmed();
    if (isWebAddress(fromEnvironment))
        return withoutTrailingSlash(fromEnvironment);
    return withoutTrailingSlash(QStringLiteral(TARN_SERVER_BASE));
}

QString serverAddress(const QString &path)
{
    return serverBase() + path;
}

} // namespace Common
