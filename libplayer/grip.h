#pragma once

#include <QLabel>

namespace LibPlayer {

// The resize grip image in the window's bottom-right corner. It only shows
// the image and tracks the mouse; the window does the resizing.
class Grip : public QLabel
{
    Q_OBJECT

public:
    Grip(const QString &imagePath, const QSize &size, QWidget *parent = nullptr,
         Qt::WindowFlags flags = Qt::WindowFlags());
    ~Grip() override;
};

} // namespace LibPlayer
