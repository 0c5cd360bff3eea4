#pragma once

#include "modernwindow.h"

#include <QString>

class QAction;

// The program's only main window, on the frameless frame: its menus and
// actions, the settings it keeps, and the single-instance hand-over.
//
// Settings: "Input/last disc" and "Input/last file" (read at construction,
// written by fileQuit), "Input/video instance" (check mark of the new-window
// option).
class PlayerWindow : public Common::ModernWindow
{
    Q_OBJECT

public:
    explicit PlayerWindow(const QString &startFile, bool hideDebug, QWidget *parent = nullptr,
                          Qt::WindowFlags flags = Qt::WindowFlags());
    ~PlayerWindow() override;

signals:
    // The window wants to come to the front (after a handed-over file opened).
    void needToShow();

public slots:
    // A text from another instance: opened as a file (an empty text asks the
    // user for one), then needToShow.
    void handleMessage(const QString &message);

protected slots:
    void fileQuit() override;
    void openFile(QString f = QString());
    void start();

    // Help, update check, new-window option and the fatal engine messages
    // (app/help/playerhelp.h does the work).
    void appUpdateReceived() override;
    void helpAbout() override;
    void helpFaq();
    void helpMmplug();
    void helpPlayer();
    void helpReport();
    void helpUpdate() override;
    void helpMirelva();
    void optionsVideoInstance();
    // Each shows a critical box, then ends the event loop with exit code 1.
    void playerFailedToLoad();
    void playerVersionTooOld();

protected:
    Common::UpdateHelper *createUpdateHelper(bool atStart) override;
    QString updateLinks() override;

    QString lastDisc;
    QString lastFile;
    QString startFile;

    QAction *addSubtitleAction = nullptr;
    QAction *faqAction = nullptr;
    QAction *pluginAction = nullptr;
    QAction *playerOnlineAction = nullptr;
    QAction *mirelvaOnlineAction = nullptr;
    QAction *openDiscAction = nullptr;
    QAction *openFileAction = nullptr;
    QAction *openUrlAction = nullptr;
    QAction *associationsAction = nullptr; // null where the desktop offers no chooser
    QAction *videoInstanceAction = nullptr;

private:
    void createPlayerActions();
    void placePlayerActions();
    void connectPlayerActions();
    void applyTopBarStyle();
};
