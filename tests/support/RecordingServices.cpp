#include "tests/support/RecordingServices.h"

namespace zolt::test {

std::vector<std::string> Recorder::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) {
        out.push_back(m.text);
    }
    return out;
}

ProgramConfig TestConfig(const std::string& baseDir) {
    ProgramConfig config;
    config.baseDir = baseDir;
    // Tests reach nothing but 127.0.0.1: a start-up update check that a test
    // did not point at its own server is refused at once (nothing listens on
    // the discard port).
    config.updateBaseUrl = "http://127.0.0.1:9/liveupdate/rssfeed_zolt/";
    return config;
}

MessageAnswer RecordingAnswer(const std::shared_ptr<Recorder>& recorder) {
    return [recorder](MessageKind kind, const std::string& text) {
        recorder->messages.push_back({kind, text});
        if (kind != MessageKind::Question || recorder->answers.empty()) {
            return true;
        }
        const bool answer = recorder->answers.front();
        recorder->answers.pop_front();
        return answer;
    };
}

Services MakeRecordingServices(const std::shared_ptr<Recorder>& recorder) {
    Services s;
    s.startDetached = [recorder](const std::string& program, const std::vector<std::string>& args) {
        recorder->processes.push_back({program, args});
        return recorder->startSucceeds;
    };
    s.openFolder = [recorder](const std::string& folder) {
        recorder->openedFolders.push_back(folder);
        return recorder->startSucceeds;
    };
    s.findProgram = [recorder](const std::string& name) {
        for (const auto& [n, path] : recorder->programs) {
            if (n == name) {
                return path;
            }
        }
        return std::string();
    };
    s.randomize = [recorder] { ++recorder->randomizeCalls; };
    s.random = [recorder](int n) {
        int v = 0;
        if (!recorder->draws.empty()) {
            v = recorder->draws.front();
            recorder->draws.pop_front();
        }
        return n > 0 ? v % n : 0;
    };
    s.tickCount = [] { return std::uint64_t{0}; };
    return s;
}

}  // namespace zolt::test
