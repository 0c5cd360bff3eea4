#pragma once

#include "moderndialog.h"

#include <optional>

class QLineEdit;
class QPushButton;

// Milliseconds of a time typed as "H:MM:SS", "MM:SS" or whole seconds
// (surrounding spaces allowed; minutes and seconds after a colon below 60);
// nothing for any other text.
std::optional<qint64> parseJumpTime(const QString &text);

// Asks for a time to jump to, prefilled with the current one. Play is
// enabled only while the text reads as a time.
class JumpToTimeDialog : public Common::ModernDialog
{
    Q_OBJECT

public:
    JumpToTimeDialog(qint64 currentMs, QWidget *parent = nullptr);
    ~JumpToTimeDialog() override;

    // The time asked for, valid once the dialog was accepted.
    qint64 time() const;

private:
    QLineEdit *edit = nullptr;
    QPushButton *playButton = nullptr;
};
