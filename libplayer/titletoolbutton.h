#pragma once

#include <QMap>
#include "menutoolbutton.h"

class QAction;

namespace LibPlayer {

// Menu of a disc's titles. Filled from the engine's announcements; reports
// the user's choice with titleChanged(id). The current id survives reset().
class TitleToolButton : public MenuToolButton
{
    Q_OBJECT

public:
    TitleToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~TitleToolButton() override;

    // Fewer than two titles known: nothing to choose.
    bool hasNoChoice() const;

signals:
    void titleChanged(int id);

public slots:
    void addTitle(int id, const QString &name);
    void clearCurrent();
    void reset();
    void setCurrent(int id);

protected slots:
    void trigger(QAction *action) override;

private:
    int current = -1;
    QMap<int, QString> titles;
};

} // namespace LibPlayer
