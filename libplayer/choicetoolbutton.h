#pragma once

#include <QMap>
#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Base of the audio and title buttons: a menu of named choices keyed by the
// engine's ids, one of which is current. The current id survives reset() and
// is cleared with clearCurrent() at the end of playback. GUI thread only.
class ChoiceToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    ~ChoiceToolButton() override;

    // Fewer than two choices known: nothing to choose.
    bool hasNoChoice() const;

public slots:
    void clearCurrent();
    void reset();

protected:
    // Which entry is checked while no id is current.
    enum class WithoutCurrent { NoneChecked, FirstChecked };

    ChoiceToolButton(const QString &normalImage, const QString &hoverImage, WithoutCurrent withoutCurrent,
                     QWidget *parent);

    // Adds an entry, checked when its id is the current one.
    void addChoice(int id, const QString &name);
    // Makes id current and checks its entry, if listed.
    void setCurrentId(int id);
    // The user chose id (already current); the subclass reports it.
    virtual void chosen(int id) = 0;

protected slots:
    void trigger(QAction *action) override;

private:
    const WithoutCurrent withoutCurrent;
    int current = -1;
    QMap<int, QString> choices;
};

} // namespace LibPlayer
