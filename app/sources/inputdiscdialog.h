#pragma once

#include "moderndialog.h"

#include <QString>

#include <memory>

class DiscProbe;
class QAbstractButton;
class QComboBox;
class QDialogButtonBox;
class QPushButton;
class QRadioButton;

namespace Platform {
class OpticalDrives;
}

// "Open disc": the disc kind (DVD, Blu-ray, audio CD) and the location to play,
// picked from the optical drives or a browsed folder. The kind follows what the
// current location holds; a drive is asked on a worker thread, so a spinning
// disc never freezes the dialog.
//
// Run it modally; afterwards the caller's `device` holds the chosen location
// (empty on Cancel, or on Play with nothing to choose) and `kind` the chosen
// kind (0 DVD, 1 Blu-ray, 2 audio CD; unchanged unless Play was pressed).
//
// Browse starts in lastDisc, the last disc location played, when it is an
// existing folder, otherwise in the home folder.
class InputDiscDialog : public Common::ModernDialog
{
    Q_OBJECT

public:
    // `drives` defaults to the running system's optical drives.
    InputDiscDialog(int *kind, QString *device, QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags(),
                    std::shared_ptr<const Platform::OpticalDrives> drives = nullptr,
                    const QString &lastDisc = QString());
    ~InputDiscDialog() override;

protected slots:
    void addFolder();
    void click(QAbstractButton *button);
    void updateType();

protected:
    QString *device;
    QString browseFolder;
    int *kind;
    QDialogButtonBox *buttonBox = nullptr;
    QRadioButton *bluRayButton = nullptr;
    QRadioButton *audioCdButton = nullptr;
    QRadioButton *dvdButton = nullptr;
    QPushButton *browseButton = nullptr;
    QComboBox *deviceCombo = nullptr;

private:
    void checkKind(int discKind);
    void probeFinished(int ticket, int discKind);

    DiscProbe *probe = nullptr;
    int awaitedProbe = 0; // ticket whose answer may still set the kind; 0 for none
};
