#include "volumecontrol.h"

#include <QHBoxLayout>
#include <QSlider>
#include <QToolButton>

namespace LibPlayer {

VolumeControl::VolumeControl(const QString &fullImage, const QString &fullHoverImage,
                             const QString &lessImage, const QString &lessHoverImage,
                             const QString &offImage, const QString &offHoverImage,
                             QWidget *parent)
    : QWidget(parent)
    , fullImage(fullImage)
    , fullHoverImage(fullHoverImage)
    , lessImage(lessImage)
    , lessHoverImage(lessHoverImage)
    , offImage(offImage)
    , offHoverImage(offHoverImage)
{
    button = new QToolButton(this);
    slider = new QSlider(Qt::Horizontal, this);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(button, 1);
    layout->addWidget(slider, 0);

    slider->setRange(0, 150);
    setValue(lastValue);

    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);

    connect(button, &QToolButton::released, this, &VolumeControl::releaseButton);
    connect(slider, &QSlider::valueChanged, this, &VolumeControl::setValue);

    slider->setFixedWidth(70);
    slider->hide();
}

VolumeControl::~VolumeControl() = default;

int VolumeControl::value() const
{
    return slider->value();
}

void VolumeControl::setRange(int min, int max)
{
    slider->setRange(min, max);
}

void VolumeControl::setValue(int v)
{
    if (v != slider->value())
        slider->setValue(v);

    const QString *normal = &lessImage;
    const QString *hover = &lessHoverImage;
    if (v == 0) {
        normal = &offImage;
        hover = &offHoverImage;
    } else if (v >= slider->maximum() / 2) {
        normal = &fullImage;
        hover = &fullHoverImage;
    }
    const QString sheet = QStringLiteral(
        " QSlider { margin-top: 3px; margin-right: 10px; }"
        "  QSlider::groove:horizontal { border: none; \t\t\t\t\t\tbackground-color : rgba(185,31,31,255); height: 6px; }"
        "  QSlider::handle:horizontal { border: 1px solid rgba(0,0,0,255); border-radius: 2px;"
        " \t\t\t\t\t\tbackground-color : rgba(0,0,0,255); width: 6px; margin: -3px 0; }"
        "  QToolButton { image : url(%1); }  QToolButton:hover { image : url(%2); } ")
                              .arg(*normal, *hover);
    // Re-polishing on every step of a drag is wasted work within one level.
    if (sheet != styleSheet())
        setStyleSheet(sheet);

    emit valueChanged(v);
}

void VolumeControl::releaseButton()
{
    toggleMute();
}

void VolumeControl::toggleMute()
{
    if (slider->value() != 0) {
        lastValue = slider->value();
        slider->setValue(0);
    } else {
        slider->setValue(lastValue);
    }
}

void VolumeControl::enterEvent(QEvent *event)
{
    QWidget::enterEvent(event);
    slider->show();
}

void VolumeControl::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    slider->hide();
}

} // namespace LibPlayer
