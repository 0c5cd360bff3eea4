#include "jumptotimedialog.h"

#include "feedbacktext.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

std::optional<qint64> parseJumpTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(?:(?:(\\d+):)?(\\d+):)?(\\d+)$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const bool hasMinutes = !match.captured(2).isEmpty();
    const bool hasHours = !match.captured(1).isEmpty();
    const qint64 seconds = match.captured(3).toLongLong();
    const qint64 minutes = match.captured(2).toLongLong();
    const qint64 hours = match.captured(1).toLongLong();
    if (match.captured(3).size() > 9 || (hasMinutes && seconds >= 60) || (hasHours && minutes >= 60)
        || match.captured(2).size() > 6 || match.captured(1).size() > 6)
        return std::nullopt;
    return ((hours * 60 + minutes) * 60 + seconds) * 1000;
}

JumpToTimeDialog::JumpToTimeDialog(qint64 currentMs, QWidget *parent)
    : Common::ModernDialog(parent)
{
    setWindowTitle(tr("Jump to time"));
    auto *label = new QLabel(tr("Time (H:MM:SS, MM:SS or seconds):"), this);
    edit = new QLineEdit(FeedbackText::clock(currentMs), this);
    edit->selectAll();
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    playButton = buttons->button(QDialogButtonBox::Ok);
    playButton->setText(tr("Play"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);

    // text -> Play enabled only for a time
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString &text) { playButton->setEnabled(parseJumpTime(text).has_value()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

JumpToTimeDialog::~JumpToTimeDialog() = default;

qint64 JumpToTimeDialog::time() const
{
    return parseJumpTime(edit->text()).value_or(0);
}
