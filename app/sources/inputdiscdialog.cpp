#include "inputdiscdialog.h"

#include "discfolder.h"
#include "discprobe.h"
#include "opticaldrives.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Data role of a drive entry holding the drive's device node; browsed
// folders have none.
constexpr int deviceRole = Qt::UserRole + 1;

} // namespace

InputDiscDialog::InputDiscDialog(int *kind, QString *device, QWidget *parent, Qt::WindowFlags flags,
                                 std::shared_ptr<const Platform::OpticalDrives> drives, const QString &lastDisc)
    : Common::ModernDialog(parent, flags)
    , device(device)
    , browseFolder(lastDisc)
    , kind(kind)
{
    if (!drives)
        drives = Platform::systemOpticalDrives();

    if (browseFolder.isEmpty() || !QDir(browseFolder).exists())
        browseFolder = QDir::homePath();

    setWindowTitle(tr("Open disc"));
    // The flat dialog's look, its buttons included, on white labels and radio buttons.
    setStyleSheet(dialogStyleSheet()
                  + QStringLiteral(" QLabel, QRadioButton { background-color : rgba(255,255,255,255); } "));

    auto *group = new QGroupBox(tr("Disc selection:"), this);
    audioCdButton = new QRadioButton(tr("Audio CD"), group);
    bluRayButton = new QRadioButton(tr("Blu-ray"), group);
    dvdButton = new QRadioButton(tr("DVD"), group);
    auto *kindRow = new QHBoxLayout;
    kindRow->addWidget(audioCdButton);
    kindRow->addWidget(bluRayButton);
    kindRow->addWidget(dvdButton);

    deviceCombo = new QComboBox(group);
    browseButton = new QPushButton(tr("Browse..."), group);
    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(tr("Disc device"), group));
    deviceRow->addWidget(deviceCombo);
    deviceRow->addWidget(browseButton);

    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(kindRow);
    groupLayout->addLayout(deviceRow);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Play"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttonBox);

    probe = new DiscProbe(drives, this);
    connect(probe, &DiscProbe::finished, this, &InputDiscDialog::probeFinished);
    connect(deviceCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &InputDiscDialog::updateType);
    connect(browseButton, &QPushButton::released, this, &InputDiscDialog::addFolder);
    connect(buttonBox, &QDialogButtonBox::clicked, this, &InputDiscDialog::click);
    // Escape rejects without passing through click().
    connect(this, &QDialog::rejected, this, [this] { this->device->clear(); });
    // The user's own choice of kind wins over a drive answer still to come.
    for (QRadioButton *button : {audioCdButton, bluRayButton, dvdButton})
        connect(button, &QRadioButton::clicked, this, [this] { awaitedProbe = 0; });

    dvdButton->setChecked(true);

    // The drive entries get their device role before updateType may read it:
    // the zero-delay call below handles the first entry.
    const QSignalBlocker quiet(deviceCombo);
    for (const Platform::OpticalDrive &drive : drives->drives()) {
        deviceCombo->addItem(drive.displayText, drive.location);
        deviceCombo->setItemData(deviceCombo->count() - 1, drive.device, deviceRole);
    }

    QTimer::singleShot(0, this, &InputDiscDialog::updateType);
}

InputDiscDialog::~InputDiscDialog() = default;

void InputDiscDialog::addFolder()
{
    const QString answer = QFileDialog::getExistingDirectory(this, tr("Select device or VIDEO_TS folder"),
                                                             browseFolder, QFileDialog::ShowDirsOnly);
    if (answer.isEmpty())
        return;
    browseFolder = answer;
    const QString text = QDir::toNativeSeparators(answer);
    const Qt::MatchFlags exact = Qt::MatchExactly | Qt::MatchCaseSensitive;
    if (deviceCombo->findText(text, exact) < 0)
        deviceCombo->addItem(text, browsedDiscLocation(answer, listDiscFolder(answer)));
    deviceCombo->setCurrentIndex(deviceCombo->findText(text, exact));
}

void InputDiscDialog::click(QAbstractButton *button)
{
    if (button == buttonBox->button(QDialogButtonBox::Ok)) {
        *device = deviceCombo->currentData().toString();
        if (dvdButton->isChecked())
            *kind = int(DiscKind::Dvd);
        else if (bluRayButton->isChecked())
            *kind = int(DiscKind::BluRay);
        else if (audioCdButton->isChecked())
            *kind = int(DiscKind::AudioCd);
    } else {
        device->clear();
    }
    accept();
}

void InputDiscDialog::updateType()
{
    awaitedProbe = 0;
    const QString location = deviceCombo->currentData().toString();
    if (location.isEmpty())
        return;
    const QString driveDevice = deviceCombo->currentData(deviceRole).toString();
    if (!driveDevice.isEmpty()) {
        // A drive may take seconds to answer: its kind arrives in probeFinished.
        awaitedProbe = probe->start(location, driveDevice);
        return;
    }
    if (const std::optional<DiscKind> found = discKindOf(listDiscFolder(location)))
        checkKind(int(*found));
}

void InputDiscDialog::checkKind(int discKind)
{
    switch (DiscKind(discKind)) {
    case DiscKind::Dvd:
        dvdButton->setChecked(true);
        break;
    case DiscKind::BluRay:
        bluRayButton->setChecked(true);
        break;
    case DiscKind::AudioCd:
        audioCdButton->setChecked(true);
        break;
    }
}

void InputDiscDialog::probeFinished(int ticket, int discKind)
{
    if (ticket == 0 || ticket != awaitedProbe)
        return;
    awaitedProbe = 0;
    if (discKind >= 0)
        checkKind(discKind);
}
