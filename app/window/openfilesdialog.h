#pragma once

#include <QFileDialog>
#include <QList>
#include <QUrl>

// The file dialog of "Open file". Qt's own dialog lists a name that is not
// UTF-8 with U+FFFD and, checking each chosen name by its text, would refuse
// the very name it offers: names found again by their bytes in their folder
// are taken as they are; anything else (a folder to go into, a name that
// names nothing) gets the dialog's own handling.
class OpenFilesDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override;
    // The chosen files as file URLs that keep their names' bytes.
    QList<QUrl> chosenFiles() const;
};
