#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "util/MessageKind.h"
#include "util/ProgramConfig.h"
#include "util/Result.h"
#include "util/Services.h"

namespace zolt::test {

struct RecordedMessage {
    MessageKind kind;
    std::string text;
};

struct RecordedProcess {
    std::string program;
    std::vector<std::string> args;
};

// What the recording services saw, and the answers they give. Shared by the
// Services copies made from it.
struct Recorder {
    std::vector<RecordedMessage> messages;
    std::vector<RecordedProcess> processes;
    std::vector<std::string> openedFolders;
    // Answers for the Question boxes, in order; OK when the queue is empty.
    std::deque<bool> answers;
    // Programs that findProgram reports; name -> path. Missing names: "".
    std::vector<std::pair<std::string, std::string>> programs;
    // Scripted random draws, used in order; 0 when the script is empty.
    std::deque<int> draws;
    int randomizeCalls = 0;
    bool startSucceeds = true;

    std::vector<std::string> messageTexts() const;
};

// Services whose process start, PATH lookup and random draws are recorded
// and scripted.
Services MakeRecordingServices(const std::shared_ptr<Recorder>& recorder);

// A message box (msgMain) that records what it shows and answers the
// questions from the recorder's script.
MessageAnswer RecordingAnswer(const std::shared_ptr<Recorder>& recorder);

// The config of a program in `baseDir`, without a state folder; its update
// site is a closed port on 127.0.0.1 until the test sets its own.
ProgramConfig TestConfig(const std::string& baseDir);

// What a window shows of a Result: its message, "" when quiet, "ok" when it
// did not fail (so that no table row passes by succeeding).
template <class T>
std::string ShownFailure(const Result<T>& result) {
    return result.ok() ? "ok" : result.quiet() ? "" : result.error();
}

}  // namespace zolt::test
