// restart_probe CODE MARKFILE: appends "run" to MARKFILE and ends with
// Startup::finishRun(CODE). A run started without arguments (the restart)
// finds the mark file in the environment, appends "restarted" and ends.
#include "startup.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString markFile = qEnvironmentVariable("RESTART_PROBE_MARK");
    QFile mark(markFile);
    if (!mark.open(QIODevice::Append))
        return 2;
    if (argc < 2) {
        mark.write("restarted\n");
        return 0;
    }
    mark.write("run\n");
    mark.close();
    return Startup::finishRun(QByteArray(argv[1]).toInt());
}
