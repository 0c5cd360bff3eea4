#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

class QSettings;

namespace Common {

// Settings as one window had them when it started. At quit the window writes
// a key only when its value has changed since: the keys it left alone keep
// what the store holds by then, which another window sharing the store ("Open
// video in new window") may have changed meanwhile. So a change survives the
// quit of a window that did not make it.
class StartValues
{
public:
    void remember(const QString &key, const QVariant &value) { m_values.insert(key, value); }
    // Whether key was remembered with this value.
    bool holds(const QString &key, const QVariant &value) const
    {
        return m_values.contains(key) && m_values.value(key) == value;
    }
    // Writes value under key unless the window started with it.
    void writeIfChanged(QSettings &settings, const QString &key, const QVariant &value) const;

private:
    QHash<QString, QVariant> m_values;
};

} // namespace Common
