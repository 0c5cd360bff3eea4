#pragma once

#include <QObject>

#include <functional>

// Holds back the engine's end of media (or failure of a medium) while a user
// flow of the window runs. File dialogs and message boxes run nested event
// loops, so an end of media can arrive in the middle of an open or a drop;
// handling it there would advance the playlist under the half-done flow. The
// end is passed on once the outermost flow is over, and dropped when the
// medium it belonged to is gone by then (the flow ended or replaced it). GUI
// thread only.
class EndOfMediaGate : public QObject
{
    Q_OBJECT

public:
    // mediaSerial: the engine's current media serial, which changes whenever
    // a player is made or released.
    explicit EndOfMediaGate(std::function<quint64()> mediaSerial, QObject *parent = nullptr);
    ~EndOfMediaGate() override;

    // Marks a flow for as long as it lives; flows may nest.
    class Scope
    {
    public:
        explicit Scope(EndOfMediaGate &gate);
        ~Scope();
        Scope(const Scope &) = delete;
        Scope &operator=(const Scope &) = delete;

    private:
        EndOfMediaGate &gate;
    };

    bool isHolding() const { return depth > 0; }

public slots:
    // The engine reports the end of the current medium.
    void endReached();
    // The engine reports that the current medium ended without playing.
    void failureReached();

signals:
    // The end of media is to be handled now.
    void endDue();
    // The failed medium is to be handled now.
    void failureDue();

private:
    void pass(bool failed);
    void release();

    std::function<quint64()> mediaSerial;
    int depth = 0;
    bool pending = false;
    bool pendingFailure = false;
    quint64 pendingSerial = 0;
};
