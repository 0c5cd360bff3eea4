#include "inputurldialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

InputUrlDialog::InputUrlDialog(QString *url, QWidget *parent, Qt::WindowFlags flags)
    : Common::ModernDialog(parent, flags)
    , url(url)
{
    setWindowTitle(tr("Open network media"));
    setMinimumWidth(480);

    auto *group = new QGroupBox(tr("Enter network URL:"), this);
    auto *groupLayout = new QVBoxLayout(group);
    urlEdit = new QLineEdit(group);
    groupLayout->addWidget(urlEdit);
    auto *hint = new QLabel(tr("http://media.example.org/movies/movie.mp4<br>"
                               "http://media.example.org/music/song.mp3<br>"
                               "mms://media.example.org/streams/stream.asx<br>"
                               "rtp://@:1234<br>"
                               "rtsp://media.example.org:8080/live/session.sdp<br>"),
                            group);
    // Quieter than the entry, still readable: 6:1 against the white dialog.
    hint->setStyleSheet(QStringLiteral(" * QLabel { color : rgba(96,96,96,255); font-size : 12px } "));
    groupLayout->addWidget(hint);

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->button(QDialogButtonBox::Ok)->setText(tr("Play"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttonBox);

    connect(buttonBox, &QDialogButtonBox::clicked, this, &InputUrlDialog::click);
}

InputUrlDialog::~InputUrlDialog() = default;

void InputUrlDialog::click(QAbstractButton *button)
{
    if (button == buttonBox->button(QDialogButtonBox::Ok))
        *url = urlEdit->text();
    else
        urlEdit->clear();
    accept();
}
