#pragma once

#include <QString>

// The decisions about resume positions, free of any store or player.
namespace ResumePolicy {

constexpr qint64 MinimumLengthMs = 60 * 1000;
constexpr qint64 HeadMs = 10 * 1000;
constexpr qint64 TailMs = 20 * 1000;
constexpr int TailPercent = 5;
constexpr int SaveIntervalMs = 5000;
constexpr int NoticeMs = 4000;

enum class Action { Keep, Forget, Leave };

// What a stop at positionMs in a medium of lengthMs does to its stored
// position: Keep it when the medium is at least a minute long and the
// position is past the first 10 s and before the last 5 % or 20 s,
// whichever is larger; Forget it in that tail (the medium is as good as
// finished); Leave the stored one as it is otherwise (a short medium, the
// first seconds, an unknown length such as a live stream's).
// A stored position is restored only when it would be kept.
Action onStop(qint64 positionMs, qint64 lengthMs);

// "1:02:03" from an hour on, "2:05" below, from milliseconds.
QString timeText(qint64 ms);

// The line shown on the video after a resume.
QString resumedLine(qint64 ms);

} // namespace ResumePolicy
