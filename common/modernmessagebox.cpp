#include "modernmessagebox.h"

#include "flatstyle.h"

#include <QApplication>

namespace Common {

namespace {

const char *iconProperty(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Question: return "appQuestionIcon";
    case QMessageBox::Information: return "appInformationIcon";
    case QMessageBox::Warning: return "appWarningIcon";
    case QMessageBox::Critical: return "appErrorIcon";
    case QMessageBox::NoIcon: break;
    }
    return nullptr;
}

} // namespace

ModernMessageBox::ModernMessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons,
                                   QWidget *parent, Qt::WindowFlags flags)
    : QMessageBox(icon, title, text, buttons, parent, flags)
{
    setWindowFlags(flatDialogFlags);
    setObjectName(QStringLiteral("ModernMessageBox"));
    setStyleSheet(QStringLiteral("* { background-color: rgba(255,255,255,255); }"
                                 "#ModernMessageBox { border: 1 solid rgba(0,0,0,255); }")
                  + flatButtonRules(QStringLiteral("* ")));
    setWindowTitle(QGuiApplication::applicationDisplayName());
    setText(bodyText(title, text));

    if (const char *property = iconProperty(icon)) {
        const QVariant path = qApp->property(property);
        if (path.isValid())
            setIconPixmap(QPixmap(path.toString()));
    }
}

QString ModernMessageBox::bodyText(const QString &title, const QString &text)
{
    return QStringLiteral("<b>%1</b><br><br>%2").arg(title, text);
}

} // namespace Common
