#include "moderndialog.h"

#include "flatstyle.h"

namespace Common {

ModernDialog::ModernDialog(QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setWindowFlags(flatDialogFlags);
    setStyleSheet(dialogStyleSheet());
}

QString ModernDialog::dialogStyleSheet()
{
    return QStringLiteral("QDialog { border: 1 solid rgba(0,0,0,255); background-color: rgba(255,255,255,255); }"
                          "*[isScrollArea='false'], *[isLabel='false'] { background-color: rgba(255,255,255,255); }")
           + flatButtonRules();
}

} // namespace Common
