#include "userbox.h"

#include "modernmessagebox.h"

void showUserBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    Common::ModernMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
