#include "singleapplication.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    const QString id = QString::fromLocal8Bit(argv[1]);
    const QString text = QString::fromUtf8(argv[2]);
    SingleApplication app(id, argc, argv);
    if (app.sendMessage(text, 5000)) {
        std::printf("sent\n");
        return 0;
    }
    std::printf("primary\n");
    std::fflush(stdout);
    QObject::connect(&app, &SingleApplication::messageWarning, &app, [](const QString &line) {
        std::printf("warning:%s\n", line.toUtf8().constData());
        std::fflush(stdout);
    });
    QObject::connect(&app, &SingleApplication::messageReceived, &app, [](const QString &message) {
        std::printf("received:%s\n", message.toUtf8().constData());
        std::fflush(stdout);
        if (message == QLatin1String("quit"))
            QCoreApplication::quit();
    });
    return app.exec();
}
