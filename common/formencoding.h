#pragma once
// Bodies of the form posts to the maker's server.

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

namespace Common {

using FormFields = QVector<QPair<QString, QString>>;

// "key=value&key=value" (application/x-www-form-urlencoded), every key and
// every value percent-encoded on its own as UTF-8, so that an '&' or '=' in a
// value stays inside its field.
QByteArray encodeForm(const FormFields &fields);

} // namespace Common
