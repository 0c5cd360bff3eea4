#include "timeformat.h"

namespace LibPlayer {

QString formatSeconds(qint64 seconds)
{
    if (seconds < 0)
        seconds = 0;
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 secs = seconds % 60;
    const QString minSec = QStringLiteral("%1:%2")
                               .arg(minutes, 2, 10, QLatin1Char('0'))
                               .arg(secs, 2, 10, QLatin1Char('0'));
    if (hours == 0)
        return minSec;
    return QStringLiteral("%1:%2").arg(hours).arg(minSec);
}

QString formatMilliseconds(qint64 milliseconds)
{
    return formatSeconds(milliseconds / 1000);
}

} // namespace LibPlayer
