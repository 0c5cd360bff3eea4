#include "folderwalk.h"

#include "mediaformats.h"
#include "medialocation.h"

#include <QFile>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <sys/stat.h>
#else
#include <QDir>
#endif

namespace FolderWalk {

namespace {

struct Entry
{
    QByteArray name; // native bytes
    QString text;    // as shown, for the order
};

bool entryLess(const Entry &a, const Entry &b)
{
    return naturalCompare(a.text, b.text) < 0;
}

int digitRunEnd(const QString &text, int from)
{
    while (from < text.size() && text.at(from).isDigit())
        ++from;
    return from;
}

// Files and sub-folders of folder, without hidden names; false when the
// folder cannot be read.
bool listFolder(const QByteArray &folder, QList<Entry> &files, QList<Entry> &folders)
{
#ifdef Q_OS_UNIX
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        struct stat info {};
        if (::stat((folder + '/' + name).constData(), &info) != 0) // a dangling link
            continue;
        const Entry found{name, QFile::decodeName(name)};
        if (S_ISDIR(info.st_mode))
            folders.append(found);
        else if (S_ISREG(info.st_mode))
            files.append(found);
    }
    ::closedir(dir);
    return true;
#else
    const QDir dir(QFile::decodeName(folder));
    if (!dir.isReadable())
        return false;
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const Entry found{QFile::encodeName(info.fileName()), info.fileName()};
        if (info.fileName().startsWith(QLatin1Char('.')))
            continue;
        if (info.isDir())
            folders.append(found);
        else if (info.isFile())
            files.append(found);
    }
    return true;
#endif
}

struct Walk
{
    int maxFiles;
    const std::atomic_bool *stop;
    Result result;
    QSet<QByteArray> walked; // canonical paths

    void folder(const QByteArray &path)
    {
        const QByteArray canonical = MediaLocation::canonicalPath(path);
        if (canonical.isEmpty() || walked.contains(canonical) || (stop && *stop))
            return;
        walked.insert(canonical);
        QList<Entry> files;
        QList<Entry> folders;
        if (!listFolder(path, files, folders))
            return;
        std::sort(files.begin(), files.end(), entryLess);
        std::sort(folders.begin(), folders.end(), entryLess);
        for (const Entry &file : qAsConst(files)) {
            const MediaFormats::Kind kind = MediaFormats::classifyFile(file.text);
            if (kind != MediaFormats::Kind::Video && kind != MediaFormats::Kind::Audio)
                continue;
            if (result.files.size() >= maxFiles) {
                result.truncated = true;
                return;
            }
            result.files.append(MediaLocation::fileUrl(path + '/' + file.name));
        }
        for (const Entry &sub : qAsConst(folders)) {
            if (result.truncated)
                return;
            folder(path + '/' + sub.name);
        }
    }
};

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            const int endA = digitRunEnd(a, i);
            const int endB = digitRunEnd(b, j);
            // Leading zeros do not count: compare by length, then digit by digit.
            int startA = i;
            int startB = j;
            while (startA < endA - 1 && a.at(startA) == QLatin1Char('0'))
                ++startA;
            while (startB < endB - 1 && b.at(startB) == QLatin1Char('0'))
                ++startB;
            const int lengthA = endA - startA;
            const int lengthB = endB - startB;
            if (lengthA != lengthB)
                return lengthA < lengthB ? -1 : 1;
            const int digits = QStringRef(&a, startA, lengthA).compare(QStringRef(&b, startB, lengthB));
            if (digits != 0)
                return digits;
            i = endA;
            j = endB;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded();
        const QChar cb = b.at(j).toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

Result mediaFiles(const QByteArray &folder, int maxFiles, const std::atomic_bool *stop)
{
    Walk walk{maxFiles, stop, {}, {}};
    QByteArray start = folder;
    while (start.size() > 1 && start.endsWith('/'))
        start.chop(1);
    walk.folder(start);
    return walk.result;
}

} // namespace FolderWalk
