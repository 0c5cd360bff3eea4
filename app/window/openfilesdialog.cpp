#include "openfilesdialog.h"

#include "medialocation.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// The bytes of a chosen name; one listed with U+FFFD is looked up again in
// its folder.
QByteArray chosenPath(const QUrl &chosen)
{
    QByteArray bytes = MediaLocation::nativePath(chosen);
    if (MediaLocation::canonicalPath(bytes).isEmpty())
        bytes = MediaLocation::recoverNativePath(chosen.toLocalFile());
    return bytes;
}

} // namespace

void OpenFilesDialog::accept()
{
    const QList<QUrl> chosen = selectedUrls();
    const bool allFiles = !chosen.isEmpty() && std::all_of(chosen.cbegin(), chosen.cend(), [](const QUrl &url) {
        const QByteArray bytes = chosenPath(url);
        return !MediaLocation::canonicalPath(bytes).isEmpty() && !QFileInfo(QFile::decodeName(bytes)).isDir();
    });
    if (allFiles)
        QDialog::accept();
    else
        QFileDialog::accept();
}

QList<QUrl> OpenFilesDialog::chosenFiles() const
{
    QList<QUrl> files;
    const QList<QUrl> chosen = selectedUrls();
    for (const QUrl &url : chosen)
        files << MediaLocation::fileUrl(chosenPath(url));
    return files;
}
