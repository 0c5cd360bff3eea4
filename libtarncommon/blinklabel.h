#pragma once

#include <QLabel>
#include <QTimer>

namespace LibTarnCommon {

// A label whose text blinks, 500 ms shown and 500 ms hidden, until
// stopBlinking() makes it steady. Every new text starts a fresh phase.
class BlinkLabel : public QLabel
{
    Q_OBJECT

public:
    explicit BlinkLabel(QWidget *parent = nullptr);

    bool isBlinking() const { return m_timer.isActive(); }

public slots:
    void clear();
    // An empty text stops the blinking and clears the label.
    void setText(const QString &text);
    // Shows the stored text steadily; later texts do not blink either.
    void stopBlinking();

protected slots:
    void blinking();

private:
    bool m_stopped = false;
    int m_interval = 500;
    QString m_text;
    QTimer m_timer;
};

} // namespace LibTarnCommon
