#include "resumepolicy.h"

#include <QCoreApplication>

#include <algorithm>

namespace ResumePolicy {

Action onStop(qint64 positionMs, qint64 lengthMs)
{
    if (lengthMs < MinimumLengthMs || positionMs < HeadMs)
        return Action::Leave;
    const qint64 tail = std::max(TailMs, lengthMs * TailPercent / 100);
    return positionMs < lengthMs - tail ? Action::Keep : Action::Forget;
}

QString timeText(qint64 ms)
{
    const qint64 total = std::max<qint64>(ms, 0) / 1000;
    const qint64 hours = total / 3600;
    const int minutes = int(total / 60 % 60);
    const int seconds = int(total % 60);
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
}

QString resumedLine(qint64 ms)
{
    return QCoreApplication::translate("ResumePolicy", "Resumed at %1 - Home: start over").arg(timeText(ms));
}

} // namespace ResumePolicy
