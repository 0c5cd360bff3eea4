#pragma once

#include <QMessageBox>

namespace Common {

// A flat, frameless message box. The window title is the application display
// name; the body is the title in bold, two line breaks, then the text (HTML
// allowed). Icons come from the application properties "appQuestionIcon",
// "appInformationIcon", "appWarningIcon" and "appErrorIcon" when they exist.
class ModernMessageBox : public QMessageBox
{
    Q_OBJECT

public:
    ModernMessageBox(Icon icon, const QString &title, const QString &text, StandardButtons buttons = NoButton,
                     QWidget *parent = nullptr,
                     Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    // The body text for a title and a text.
    static QString bodyText(const QString &title, const QString &text);
};

} // namespace Common
