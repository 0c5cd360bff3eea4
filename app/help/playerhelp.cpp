#include "playerhelp.h"

#include "flatstyle.h"
#include "modernaboutdialog.h"
#include "moderndialog.h"
#include "modernmessagebox.h"
#include "reportdialog.h"
#include "richtext.h"
#include "updatehelper.h"

#include <QApplication>
#include <QUrl>

namespace PlayerHelp {

namespace {

// The box shows rich text: line breaks become <br>.
void fatalEngineBox(QWidget *parent, const QString &text)
{
    Common::ModernMessageBox box(QMessageBox::Critical, QCoreApplication::translate("PlayerWindow", "Internal error"),
                                 text.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")),
                                 QMessageBox::Ok, parent);
    box.exec();
    QCoreApplication::exit(1);
}

} // namespace

void showAbout(QWidget *parent)
{
    const QString home = Common::escapeHtml(PlayerProduct::pageAddress(PlayerProduct::Page::Home));
    Common::ModernAboutDialog dialog(PlayerProduct::aboutYear, home, PlayerProduct::versionLine(),
                                     qApp->property("appIcon").toString(), parent);
    dialog.exec();
}

void openReport(QWidget *parent, LibTarnCommon::LogDialog *log)
{
    auto *dialog = new Common::ReportDialog(PlayerProduct::versionLine(), PlayerProduct::appId, false, QString(), log,
                                            parent);
    dialog->setStyleSheet(Common::ModernDialog::dialogStyleSheet());
    dialog->setWindowFlags(Common::flatDialogFlags);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setModal(true);
    dialog->show();
    dialog->activateWindow();
}

Common::UpdateHelper *createUpdateHelper(QObject *parent, bool debug, bool atStart)
{
    auto *helper = new Common::UpdateHelper(parent);
    helper->setUrl(PlayerProduct::pageAddress(PlayerProduct::Page::UpdateRequest));
    helper->setDebug(debug);
    helper->setApp(PlayerProduct::appId);
    helper->setVersion(PlayerProduct::fullVersion);
    helper->setBuild(PlayerProduct::buildNumber);
    helper->setAuto(atStart);
    return helper;
}

QString updateLinks()
{
    const QString caption =
        QCoreApplication::translate("PlayerWindow", "%1 on-line").arg(QGuiApplication::applicationDisplayName());
    return QStringLiteral("<table width='100%' border='0' cellspacing='0' cellpadding='0'><tr><td width='20%'>%1: "
                          "</td><td width='80%'><a href='%3'>%2</a>,<br><a href='%5'>%4</a>.</td></tr></table>")
        .arg(caption, QCoreApplication::translate("PlayerWindow", "home page"),
             Common::escapeHtml(PlayerProduct::pageAddress(PlayerProduct::Page::Home)),
             QCoreApplication::translate("PlayerWindow", "download page"),
             Common::escapeHtml(PlayerProduct::pageAddress(PlayerProduct::Page::Download)));
}

void engineFailedToLoad(QWidget *parent)
{
    fatalEngineBox(parent, QCoreApplication::translate(
                               "PlayerWindow", "%1 was not able to run properly, please reinstall the application.")
                               .arg(QGuiApplication::applicationDisplayName()));
}

void engineVersionTooOld(QWidget *parent, const QString &libvlcVersion)
{
    fatalEngineBox(parent, QCoreApplication::translate("PlayerWindow",
                                                       "%1.\n\n%2 requires libvlc version 2.1.0 or more recent, "
                                                       "please install more recent version.")
                               .arg(libvlcVersion, QGuiApplication::applicationDisplayName()));
}

} // namespace PlayerHelp
