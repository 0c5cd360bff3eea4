#include "mimeappslist.h"

#include <QStandardPaths>

namespace MimeAppsList {

namespace {

const QString defaultGroup = QStringLiteral("[Default Applications]");

bool isGroupHeader(const QString &line)
{
    return line.startsWith(QLatin1Char('['));
}

// The type of a "type=id;id;" line, or an empty string for anything else.
QString entryType(const QString &line)
{
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0 || line.startsWith(QLatin1Char('#')))
        return QString();
    return line.left(equals).trimmed();
}

} // namespace

QHash<QString, QStringList> defaultApplications(const QString &text)
{
    QHash<QString, QStringList> defaults;
    bool inGroup = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (isGroupHeader(line)) {
            inGroup = line == defaultGroup;
            continue;
        }
        const QString type = entryType(line);
        if (!inGroup || type.isEmpty())
            continue;
        const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
        defaults.insert(type, value.split(QLatin1Char(';'), Qt::SkipEmptyParts));
    }
    return defaults;
}

QString withDefaults(const QString &text, const QStringList &types, const QString &desktopId)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    // Drop the group's lines for the types, remember where the group ends.
    QStringList result;
    int groupEnd = -1;
    bool inGroup = false;
    for (const QString &line : qAsConst(lines)) {
        const QString trimmed = line.trimmed();
        if (isGroupHeader(trimmed)) {
            if (inGroup)
                groupEnd = result.size();
            inGroup = trimmed == defaultGroup;
        } else if (inGroup && types.contains(entryType(trimmed))) {
            continue;
        }
        result << line;
    }
    if (inGroup)
        groupEnd = result.size();
    if (groupEnd < 0) {
        if (!result.isEmpty() && !result.last().trimmed().isEmpty())
            result << QString();
        result << defaultGroup;
        groupEnd = result.size();
    }
    // New entries after the group's last entry, before blank lines that
    // separate it from the next group.
    while (groupEnd > 0 && result.at(groupEnd - 1).trimmed().isEmpty())
        --groupEnd;
    QStringList entries;
    for (const QString &type : types)
        entries << type + QLatin1Char('=') + desktopId + QLatin1Char(';');
    for (int i = 0; i < entries.size(); ++i)
        result.insert(groupEnd + i, entries.at(i));
    return result.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int typesToChange(const QStringList &types, const QString &desktopId, const QStringList &textsByPriority)
{
    QList<QHash<QString, QStringList>> files;
    for (const QString &text : textsByPriority)
        files << defaultApplications(text);
    int count = 0;
    for (const QString &type : types) {
        QString current;
        for (const auto &defaults : qAsConst(files)) {
            const auto found = defaults.constFind(type);
            if (found != defaults.cend() && !found->isEmpty()) {
                current = found->constFirst();
                break;
            }
        }
        if (current != desktopId)
            ++count;
    }
    return count;
}

QStringList lookupFiles(const QByteArray &currentDesktops)
{
    QStringList names;
    const QList<QByteArray> desktops = currentDesktops.toLower().split(':');
    for (const QByteArray &desktop : desktops) {
        if (!desktop.isEmpty())
            names << QString::fromLocal8Bit(desktop) + QStringLiteral("-mimeapps.list");
    }
    names << QStringLiteral("mimeapps.list");

    QStringList directories = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    const QStringList dataDirectories = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &data : dataDirectories)
        directories << data + QStringLiteral("/applications");

    QStringList files;
    for (const QString &directory : qAsConst(directories)) {
        for (const QString &name : qAsConst(names))
            files << directory + QLatin1Char('/') + name;
    }
    return files;
}

QString userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
}

} // namespace MimeAppsList
