// ModernWindow: hosting of the log window and the Debug menu.

#include "modernwindow.h"

#include "logdialog.h"

#include <QAction>
#include <QHideEvent>

namespace Common {

void ModernWindow::createLogDialog()
{
    m_logDialog = new LibTarnCommon::LogDialog(tr("Application log"), this);
    m_logDialog->attachSender(this);
    // log window closing -> Log action's check mark
    connect(m_logDialog.data(), &LibTarnCommon::LogDialog::aboutToClose, this,
            &ModernWindow::appDebugChangeLogMenuOnHide);
}

void ModernWindow::deleteLogDialog()
{
    delete m_logDialog.data();
    m_logDialog = nullptr;
}

void ModernWindow::appDebugLogMenu()
{
    if (!m_logDialog)
        return;
    m_logDialog->setVisible(m_logDialog->isHidden());
}

void ModernWindow::appDebugChangeLogMenuOnHide()
{
    m_logAction->setChecked(!m_logAction->isChecked());
}

void ModernWindow::appDebugOpenStuff()
{
    m_logAction->activate(QAction::Trigger);
}

void ModernWindow::hideEvent(QHideEvent *event)
{
    if (m_logDialog && m_logAction->isChecked())
        m_logDialog->hide();
    event->accept();
}

} // namespace Common
