#include "modernaboutdialog.h"

#include "flatstyle.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Common {

int buildYear()
{
    // __DATE__ is "Mmm dd yyyy".
    return QStringLiteral(__DATE__).right(4).toInt();
}

QString aboutYearText(int year, int builtIn)
{
    if (year == builtIn)
        return QString::number(year);
    return QStringLiteral("%1-%2").arg(year).arg(builtIn);
}

ModernAboutDialog::ModernAboutDialog(int year, const QString &link, const QString &text, const QString &iconPath,
                                     QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_iconPath(iconPath)
{
    setWindowTitle(tr("About application"));
    setWindowFlags(flatDialogFlags);
    setObjectName(QStringLiteral("ModernAboutDialog"));
    setStyleSheet(QStringLiteral("* { background-color: rgba(255,255,255,255); }"
                                 "#ModernAboutDialog { border: 1 solid rgba(0,0,0,255); }"));

    m_contents = new QWidget(this);
    m_contents->setContentsMargins(0, 0, 0, 0);
    m_textLabel = new QLabel(aboutText(year, link, text, buildYear()), m_contents);
    m_textLabel->setOpenExternalLinks(true);
    m_textLabel->setTextFormat(Qt::RichText);
    m_iconLabel = new QLabel(m_contents);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    if (!m_iconPath.isEmpty())
        m_iconLabel->setPixmap(QPixmap(m_iconPath));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    m_buttons->button(QDialogButtonBox::Ok)->setStyleSheet(flatButtonRules());
    // Ok -> close
    connect(m_buttons, &QDialogButtonBox::accepted, this, &ModernAboutDialog::accept);

    auto *grid = new QGridLayout(m_contents);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setSpacing(10);
    grid->addWidget(m_iconLabel, 0, 0, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(m_textLabel, 0, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 10);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_contents);
    layout->addWidget(m_buttons);
}

QString ModernAboutDialog::aboutText(int year, const QString &link, const QString &text, int builtIn)
{
    QString result;
    if (!link.isEmpty())
        result += tr("%1 online:<br><a href='%2'>%2</a>").arg(QGuiApplication::applicationDisplayName(), link)
                  + QStringLiteral("<br><br>");
    if (!text.isEmpty())
        result += text + QStringLiteral("<br><br>");
    result += tr("Copyright &copy; %1 %2")
                  .arg(aboutYearText(year, builtIn), QCoreApplication::organizationName().toHtmlEscaped());
    return result;
}

} // namespace Common
