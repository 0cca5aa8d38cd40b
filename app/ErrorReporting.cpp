#include "app/ErrorReporting.h"

#include "toolkit/GuardedApplication.h"

namespace zolt {

void InstallErrorReporter(MessageAnswer show) {
    GuardedApplication::SetErrorReporter([show = std::move(show)](const std::string& message) {
        if (show) {
            show(MessageKind::Warning, message);
        }
    });
}

}  // namespace zolt
