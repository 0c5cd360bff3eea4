#pragma once

#include <QLabel>

namespace Common {

// A one-line plain-text label that gives up width instead of claiming it: it
// asks for no minimum width, and a text longer than the room it is given is
// drawn shortened with an ellipsis at its end. text() stays the whole text.
// Suited to a title that shares a bar with buttons which must stay in view.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(const QString &text, QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;
    // The text as drawn at the label's current width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace Common
