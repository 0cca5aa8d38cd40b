#pragma once

// Shared by the start-up probes: reports the first expose of any top-level
// window on standard output as "shown <peak resident KiB>" and ends the event
// loop, so that startup_bench can time a start from outside the process.

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

#include <sys/resource.h>

#include <cstdio>

namespace zolt::bench {

inline long PeakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Reports the first expose of any top-level window and ends the event loop.
class FirstExpose : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!reported_ && event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed()) {
            reported_ = true;
            std::printf("shown %ld\n", PeakResidentKiB());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return false;
    }

  private:
    bool reported_ = false;
};

}  // namespace zolt::bench
