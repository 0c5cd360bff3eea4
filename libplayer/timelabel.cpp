#include "timelabel.h"

#include "timeformat.h"

namespace LibPlayer {

TimeLabel::TimeLabel(QWidget *parent)
    : QLabel(parent)
{
    setStyleSheet(QStringLiteral(
        " QLabel { color : rgba(255,255,255,255); background-color : rgba(130,130,130,255);"
        "                    font-family: Segoe UI Semibold, Arial; font-size : 12px; font-weight: bold;"
        "                   qproperty-alignment: AlignLeft|AlignVCenter; } "));
    set(0, 0);
}

TimeLabel::~TimeLabel() = default;

void TimeLabel::reset()
{
    currentSeconds = 0;
    maximumSeconds = 0;
    // Nothing plays any more: no time of an earlier medium stays behind.
    clear();
}

void TimeLabel::setMaximum(qint64 ms)
{
    maximumSeconds = ms / 1000;
    set(currentSeconds, maximumSeconds);
}

void TimeLabel::update(qint64 ms)
{
    currentSeconds = ms / 1000;
    set(currentSeconds, maximumSeconds);
}

void TimeLabel::set(qint64 current, qint64 maximum)
{
    if (current == 0)
        return;
    if (maximum != 0)
        setText(tr("%1 | %2").arg(formatSeconds(current), formatSeconds(maximum)));
    else
        setText(tr("%1").arg(formatSeconds(current)));
}

} // namespace LibPlayer
