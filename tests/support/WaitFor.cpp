#include "tests/support/WaitFor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <cstdlib>

namespace zolt::test {

namespace {

int TimeScale() {
    static const int scale = [] {
        const char* text = std::getenv("ZOLT_TEST_TIME_SCALE");
        const int value = text != nullptr ? std::atoi(text) : 1;
        return value > 0 ? value : 1;
    }();
    return scale;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(static_cast<qint64>(timeoutMs) * TimeScale());
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::yieldCurrentThread();
    }
    return true;
}

}  // namespace zolt::test
