#include "toolkit/GuardedApplication.h"

#include <exception>
#include <iostream>

namespace zolt {

namespace {
GuardedApplication::ErrorReporter& Reporter() {
    static GuardedApplication::ErrorReporter reporter;
    return reporter;
}
}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

void GuardedApplication::SetErrorReporter(ErrorReporter reporter) {
    Reporter() = std::move(reporter);
}

void GuardedApplication::ReportCurrentException() {
    std::string message = "Unknown error.";
    try {
        throw;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
    }
    if (Reporter()) {
        // A second failure while reporting must not end the program either.
        try {
            Reporter()(message);
        } catch (...) {
            std::cerr << message << '\n';
        }
    } else {
        std::cerr << message << '\n';
    }
}

}  // namespace zolt
