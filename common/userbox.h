#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace Common {

// Shows a flat message box with the single button Ok, modally over parent,
// and returns once the user has closed it.
void showUserBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

} // namespace Common
