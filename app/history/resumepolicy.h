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

// True when a position is worth keeping for a medium of that length: the
// medium is at least a minute long, and the position is past its first 10 s
// and before its last 5 % or 20 s, whichever is larger. An unknown length
// (0 or less, a live stream) keeps nothing.
// A stored position is restored under the same rule.
bool worthKeeping(qint64 positionMs, qint64 lengthMs);

// "1:02:03" from an hour on, "2:05" below, from milliseconds.
QString timeText(qint64 ms);

// The line shown on the video after a resume.
QString resumedLine(qint64 ms);

} // namespace ResumePolicy
