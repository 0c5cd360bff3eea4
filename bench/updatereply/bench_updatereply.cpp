// Parses update replies of 128 KiB to 1 MiB (the client's cap) delivered in
// chunks of several sizes with the incremental parser (best of five runs),
// and, for comparison, with the plain approach of matching the nine greedy
// patterns over the whole reply after every chunk (on a 128 KiB reply only:
// its cost grows with the square of the number of chunks).
// Usage: bench_updatereply

#include "updatereply.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdio>

namespace {

QByteArray makeReply(int size)
{
    QByteArray reply = "<UPDATE>yes</UPDATE><VERSION>2.0</VERSION><CHANGELOG>";
    while (reply.size() < size - 32)
        reply += "- fixed <b>this</b> & that\n";
    reply += "</CHANGELOG>";
    return reply;
}

double incrementalOnceMs(const QByteArray &reply, int chunk)
{
    QElapsedTimer timer;
    timer.start();
    Common::UpdateReplyParser parser;
    for (int at = 0; at < reply.size(); at += chunk)
        parser.append(reply.mid(at, chunk));
    volatile int sink = parser.value(Common::UpdateTag::Changelog).size();
    (void)sink;
    return timer.nsecsElapsed() / 1e6;
}

// Best of five: the machine is shared.
double incrementalMs(const QByteArray &reply, int chunk)
{
    double best = 1e9;
    for (int run = 0; run < 5; ++run)
        best = qMin(best, incrementalOnceMs(reply, chunk));
    return best;
}

double rescanMs(const QByteArray &reply, int chunk)
{
    static const char *const names[] = {"UPDATE",  "FILEBIN",   "URLBIN",   "FILESRC", "URLSRC",
                                        "VERSION", "CHANGELOG", "RESPONSE", "BUILD"};
    QElapsedTimer timer;
    timer.start();
    QByteArray received;
    for (int at = 0; at < reply.size(); at += chunk) {
        received += reply.mid(at, chunk);
        const QString text = QString::fromUtf8(received);
        for (const char *name : names) {
            const QRegularExpression pattern(QStringLiteral("<%1>(.*)</%1>").arg(QLatin1String(name)),
                                             QRegularExpression::DotMatchesEverythingOption);
            volatile int sink = pattern.match(text).captured(1).trimmed().size();
            (void)sink;
        }
    }
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray small = makeReply(128 * 1024);
    for (int kib : {128, 256, 512, 1024}) {
        const QByteArray reply = makeReply(kib * 1024);
        std::printf("incremental parser, %4d KiB reply:", kib);
        for (int chunk : {65536, 4096, 512, 64})
            std::printf("  %5d-byte chunks %7.2f ms", chunk, incrementalMs(reply, chunk));
        std::printf("\n");
    }
    std::printf("re-matching the whole reply per chunk, %d-byte reply:\n", int(small.size()));
    for (int chunk : {65536, 4096, 512})
        std::printf("  chunks of %5d bytes: %8.2f ms (incremental: %.2f ms)\n", chunk, rescanMs(small, chunk),
                    incrementalMs(small, chunk));
    return 0;
}
