#pragma once

#include <QObject>
#include <QString>

namespace LibPlayer {
class Core;
class TimeSlider;
class TitleToolButton;
} // namespace LibPlayer

// The chapters of the current medium: after each parse the chapter button's
// menu gets one entry per chapter (the button shows only with two or more)
// and the time slider a tick at each start. Choosing an entry, next() and
// previous() move to a chapter's start and tell it as a feedback line
// ("Chapter 3: Ending"). GUI thread only.
class ChapterControl : public QObject
{
    Q_OBJECT

public:
    ChapterControl(LibPlayer::Core *core, LibPlayer::TitleToolButton *button, LibPlayer::TimeSlider *slider,
                   QObject *parent);
    ~ChapterControl() override;

public slots:
    // Reads the chapters anew (after a parse).
    void refresh();
    void choose(int index);
    void next();
    void previous();

signals:
    void feedback(const QString &line);

private:
    void step(int delta);

    LibPlayer::Core *core;
    LibPlayer::TitleToolButton *button;
    LibPlayer::TimeSlider *slider;
};
