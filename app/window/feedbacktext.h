#pragma once
// Texts of the feedback line and the small decisions behind them. Pure
// functions, no widgets.

#include <QString>

namespace FeedbackText {

// "Volume 85 %", or "Muted" at 0.
QString volume(int level);
// "0:12:34 / 1:45:00": the time and the length (left out when unknown).
QString position(qint64 ms, qint64 lengthMs);
// "H:MM:SS" of whole seconds.
QString clock(qint64 ms);
// "Speed 1.25x".
QString speed(double rate);
// "Audio delay +150 ms", "Subtitle delay -300 ms".
QString audioDelay(qint64 ms);
QString subtitleDelay(qint64 ms);

// The speed steps from 0.25x to 4x; the next one above (up) or below the
// current rate, or the current rate at either end.
double steppedRate(double current, bool up);

// Start of the picture `frames` pictures away from the one showing at ms,
// on a grid of frameMs from 0; never below 0. libvlc reports the time of a
// picture up to a quarter of a picture early.
qint64 frameStepTarget(qint64 ms, qint64 frameMs, int frames);

// "<media name> <H-MM-SS>.png".
QString screenshotName(const QString &mediaName, qint64 ms);

} // namespace FeedbackText
