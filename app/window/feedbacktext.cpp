#include "feedbacktext.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace FeedbackText {

namespace {

constexpr std::array<double, 12> rateSteps{0.25, 0.5, 0.75, 0.9, 1.0, 1.1, 1.25, 1.5, 1.75, 2.0, 3.0, 4.0};
constexpr double RateTolerance = 0.001;

QString tr(const char *text)
{
    return QCoreApplication::translate("FeedbackText", text);
}

QString hms(qint64 ms, QChar separator)
{
    const qint64 seconds = std::max<qint64>(0, ms) / 1000;
    const auto twoDigits = [](qint64 value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return QString::number(seconds / 3600) + separator + twoDigits(seconds / 60 % 60) + separator
        + twoDigits(seconds % 60);
}

QString signedMs(qint64 ms)
{
    return ms > 0 ? QStringLiteral("+%1").arg(ms) : QString::number(ms);
}

} // namespace

QString volume(int level)
{
    return level == 0 ? tr("Muted") : tr("Volume %1 %").arg(level);
}

QString clock(qint64 ms)
{
    return hms(ms, QLatin1Char(':'));
}

QString position(qint64 ms, qint64 lengthMs)
{
    return lengthMs > 0 ? QStringLiteral("%1 / %2").arg(clock(ms), clock(lengthMs)) : clock(ms);
}

QString speed(double rate)
{
    return tr("Speed %1x").arg(rate, 0, 'g', 3);
}

QString audioDelay(qint64 ms)
{
    return tr("Audio delay %1 ms").arg(signedMs(ms));
}

QString subtitleDelay(qint64 ms)
{
    return tr("Subtitle delay %1 ms").arg(signedMs(ms));
}

double steppedRate(double current, bool up)
{
    if (up) {
        const auto next = std::find_if(rateSteps.begin(), rateSteps.end(),
                                       [current](double step) { return step > current + RateTolerance; });
        return next == rateSteps.end() ? rateSteps.back() : *next;
    }
    const auto next = std::find_if(rateSteps.rbegin(), rateSteps.rend(),
                                   [current](double step) { return step < current - RateTolerance; });
    return next == rateSteps.rend() ? rateSteps.front() : *next;
}

qint64 frameStepTarget(qint64 ms, qint64 frameMs, int frames)
{
    if (frameMs <= 0)
        return std::max<qint64>(0, ms);
    const qint64 showing = (std::max<qint64>(0, ms) + frameMs / 4) / frameMs;
    return std::max<qint64>(0, (showing + frames) * frameMs);
}

QString screenshotName(const QString &mediaName, qint64 ms)
{
    QString name = mediaName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("%1 %2.png").arg(name, hms(ms, QLatin1Char('-')));
}

} // namespace FeedbackText
