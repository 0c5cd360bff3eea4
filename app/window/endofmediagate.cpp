#include "endofmediagate.h"

EndOfMediaGate::EndOfMediaGate(std::function<quint64()> mediaSerial, QObject *parent)
    : QObject(parent)
    , mediaSerial(std::move(mediaSerial))
{
}

EndOfMediaGate::~EndOfMediaGate() = default;

EndOfMediaGate::Scope::Scope(EndOfMediaGate &gate)
    : gate(gate)
{
    ++gate.depth;
}

EndOfMediaGate::Scope::~Scope()
{
    if (--gate.depth == 0 && gate.pending) {
        // Handled from the event loop, not from inside the flow's last call.
        QMetaObject::invokeMethod(&gate, &EndOfMediaGate::release, Qt::QueuedConnection);
    }
}

void EndOfMediaGate::endReached()
{
    pass(false);
}

void EndOfMediaGate::failureReached()
{
    pass(true);
}

void EndOfMediaGate::pass(bool failed)
{
    if (depth > 0) {
        pending = true;
        pendingFailure = failed;
        pendingSerial = mediaSerial();
        return;
    }
    failed ? emit failureDue() : emit endDue();
}

void EndOfMediaGate::release()
{
    if (!pending || depth > 0)
        return;
    pending = false;
    if (mediaSerial() == pendingSerial)
        pendingFailure ? emit failureDue() : emit endDue();
}
