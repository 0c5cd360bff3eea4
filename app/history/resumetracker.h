#pragma once

#include "historyentry.h"

#include <QObject>
#include <QString>

#include <optional>

class HistoryStore;
class QTimer;

namespace LibPlayer {
class Core;
}

// Resume positions of the media the engine plays, whatever route opened
// them: when a medium starts, its stored position (and its audio track,
// subtitle track and subtitle file) is looked up and applied, and
// resumed(line) asks to show the line; while it plays its position is
// saved every 5 s, on pause and when it stops; reaching its end forgets it.
//
// A local file is found first by its path, then by its content (the hash
// of mediaidentity.h, computed on a pool thread), so a renamed or moved
// file resumes too. Audio CDs are not tracked. GUI thread only.
class ResumeTracker : public QObject
{
    Q_OBJECT

public:
    ResumeTracker(LibPlayer::Core *core, HistoryStore *store, QObject *parent = nullptr);
    ~ResumeTracker() override;

    // Off: nothing is restored and nothing saved.
    void setEnabled(bool on) { enabled = on; }
    bool isEnabled() const { return enabled; }
    // Saves the current medium's position now (quit, session end).
    void saveNow();
    // The current medium from its start, its stored position forgotten.
    void startOver();
    // Position to resume the next medium at instead of a stored one (the
    // playlist restored at start); used once.
    void resumeNextAt(qint64 positionMs) { nextStart = positionMs; }
    qint64 position() const { return lastTime; }

signals:
    void resumed(const QString &line);
    void startedOver();

private:
    struct Medium
    {
        quint64 serial = 0;
        QString mrl;
        QString path; // local files
        QString key;  // empty until known
        bool tracked = false;
        bool applied = false; // a stored position was found and used (or none will be)
        bool ended = false;
        bool tracksPending = false;
        ResumeEntry restore;
        int audioTrack = -1;
        int subtitleTrack = -1;
        QString subtitleFile;
        int title = -1;
    };

    void started();
    void stopping();
    void tick();
    void endReached();
    void parseEnded();
    void keyKnown(quint64 serial, const QString &key);
    void found(quint64 serial, const std::optional<ResumeEntry> &entry);
    void apply(qint64 positionMs);
    void save(qint64 positionMs, qint64 lengthMs);
    QString currentKey() const;

    LibPlayer::Core *core;
    HistoryStore *store;
    QTimer *ticker = nullptr;
    Medium medium;
    bool enabled = true;
    bool wasPlaying = false;
    int ticksSinceSave = 0;
    qint64 lastTime = 0;
    qint64 lastLength = 0;
    std::optional<qint64> nextStart;
};
