#pragma once

#include <QToolButton>

namespace LibPlayer {

// Flat image button of the bottom bar (the full-screen button). Emits
// fired() when released.
class ToolButton : public QToolButton
{
    Q_OBJECT

public:
    ToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent = nullptr);
    ~ToolButton() override;

signals:
    void fired();

protected slots:
    void handleReleased();
};

} // namespace LibPlayer
