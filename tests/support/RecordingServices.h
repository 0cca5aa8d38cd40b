#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

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

// Services whose message box, process start, PATH lookup and random draws
// are recorded and scripted; baseDir is `baseDir`. The update site is a
// closed port on 127.0.0.1 until the test sets its own.
Services MakeRecordingServices(const std::shared_ptr<Recorder>& recorder,
                               const std::string& baseDir);

}  // namespace zolt::test
