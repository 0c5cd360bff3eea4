#include "userbox.h"

#include "modernmessagebox.h"

namespace Common {

void showUserBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    ModernMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace Common
