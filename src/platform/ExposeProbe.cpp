#include "ExposeProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since the harness stamped the start (CLOCK_REALTIME, nanoseconds).
double elapsedMs(qint64 started)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(qint64(now.tv_sec) * 1000000000 + now.tv_nsec - started) / 1e6;
}

class Probe : public QObject {
public:
    explicit Probe(qint64 started)
        : started_(started)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isTopLevel() && window->isExposed()) {
                std::printf("%.1f\n", elapsedMs(started_));
                std::fflush(stdout);
                _exit(0);  // nothing after the first picture is being measured
            }
        }
        return false;
    }

private:
    qint64 started_;
};

}  // namespace

void InstallExposeProbe()
{
    bool ok = false;
    const qint64 started = qEnvironmentVariable("TESSARYN_EXPOSE_PROBE").toLongLong(&ok);
    if (ok && started > 0)
        QCoreApplication::instance()->installEventFilter(new Probe(started));
}
