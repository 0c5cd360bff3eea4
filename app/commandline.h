#pragma once
// The program's command line: the start, translate, debug and password
// options in that order, then help and version, and an optional bare file
// name. Qt's standard handling of unknown options and missing values applies
// (process() ends the program with exit code 1 and a message).

#include <QCommandLineOption>
#include <QCommandLineParser>

class CommandLine
{
public:
    CommandLine();

    // Answers --help and --version: prints the usage text or the version on
    // standard output and returns 0; returns -1 when the arguments ask for
    // neither. Call first thing in main(): it needs no display and no
    // application object, and comes before any single-instance hand-over.
    static int answerInformationRequest(int &argc, char **argv);

    // The file to start with after parsing: the --start value, else the
    // first bare argument ("player-tarn film.mkv"), else empty.
    QString startFile() const;

    // The start file as the bytes it was given in (argv as left by the
    // application object). A name that is not UTF-8 keeps every byte here,
    // while the text of startFile() shows such bytes as U+FFFD.
    static QByteArray startFileBytes(int argc, char **argv);

    // The usage text: synopsis, what the program is, the version line and
    // the options. Needs an application object.
    QString helpText() const;
    // The program's name and its version line, one per line.
    static QString versionText();

    QCommandLineParser parser;
    const QCommandLineOption startOption;
    const QCommandLineOption translateOption;
    const QCommandLineOption debugOption;
    const QCommandLineOption passwordOption;
    const QCommandLineOption helpOption;
    const QCommandLineOption versionOption;
};
