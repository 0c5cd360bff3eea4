#pragma once

#include <QObject>
#include <QString>

namespace LibPlayer {
class Core;
class TimeSlider;
} // namespace LibPlayer

// The A-B loop of the current medium: step() sets A at the current time,
// then B, then clears both. While both are set, a time at or past B jumps
// back to A. The section shows on the time slider as a tinted band. A new
// medium (a new engine player) clears the loop. GUI thread only.
class AbLoop : public QObject
{
    Q_OBJECT

public:
    AbLoop(LibPlayer::Core *core, LibPlayer::TimeSlider *slider, QObject *parent);
    ~AbLoop() override;

    bool isActive() const { return a >= 0 && b > a; }
    qint64 start() const { return a; }
    qint64 end() const { return b; }

public slots:
    // Moves to the next state; returns the feedback line for it.
    QString step();
    void clear();

private:
    void timeChanged(qint64 ms);
    bool sameMedium();

    LibPlayer::Core *core;
    LibPlayer::TimeSlider *slider;
    quint64 serial = 0;
    qint64 a = -1;
    qint64 b = -1;
};
