#pragma once

// Timing a window as the user meets it: from a click to the first paint of a widget,
// and the longest time the interface thread went without running its event loop.

#include "platform/Form.h"
#include "platform/TrayIcon.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

// Ends every window and the tray icon, so that none outlives the folders of a run.
inline void EndWindows()
{
    for (Form* form : Forms::Loaded())
        delete form;
    TrayIcon::ResetForTests();
}

// Calls a function at every paint of the widgets that it filters the events of.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void()> painted) : painted_(std::move(painted)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted_();
        return false;
    }

private:
    std::function<void()> painted_;
};

// Delivers events until the widget has been painted once; false after 10 s.
inline bool PumpUntilPainted(QWidget* widget)
{
    bool painted = false;
    PaintWatch watch([&painted] { painted = true; });
    widget->installEventFilter(&watch);
    QElapsedTimer clock;
    clock.start();
    while (!painted && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    widget->removeEventFilter(&watch);
    return painted;
}

// The longest gap between two turns of the event loop while work runs: a zero timer
// ticks at every turn. Run(work, done) starts the work (when there is one) and turns
// the loop until done.
class LoopGaps {
public:
    // Milliseconds of the longest gap, and of the whole run.
    struct Result {
        double longest = 0;
        double total = 0;
    };

    static Result Run(const std::function<void()>& work, const std::function<bool()>& done)
    {
        Result result;
        QElapsedTimer clock;
        qint64 last = 0;
        QTimer tick;
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            result.longest = std::max(result.longest, (now - last) / 1e6);
            last = now;
        });
        clock.start();
        tick.start();
        // The work starts from the loop, as a click would start it.
        if (work)
            QTimer::singleShot(0, work);
        while (!done() && clock.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        const qint64 now = clock.nsecsElapsed();
        result.longest = std::max(result.longest, (now - last) / 1e6);
        result.total = now / 1e6;
        return result;
    }
};
