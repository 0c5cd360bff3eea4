#include "commandline.h"
#include "core.h"
#include "platform.h"
#include "playerwindow.h"
#include "singleapplication.h"
#include "startup.h"
#include "settingsfile.h"
#include "playersettingskeys.h"

#include <QDir>
#include <QIcon>
#include <QLocale>
#include <QPointer>
#include <QSettings>
#include <QStyleFactory>
#include <QTranslator>

int main(int argc, char *argv[])
{
    if (const int code = CommandLine::answerInformationRequest(argc, argv); code >= 0)
        return code;
    Platform::initThreads();
    Platform::preferEmbeddablePlatform(argc, argv);
    Platform::skipQtOpenGlIntegration();
    // The frame makes the application directory current: remember where the
    // user launched us so that a relative start file keeps its meaning.
    const QByteArray launchDirectory = Startup::currentDirectory();

    SingleApplication app(QStringLiteral("Mirelva.Player"), argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Player Tarn"));
    QCoreApplication::setApplicationName(QStringLiteral("Player"));
    QCoreApplication::setOrganizationDomain(QString());
    QCoreApplication::setOrganizationName(QStringLiteral("Mirelva"));

    app.setProperty("appIcon", QStringLiteral(":/AppTarn/images/PlayerIcon64x64.png"));
    app.setProperty("appIconMenu", QStringLiteral(":/AppTarn/images/PlayerIcon64x64black.png"));
    app.setProperty("appCloseIcon", QStringLiteral(":/AppTarn/images/app/close_black.png"));
    app.setProperty("appMinimizeIcon", QStringLiteral(":/AppTarn/images/app/minimize_black.png"));
    app.setProperty("appPinButton", QStringLiteral(":/AppTarn/images/app/pin_black.png"));
    app.setProperty("appErrorIcon", QStringLiteral(":/AppTarn/images/app/error.png"));
    app.setProperty("appInformationIcon", QStringLiteral(":/AppTarn/images/app/information.png"));
    app.setProperty("appQuestionIcon", QStringLiteral(":/AppTarn/images/app/question.png"));
    app.setProperty("appWarningIcon", QStringLiteral(":/AppTarn/images/app/warning.png"));

    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/AppTarn/images/PlayerIcon64x64.png")));

    // Before anything reads settings: a store that cannot be read is kept
    // aside, and this run starts with defaults.
    const QString settingsKeptAs = Common::keepUnreadableSettingsAside();
    const QString settingsKeptLine =
        settingsKeptAs.isEmpty()
            ? QString()
            : QCoreApplication::translate("main", "[Main] Settings could not be read; the file was kept as %1")
                  .arg(settingsKeptAs.toHtmlEscaped());
    if (!settingsKeptLine.isEmpty())
        qWarning("%s", qUtf8Printable(settingsKeptLine));

    CommandLine commandLine;
    QCommandLineParser &parser = commandLine.parser;
    const QCommandLineOption &translateOption = commandLine.translateOption;
    const QCommandLineOption &debugOption = commandLine.debugOption;
    const QCommandLineOption &passwordOption = commandLine.passwordOption;
    parser.process(app);

    const QString startFile =
        Startup::resolveStartFile(CommandLine::startFileBytes(argc, argv), launchDirectory);

    QSettings settings;
    bool videoInstance = false;
    if (settings.contains(PlayerSettingsKey::videoInstance))
        videoInstance = settings.value(PlayerSettingsKey::videoInstance).toBool();
    if (!(Startup::isVideoFile(startFile) && videoInstance)) {
        if (app.sendMessage(startFile, 5000))
            return 0;
    }

    // This process is the player: libvlc starts loading now, on the engine's
    // worker thread, while the window is built.
    auto engine = std::make_unique<LibPlayer::Core>();

    const QString language = Startup::interfaceLanguage(
        QLocale::system().name(), settings.value(PlayerSettingsKey::interfaceLanguage).toString(),
        parser.value(translateOption));
    const bool debugMode = Startup::debugGranted(parser.isSet(debugOption), parser.value(passwordOption));

    QTranslator translator;
    if (Startup::loadsTranslation(language, debugMode)) {
        translator.load(QStringLiteral(":/AppTarn/Player_%1").arg(language));
        QCoreApplication::installTranslator(&translator);
    }

    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // Deleted on a system close (the frame sets WA_DeleteOnClose), otherwise
    // after the event loop, while the application object still exists.
    QPointer<PlayerWindow> window = new PlayerWindow(startFile, !debugMode, std::move(engine));
    window->show();
    if (!settingsKeptLine.isEmpty())
        emit window->messageWarning(settingsKeptLine);

    // other instance's message -> window; its log lines -> window's log;
    // window wants the front -> activation
    QObject::connect(&app, &SingleApplication::messageReceived, window.data(), &PlayerWindow::handleMessage);
    QObject::connect(&app, &SingleApplication::messageWarning, window.data(), &PlayerWindow::messageWarning);
    app.setActivationWindow(window, false);
    QObject::connect(window.data(), &PlayerWindow::needToShow, &app, &SingleApplication::activateWindow);

    const int exitCode = app.exec();
    delete window.data();
    return Startup::finishRun(exitCode);
}
