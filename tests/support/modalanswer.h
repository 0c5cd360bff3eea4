#pragma once
// Answers modal dialogs as they appear, so that no test blocks on one.

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QVector>

#include <functional>

namespace TarnTest {

class ModalAnswerer
{
public:
    // answer(dialog) closes the dialog, or returns false to look again on the
    // next tick (every 20 ms).
    explicit ModalAnswerer(std::function<bool(QWidget *)> answer)
        : m_answer(std::move(answer))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (!seen.contains(modal))
                seen.append(modal);
            m_answer(modal);
        });
        m_timer.start(20);
    }

    // Every modal widget that appeared.
    QVector<QPointer<QWidget>> seen;

private:
    std::function<bool(QWidget *)> m_answer;
    QTimer m_timer;
};

} // namespace TarnTest
