#pragma once

#include <QLabel>

namespace LibPlayer {

// Current time and length of the media as "current | length" ("current"
// alone while the length is unknown). Keeps its last text when the current
// time falls back to 0; reset() (playback over) empties it.
class TimeLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TimeLabel(QWidget *parent = nullptr);
    ~TimeLabel() override;

public slots:
    void reset();
    void setMaximum(qint64 ms);
    void update(qint64 ms);

protected slots:
    void set(qint64 currentSeconds, qint64 maximumSeconds);

private:
    qint64 currentSeconds = 0;
    qint64 maximumSeconds = 0;
};

} // namespace LibPlayer
