#pragma once

// Driving windows that run their own modal loop (exec) from inside it.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <functional>

// The child of that object name.
template <class W = QWidget> W* Child(const QObject* in, const char* name) {
    return in->findChild<W*>(QString::fromLatin1(name));
}

// Runs `open`, which (now or on a later answer of the device) runs the window
// that `window` gives modally, and runs `inside` within that window's loop
// once it is on screen. However `inside` ends, a failed check included, the
// window is rejected afterwards if it is still open, so `open` returns.
inline void InsideModal(const std::function<QWidget*()>& window, const std::function<void()>& open,
                        const std::function<void()>& inside, int waitMs = 30000) {
    auto* poll = new QTimer(qApp);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, qApp, [=] {
        const QPointer<QWidget> w = window();
        const bool shown = w && w->isVisible();
        if (shown || waited.elapsed() > waitMs) {
            poll->stop();
            poll->deleteLater();
        }
        if (!shown)
            return;
        inside();
        if (auto* dialog = qobject_cast<QDialog*>(w.data()); dialog && dialog->isVisible())
            dialog->reject();
    });
    poll->start(10);
    open();
}

inline void InsideModal(QWidget* window, const std::function<void()>& open,
                        const std::function<void()>& inside) {
    InsideModal([window] { return window; }, open, inside);
}
