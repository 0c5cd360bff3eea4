#pragma once
// Answers the modal dialogs a test provokes, polling every 20 ms, so that none
// is left to block: message boxes are recorded and closed, file and text
// dialogs get the next queued answer (an empty one cancels). A test's own
// function sees every modal widget first and returns whether it answered it.

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <QtTest>

#include <functional>

namespace TarnTest {

class ModalAnswerer
{
public:
    explicit ModalAnswerer(std::function<bool(QWidget *)> custom = {})
        : custom(std::move(custom))
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] { answer(); });
        timer.start();
    }

    QStringList boxes; // texts of the message boxes closed, in order
    // Closes message boxes (the box's first button when it has no such button).
    QMessageBox::StandardButton boxButton = QMessageBox::Ok;
    QStringList fileAnswers; // next answers of file dialogs
    QStringList textAnswers; // next answers of text dialogs
    QStringList fileDialogs; // titles of the file dialogs answered
    QVector<QPointer<QWidget>> seen; // every modal widget that appeared

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (!seen.contains(modal))
            seen.append(modal);
        if (custom && custom(modal))
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxes << box->text();
            QAbstractButton *button = box->button(boxButton);
            if (!button && !box->buttons().isEmpty())
                button = box->buttons().first();
            button ? button->click() : box->done(0);
        } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            fileDialogs << dialog->windowTitle();
            const QString file = fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
            if (file.isEmpty()) {
                dialog->reject();
            } else {
                // Accepted without the dialog's own checks (existing file,
                // overwrite question): the test decides. A folder is chosen
                // by going into it: selecting it races with the dialog's
                // listing of its parent.
                const QFileDialog::FileMode mode = dialog->fileMode();
                if (mode == QFileDialog::Directory || dialog->testOption(QFileDialog::ShowDirsOnly)) {
                    dialog->setDirectory(file);
                    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                        name->clear();
                } else if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
                    // Typed in full: selecting a file of a folder that does
                    // not exist would fall back to the current folder.
                    name->setText(file);
                } else {
                    dialog->selectFile(file);
                }
                static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
            }
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            auto *edit = dialog->findChild<QLineEdit *>();
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            if (!edit || !buttons)
                return;
            const QString text = textAnswers.isEmpty() ? QString() : textAnswers.takeFirst();
            edit->setText(text);
            buttons->button(text.isEmpty() ? QDialogButtonBox::Cancel : QDialogButtonBox::Ok)->click();
        }
    }

    std::function<bool(QWidget *)> custom;
    QTimer timer;
};

} // namespace TarnTest
