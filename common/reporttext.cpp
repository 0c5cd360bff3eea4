#include "reporttext.h"

#include <QRegularExpression>

namespace Common {

bool isAcceptedEmail(const QString &text)
{
    if (text.isEmpty())
        return true;
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[a-z0-9!#$%&'*+/=?^_`{|}~.-]+"
                                                           "@[a-z0-9!#$%&'*+/=?^_`{|}~.-]+"
                                                           "\\.[a-z0-9]{2,6}")),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(text).hasMatch();
}

QString composeReport(const QString &displayName, const QString &versionText, const QString &description,
                      const QString &log)
{
    QString report = displayName + QLatin1Char(' ') + versionText + QStringLiteral("\n\n") + description
                     + QStringLiteral("\n\n");
    if (!log.isNull())
        report += log + QStringLiteral("\n\n") + QString(80, QLatin1Char('=')) + QStringLiteral("\n\n");
    return report;
}

} // namespace Common
