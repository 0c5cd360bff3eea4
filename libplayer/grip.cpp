#include "grip.h"

#include <QIcon>

namespace LibPlayer {

Grip::Grip(const QString &imagePath, const QSize &size, QWidget *parent, Qt::WindowFlags flags)
    : QLabel(parent, flags)
{
    setPixmap(QIcon(imagePath).pixmap(size, QIcon::Normal, QIcon::Off));
    setAttribute(Qt::WA_MouseTracking);
}

Grip::~Grip() = default;

} // namespace LibPlayer
