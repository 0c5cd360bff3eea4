#pragma once

#include "mediainfo.h"
#include "moderndialog.h"

class QPushButton;
class QTreeWidget;

// "Media information": the sections of a MediaInfo as a two-column list
// (label, value), with "Copy to clipboard" (the same as plain text) and
// "Close". Only shows what it is given; the engine gathers it.
class MediaInfoDialog : public Common::ModernDialog
{
    Q_OBJECT

public:
    explicit MediaInfoDialog(const LibPlayer::MediaInfo &info, QWidget *parent = nullptr);
    ~MediaInfoDialog() override;

    QPushButton *copyButton() const { return copy; }

private:
    QString text;
    QTreeWidget *list = nullptr;
    QPushButton *copy = nullptr;
};
