#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;

namespace Common {

// The year the program was built, from the compiler's build date.
int buildYear();
// "2026" when year is the build year, otherwise "year-buildYear".
QString aboutYearText(int year, int builtIn);

// The flat about box: the icon on the left; on the right the link part (when
// a link is given), the text part and a copyright line.
class ModernAboutDialog : public QDialog
{
    Q_OBJECT

public:
    ModernAboutDialog(int year, const QString &link, const QString &text, const QString &iconPath,
                      QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // The rich text of the text label.
    static QString aboutText(int year, const QString &link, const QString &text, int builtIn);

private:
    QString m_iconPath;
    QWidget *m_contents = nullptr;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_textLabel = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

} // namespace Common
