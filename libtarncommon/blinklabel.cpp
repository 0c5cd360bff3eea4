#include "blinklabel.h"

namespace LibTarnCommon {

BlinkLabel::BlinkLabel(QWidget *parent)
    : QLabel(parent)
{
    m_timer.setInterval(m_interval);
    // each tick -> show or hide the text
    connect(&m_timer, &QTimer::timeout, this, &BlinkLabel::blinking);
}

void BlinkLabel::setText(const QString &text)
{
    if (text.isEmpty()) {
        clear();
        return;
    }
    m_text = text;
    QLabel::setText(text);
    if (!m_stopped)
        m_timer.start();
}

void BlinkLabel::blinking()
{
    if (m_text.isEmpty())
        return;
    if (QLabel::text().isEmpty())
        QLabel::setText(m_text);
    else
        QLabel::clear();
}

void BlinkLabel::stopBlinking()
{
    m_timer.stop();
    if (m_text.isEmpty()) {
        QLabel::clear();
        return;
    }
    QLabel::setText(m_text);
    m_stopped = true;
}

void BlinkLabel::clear()
{
    m_timer.stop();
    m_text.clear();
    QLabel::clear();
}

} // namespace LibTarnCommon
