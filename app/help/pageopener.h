#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QWidget;

// Opens a web page with the desktop's opener (xdg-open) and, when the desktop
// cannot open it, says so in a box over the window that offers to copy the
// address. The opener runs without blocking the window; it reports a missing
// or failing browser only by its exit status, so that is what counts. One
// that is still running after watchMs has handed the page to a browser (some
// keep the browser in the foreground) and is no longer watched. Without
// xdg-open, Qt's own choice of browser is used. Deletes itself when done.
// GUI thread.
class PageOpener : public QObject
{
    Q_OBJECT

public:
    static constexpr int watchMs = 15000;

    explicit PageOpener(QWidget *window);
    void open(const QUrl &url);

signals:
    void messageWarning(const QString &message);

private:
    void failed(const QString &reason);

    QPointer<QWidget> window;
    QUrl url;
};
