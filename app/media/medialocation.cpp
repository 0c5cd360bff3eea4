#include "medialocation.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#include <cstdlib>
#endif

namespace MediaLocation {

bool hasScheme(const QString &text)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+://"));
    return scheme.match(text).hasMatch();
}

bool isFileLocation(const QString &text)
{
    return hasScheme(text) && text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
}

bool isTextName(const QByteArray &nativePath)
{
    return QFile::encodeName(QFile::decodeName(nativePath)) == nativePath;
}

QUrl fileUrl(const QByteArray &nativePath)
{
    if (isTextName(nativePath))
        return QUrl::fromLocalFile(QFile::decodeName(nativePath));
    return QUrl::fromEncoded("file://" + nativePath.toPercentEncoding("/"));
}

QString fileLocation(const QByteArray &nativePath)
{
    return fileUrl(nativePath).toString();
}

QString pathOrLocation(const QByteArray &nativePath)
{
    return isTextName(nativePath) ? QFile::decodeName(nativePath) : fileLocation(nativePath);
}

QByteArray nativePath(const QUrl &localFile)
{
    return QByteArray::fromPercentEncoding(localFile.path(QUrl::FullyEncoded).toLatin1());
}

QString displayPath(const QString &pathOrLocation)
{
    return isFileLocation(pathOrLocation) ? QUrl(pathOrLocation).toLocalFile() : pathOrLocation;
}

#ifdef Q_OS_UNIX

QByteArray canonicalPath(const QByteArray &nativePath)
{
    if (nativePath.isEmpty())
        return {};
    char *resolved = ::realpath(nativePath.constData(), nullptr);
    if (!resolved)
        return {};
    const QByteArray result(resolved);
    std::free(resolved);
    return result;
}

bool isFolder(const QByteArray &nativePath)
{
    struct stat info {};
    return !nativePath.isEmpty() && ::stat(nativePath.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// The one name in folder that shows as text; empty when none or several do.
QByteArray uniqueNameShownAs(const QByteArray &folder, const QString &text)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "/" : folder.constData());
    if (!dir)
        return {};
    QByteArray found;
    int matches = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QFile::decodeName(name) == text) {
            found = name;
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? found : QByteArray();
}

} // namespace

QByteArray recoverNativePath(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (!path.contains(QChar::ReplacementCharacter) || !path.startsWith(QLatin1Char('/'))
        || QFileInfo::exists(path))
        return encoded;
    QByteArray recovered;
    const QStringList components = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &component : components) {
        QByteArray name = QFile::encodeName(component);
        if (component.contains(QChar::ReplacementCharacter)) {
            name = uniqueNameShownAs(recovered, component);
            if (name.isEmpty())
                return encoded;
        }
        recovered += '/' + name;
    }
    return recovered;
}

#else // file names are UTF-16 text: nothing is lost on the way to QString

QByteArray canonicalPath(const QByteArray &nativePath)
{
    return QFile::encodeName(QFileInfo(QFile::decodeName(nativePath)).canonicalFilePath());
}

bool isFolder(const QByteArray &nativePath)
{
    return QFileInfo(QFile::decodeName(nativePath)).isDir();
}

QByteArray recoverNativePath(const QString &path)
{
    return QFile::encodeName(path);
}

#endif

} // namespace MediaLocation
