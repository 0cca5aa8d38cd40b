#include "app/ErrorReporting.h"

#include "toolkit/GuardedApplication.h"

namespace zolt {

void InstallErrorReporter(const Services& services) {
    GuardedApplication::SetErrorReporter([show = services.showMessage](const std::string& message) {
        if (show) {
            show(MessageKind::Warning, message);
        }
    });
}

}  // namespace zolt
