#include "startvalues.h"

#include <QSettings>

namespace Common {

void StartValues::writeIfChanged(QSettings &settings, const QString &key, const QVariant &value) const
{
    if (!holds(key, value))
        settings.setValue(key, value);
}

} // namespace Common
