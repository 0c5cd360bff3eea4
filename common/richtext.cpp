#include "richtext.h"

#include <QUrl>

namespace Common {

QString escapeHtml(const QString &text)
{
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

QString boundedText(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    return text.left(maxChars) + QChar(0x2026);
}

bool isWebAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
           && !url.host().isEmpty();
}

QString linkLabelText(const QString &address, const QString &text)
{
    if (!isWebAddress(address))
        return QString();
    return QStringLiteral("<a href='%1'>%2</a>").arg(escapeHtml(address), escapeHtml(text));
}

} // namespace Common
