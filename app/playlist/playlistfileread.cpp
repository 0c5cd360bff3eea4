#include "playlistfileread.h"

#include "m3u.h"

#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QThread>

#include <memory>

PlaylistFileRead readPlaylistFile(const QString &path)
{
    PlaylistFileRead read;
    // Touched by the worker only, until it has finished.
    const auto notice = [&read](const QString &line) { read.log.append({false, line}); };
    const auto warning = [&read](const QString &line) { read.log.append({true, line}); };
    const auto take = [&read](M3uEntry &&entry) {
        if (entry.kind == M3uEntryKind::Invalid)
            return;
        ++read.found;
        addDropCandidate(read.candidates, entry.url, DropSource::PlaylistFile);
    };
    std::unique_ptr<QThread> worker(
        QThread::create([&] { read.opened = forEachM3uEntry(path, take, notice, warning); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    // The loop also ends when the application quits: the read still finishes.
    worker->wait();
    QGuiApplication::restoreOverrideCursor();
    return read;
}
