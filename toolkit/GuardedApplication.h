#pragma once

#include <QApplication>

#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace zolt {

// The application object. An exception that escapes an event handler is
// caught here and handed to the error reporter (a warning box in the
// program); the program keeps running.
class GuardedApplication : public QApplication {
    Q_OBJECT
  public:
    GuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    using ErrorReporter = std::function<void(const std::string& message)>;
    // Who is told of an escaped exception; the program sets a warning box.
    static void SetErrorReporter(ErrorReporter reporter);
    // Tells the reporter about the exception being handled (call from a catch).
    static void ReportCurrentException();
};

// Runs `handler`, reporting instead of propagating what it throws. For
// handlers connected to signals, where an exception would otherwise unwind
// through Qt's own code.
template <typename Handler>
auto Guarded(Handler handler) {
    return [handler](auto&&... args) {
        try {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>) {
                handler(std::forward<decltype(args)>(args)...);
            } else {
                handler();  // a handler that ignores the signal's arguments
            }
        } catch (...) {
            GuardedApplication::ReportCurrentException();
        }
    };
}

}  // namespace zolt
