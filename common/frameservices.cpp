#include "frameservices.h"

namespace Common {

QChar driveLetterOf(uint unitMask)
{
    int i = 0;
    while (i < 26 && !(unitMask & (1u << i)))
        ++i;
    return QChar(ushort('A' + i));
}

bool screenConfigurationChanged(int storedCount, const QList<QRect> &stored, const QList<QRect> &current)
{
    if (storedCount != current.size())
        return true;
    for (int i = 0; i < current.size(); ++i) {
        const QRect before = stored.value(i);
        if (current.at(i).width() < before.width() || current.at(i).height() < before.height())
            return true;
    }
    return false;
}

} // namespace Common
