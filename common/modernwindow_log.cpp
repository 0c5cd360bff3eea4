// ModernWindow: hosting of the log window and the Debug menu.

#include "modernwindow.h"

#include "logdialog.h"

#include <QAction>
#include <QHideEvent>

namespace Common {

void ModernWindow::createLogDialog()
{
    logDialog = new LibTarnCommon::LogDialog(tr("Application log"), this);
    logDialog->attachSender(this);
    // log window closing -> Log action's check mark
    connect(logDialog.data(), &LibTarnCommon::LogDialog::aboutToClose, this,
            &ModernWindow::appDebugChangeLogMenuOnHide);
}

void ModernWindow::deleteLogDialog()
{
    delete logDialog.data();
    logDialog = nullptr;
}

void ModernWindow::appDebugLogMenu()
{
    if (!logDialog)
        return;
    logDialog->setVisible(logDialog->isHidden());
}

void ModernWindow::appDebugChangeLogMenuOnHide()
{
    logAction->setChecked(!logAction->isChecked());
}

void ModernWindow::appDebugOpenStuff()
{
    logAction->activate(QAction::Trigger);
}

void ModernWindow::hideEvent(QHideEvent *event)
{
    if (logDialog && logAction->isChecked())
        logDialog->hide();
    event->accept();
}

} // namespace Common
