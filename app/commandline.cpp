#include "commandline.h"

#include "playerproduct.h"

#include <QCoreApplication>
#include <cstdio>

CommandLine::CommandLine()
    : startOption({QStringLiteral("s"), QStringLiteral("start")},
                  QCoreApplication::translate("main", "Start playing this file."),
                  QCoreApplication::translate("main", "input file"))
    , translateOption({QStringLiteral("t"), QStringLiteral("translate")},
                      QCoreApplication::translate("main", "Force translation."), QStringLiteral("en"))
    , debugOption({QStringLiteral("d"), QStringLiteral("debug")}, QCoreApplication::translate("main", "Debug mode."))
    , passwordOption({QStringLiteral("p"), QStringLiteral("password")},
                     QCoreApplication::translate("main", "Debug mode password."),
                     QCoreApplication::translate("main", "password"))
    , helpOption({QStringLiteral("h"), QStringLiteral("help")},
                 QCoreApplication::translate("main", "Show this help and exit."))
    , versionOption({QStringLiteral("v"), QStringLiteral("version")},
                    QCoreApplication::translate("main", "Show the version and exit."))
{
    // Own help and version flags rather than Qt's built-in ones: those end
    // the process from inside process(), and Qt's version text is not the
    // player's version line.
    parser.setApplicationDescription(
        QCoreApplication::translate("main",
                                    "Player Tarn plays video and audio files, playlists, discs and network streams.")
        + QLatin1Char('\n') + PlayerProduct::versionLine());
    parser.addOption(startOption);
    parser.addOption(translateOption);
    parser.addOption(debugOption);
    parser.addOption(passwordOption);
    parser.addOption(helpOption);
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QCoreApplication::translate("main", "A file to play, as with --start."),
                                 QStringLiteral("[file]"));
}

QString CommandLine::startFile() const
{
    if (parser.isSet(startOption))
        return parser.value(startOption);
    return parser.positionalArguments().value(0);
}

QByteArray CommandLine::startFileBytes(int argc, char **argv)
{
    // Latin-1 maps each byte to one character and back: the parser sees
    // the options unchanged and the value keeps its bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    CommandLine commandLine;
    commandLine.parser.parse(arguments);
    return commandLine.startFile().toLatin1();
}

int CommandLine::answerInformationRequest(int &argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    CommandLine commandLine;
    // Errors are left to process() later: the toolkit's own options
    // ("-platform xcb") are unknown to this parser until the application
    // object has taken them out.
    commandLine.parser.parse(arguments);
    const bool help = commandLine.parser.isSet(commandLine.helpOption);
    if (!help && !commandLine.parser.isSet(commandLine.versionOption))
        return -1;
    // The parser's usage line reads the program name from an application
    // object; a core one needs no display.
    QCoreApplication application(argc, argv);
    const QString text = help ? commandLine.helpText() : versionText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return 0;
}

QString CommandLine::helpText() const
{
    return parser.helpText();
}

QString CommandLine::versionText()
{
    return QStringLiteral("Player Tarn\n") + PlayerProduct::versionLine() + QLatin1Char('\n');
}
