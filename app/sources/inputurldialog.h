#pragma once

#include "moderndialog.h"

class QAbstractButton;
class QDialogButtonBox;
class QLineEdit;

// Asks for a network location. Play stores the text exactly as typed (not
// trimmed) in *url; Cancel clears the field and leaves *url as it was.
class InputUrlDialog : public Common::ModernDialog
{
    Q_OBJECT

public:
    InputUrlDialog(QString *url, QWidget *parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    ~InputUrlDialog() override;

protected slots:
    void click(QAbstractButton *button);

private:
    QString *url;
    QDialogButtonBox *buttonBox = nullptr;
    QLineEdit *urlEdit = nullptr;
};
