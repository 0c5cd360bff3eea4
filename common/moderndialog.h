#pragma once

#include <QDialog>

namespace Common {

// Base of the application's own input dialogs: frameless, white, with a
// one-pixel black border and flat buttons.
class ModernDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ModernDialog(QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    // The dialog style sheet, also given to other dialogs of the same look.
    static QString dialogStyleSheet();
};

} // namespace Common
