#include "mediainfodialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

MediaInfoDialog::MediaInfoDialog(const LibPlayer::MediaInfo &info, QWidget *parent)
    : Common::ModernDialog(parent)
    , text(LibPlayer::mediaInfoText(info))
{
    setWindowTitle(tr("Media information"));
    setMinimumSize(520, 420);

    auto *heading = new QLabel(tr("Media information"), this);
    heading->setStyleSheet(QStringLiteral("QLabel { font-family: Segoe UI Semibold, Arial; font-size: 14px; }"));

    list = new QTreeWidget(this);
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setStyleSheet(QStringLiteral("QTreeWidget { border: 1px solid rgba(200,200,200,255);"
                                       " font-family: Segoe UI Semibold, Arial; }"));
    for (const LibPlayer::MediaInfoSection &section : LibPlayer::mediaInfoSections(info)) {
        auto *group = new QTreeWidgetItem(list, {section.title});
        QFont bold = group->font(0);
        bold.setBold(true);
        group->setFont(0, bold);
        group->setFirstColumnSpanned(true);
        for (const auto &row : section.rows)
            new QTreeWidgetItem(group, {row.first, row.second});
    }
    list->expandAll();
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto *buttons = new QDialogButtonBox(this);
    copy = buttons->addButton(tr("Copy to clipboard"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    close->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(list);
    layout->addWidget(buttons);

    // buttons -> clipboard, close
    connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

MediaInfoDialog::~MediaInfoDialog() = default;
