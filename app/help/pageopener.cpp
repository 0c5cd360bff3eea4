#include "pageopener.h"

#include "modernmessagebox.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

PageOpener::PageOpener(QWidget *window)
    : QObject(window)
    , window(window)
{
}

void PageOpener::open(const QUrl &address)
{
    url = address;
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (QDesktopServices::openUrl(url))
            deleteLater();
        else
            failed(tr("no web browser was found"));
        return;
    }
    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    // opener ends -> its status decides; opener cannot start -> failure
    connect(process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, process, clock](int code, QProcess::ExitStatus status) {
                if ((status == QProcess::NormalExit && code == 0) || clock->elapsed() > watchMs) {
                    deleteLater();
                    return;
                }
                const QString output = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
                failed(output.isEmpty() ? tr("xdg-open ended with exit code %1").arg(code) : output);
            });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            failed(process->errorString());
    });
    process->start(opener, {url.toString(QUrl::FullyEncoded)});
}

void PageOpener::failed(const QString &reason)
{
    const QString address = url.toString(QUrl::FullyEncoded);
    emit messageWarning(tr("[Main] The desktop could not open %1: %2").arg(address.toHtmlEscaped(), reason.toHtmlEscaped()));
    Common::ModernMessageBox box(QMessageBox::Warning, tr("Page not opened"),
                                 tr("The desktop could not open this address in a web browser:<br><br>%1").arg(
                                     address.toHtmlEscaped()),
                                 QMessageBox::Close, window);
    QPushButton *copy = box.addButton(tr("Copy address"), QMessageBox::AcceptRole);
    box.setDefaultButton(copy);
    box.exec();
    if (box.clickedButton() == copy)
        QGuiApplication::clipboard()->setText(address);
    deleteLater();
}
