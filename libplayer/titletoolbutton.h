#pragma once

#include "choicetoolbutton.h"

namespace LibPlayer {

// Menu of a disc's titles (or, for the chapter button, of the current title's
// chapters). Filled from the engine's announcements; reports the user's
// choice with titleChanged(id). The current id survives reset().
class TitleToolButton : public ChoiceToolButton
{
    Q_OBJECT

public:
    TitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~TitleToolButton() override;

signals:
    void titleChanged(int id);

public slots:
    void addTitle(int id, const QString &name);
    void setCurrent(int id);

protected:
    void chosen(int id) override;
};

} // namespace LibPlayer
