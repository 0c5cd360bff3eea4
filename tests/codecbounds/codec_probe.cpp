// Prints one line per field ("Artist=Ann") or per entry kind and warning count
// of a playlist, then "extra_kb N": the peak resident memory during the read
// less the resident memory before it.
#include "id3tag.h"
#include "m3u.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

namespace {

long residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    const QList<QByteArray> fields = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ') : QList<QByteArray>();
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QByteArray kind = argv[1];
    const QString path = QString::fromLocal8Bit(argv[2]);
    QStringList lines;
    const long before = residentKb();
    if (kind == "tags") {
        const QHash<QString, QString> fields = readMp3TagFields(path);
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            lines << it.key() + QLatin1Char('=') + it.value();
        lines.sort();
    } else {
        int warnings = 0;
        const M3uReadResult result = readM3u(path, {}, [&warnings](const QString &) { ++warnings; });
        lines << QStringLiteral("files %1").arg(result.urls(M3uEntryKind::LocalFile).size())
              << QStringLiteral("entries %1").arg(result.entries.size())
              << QStringLiteral("warnings %1").arg(warnings);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const long extra = usage.ru_maxrss - before;
    for (const QString &line : qAsConst(lines))
        std::printf("%s\n", qPrintable(line));
    std::printf("extra_kb %ld\n", extra);
    return 0;
}
