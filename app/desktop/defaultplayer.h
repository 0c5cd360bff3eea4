#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QProcess;
class QWidget;

namespace Desktop {

// "Set as default player...": makes the installed desktop entry the default
// application of every media type it declares, after the user confirms how
// many types change. Through `xdg-mime default` when xdg-mime is on PATH,
// otherwise by rewriting the user's mimeapps.list. A missing desktop entry
// (a build that is not installed) ends in a box that tells how to install
// the package; a failing xdg-mime or an unwritable file in the "Installation
// issue" box. GUI thread; the boxes are modal over the window given.
class DefaultPlayer : public QObject
{
    Q_OBJECT

public:
    explicit DefaultPlayer(QWidget *window);
    ~DefaultPlayer() override;

    // The media types of the desktop entry, as its MimeType= line lists them.
    static QStringList mimeTypes();
    // Whether either way of setting defaults exists here: the action is
    // hidden otherwise.
    static bool available();
    // The installed desktop entry found in the XDG data directories, or empty.
    static QString installedEntry();

    // Runs the whole exchange; `finished` follows in every case, possibly
    // before this returns. xdg-mime runs without blocking the window.
    void run();

signals:
    void finished(bool changed);
    void messageNotice(const QString &message);
    void messageWarning(const QString &message);

private:
    bool confirm(int changes);
    void runXdgMime();
    void writeUserFile();
    void succeed();
    void failNotInstalled();
    void fail(const QString &reason);

    QPointer<QWidget> window;
    QStringList types = mimeTypes();
    QProcess *process = nullptr;
};

} // namespace Desktop
