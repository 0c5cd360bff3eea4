#include "formencoding.h"

#include <QUrl>

namespace Common {

QByteArray encodeForm(const FormFields &fields)
{
    QByteArray body;
    for (const auto &field : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(field.first) + '=' + QUrl::toPercentEncoding(field.second);
    }
    return body;
}

} // namespace Common
