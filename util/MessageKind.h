#pragma once

#include <functional>
#include <string>

namespace zolt {

// The three message boxes of the program.
enum class MessageKind {
    Warning,      // OK
    Information,  // OK
    Question,     // information with OK and Cancel
};

// Shows a message box and gives the answer: true for OK, false for Cancel.
// The windows show the skinned box; tests answer in its place.
using MessageAnswer = std::function<bool(MessageKind kind, const std::string& text)>;

}  // namespace zolt
