#pragma once

#include <QWidget>

class QSlider;
class QToolButton;

namespace LibPlayer {

// Speaker button with a short volume slider (0 to 150) beside it, shown only
// while the pointer is over the widget. The button mutes and restores the
// volume; the speaker image shows the level (off at 0, "less" below half the
// range, full from half on). valueChanged() carries every change, including
// the ones made by setValue() from outside.
class VolumeControl : public QWidget
{
    Q_OBJECT

public:
    VolumeControl(const QString &fullImage, const QString &fullHoverImage,
                  const QString &lessImage, const QString &lessHoverImage,
                  const QString &offImage, const QString &offHoverImage,
                  QWidget *parent = nullptr);
    ~VolumeControl() override;

    int value() const;

signals:
    void valueChanged(int value);

public slots:
    void setRange(int min, int max);
    // Emits valueChanged(v) twice for a new value (once through the slider,
    // once from this call) and once for the current value.
    void setValue(int v);
    // What the speaker button does: to 0, or back to the level before.
    void toggleMute();

protected slots:
    void releaseButton();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QToolButton *button = nullptr;
    QSlider *slider = nullptr;
    int lastValue = 100;
    QString fullImage;
    QString fullHoverImage;
    QString lessImage;
    QString lessHoverImage;
    QString offImage;
    QString offHoverImage;
};

} // namespace LibPlayer
