#include "defaultplayer.h"

#include "desktopentry.h"
#include "mimeappslist.h"
#include "modernmessagebox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace Desktop {

namespace {

QString xdgMime()
{
    return QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
}

bool userFileWritable()
{
    const QFileInfo file(MimeAppsList::userFile());
    return file.exists() ? file.isWritable() : QFileInfo(file.absolutePath()).isWritable();
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

DefaultPlayer::DefaultPlayer(QWidget *window)
    : QObject(window)
    , window(window)
{
}

DefaultPlayer::~DefaultPlayer() = default;

QStringList DefaultPlayer::mimeTypes()
{
    return QString::fromLatin1(DesktopEntry::mimeTypes).split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool DefaultPlayer::available()
{
    return !xdgMime().isEmpty() || userFileWritable();
}

QString DefaultPlayer::installedEntry()
{
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, QLatin1String(DesktopEntry::fileName));
}

void DefaultPlayer::run()
{
    if (installedEntry().isEmpty()) {
        failNotInstalled();
        return;
    }
    QStringList texts;
    const QStringList files = MimeAppsList::lookupFiles(qgetenv("XDG_CURRENT_DESKTOP"));
    for (const QString &file : files)
        texts << readAll(file);
    const int changes = MimeAppsList::typesToChange(types, QLatin1String(DesktopEntry::fileName), texts);
    if (!confirm(changes)) {
        emit finished(false);
        return;
    }
    if (xdgMime().isEmpty())
        writeUserFile();
    else
        runXdgMime();
}

bool DefaultPlayer::confirm(int changes)
{
    const QString name = QGuiApplication::applicationDisplayName();
    if (changes == 0) {
        Common::ModernMessageBox(QMessageBox::Information, tr("Set as default player"),
                                 tr("%1 is already the default player for its %2 media types.")
                                     .arg(name)
                                     .arg(types.size()),
                                 QMessageBox::Ok, window)
            .exec();
        return false;
    }
    Common::ModernMessageBox box(QMessageBox::Question, tr("Set as default player"),
                                 tr("Make %1 the default player for %2 of its %3 media types?")
                                     .arg(name)
                                     .arg(changes)
                                     .arg(types.size()),
                                 QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void DefaultPlayer::runXdgMime()
{
    if (process)
        return;
    process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            fail(tr("[Main] xdg-mime did not start: %1").arg(process->errorString()));
    });
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this](int code, QProcess::ExitStatus status) {
                if (status == QProcess::NormalExit && code == 0) {
                    succeed();
                    return;
                }
                const QString output = QString::fromLocal8Bit(process->readAll()).trimmed().toHtmlEscaped();
                fail(tr("[Main] xdg-mime failed (exit code %1): %2").arg(code).arg(output));
            });
    process->start(QStringLiteral("xdg-mime"), QStringList{QStringLiteral("default"),
                                                         QLatin1String(DesktopEntry::fileName)} + types);
}

void DefaultPlayer::writeUserFile()
{
    const QString path = MimeAppsList::userFile();
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString text = MimeAppsList::withDefaults(readAll(path), types, QLatin1String(DesktopEntry::fileName));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        fail(tr("[Main] Could not write %1: %2").arg(path.toHtmlEscaped(), file.errorString()));
        return;
    }
    succeed();
}

void DefaultPlayer::succeed()
{
    emit messageNotice(tr("[Main] Default player for %1 media types").arg(types.size()));
    emit finished(true);
}

void DefaultPlayer::failNotInstalled()
{
    const QString entry = QLatin1String(DesktopEntry::fileName);
    emit messageWarning(tr("[Main] No %1 in the applications directories").arg(entry));
    // A build run from its folder: nothing to reinstall, the package installs the entry.
    Common::ModernMessageBox(
        QMessageBox::Warning, tr("Desktop entry not installed"),
        tr("%1 cannot become the default player: its desktop entry %2 is not installed, so the desktop does not "
           "know this program.<br><br>Install %1 as a package: build it with <tt>./scripts/build.sh &amp;&amp; (cd "
           "build &amp;&amp; cpack -G DEB)</tt>, then install it with <tt>sudo apt install "
           "./build/player-tarn_*.deb</tt>, and try again from the installed player.")
            .arg(QGuiApplication::applicationDisplayName(), entry),
        QMessageBox::Ok, window)
        .exec();
    emit finished(false);
}

void DefaultPlayer::fail(const QString &reason)
{
    emit messageWarning(reason);
    const QString name = QGuiApplication::applicationDisplayName();
    Common::ModernMessageBox(QMessageBox::Warning, tr("Installation issue"),
                             tr("Impossible to set %1 as your default program for media files, please reinstall %1 "
                                "and try again.")
                                 .arg(name),
                             QMessageBox::Ok, window)
        .exec();
    emit finished(false);
}

} // namespace Desktop
