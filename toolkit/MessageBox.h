#pragma once

#include <string>
#include <utility>

#include "util/MessageKind.h"
#include "util/Result.h"

class QWidget;

namespace zolt {

// The skinned message box: a warning with OK, an information with OK, or an
// information question with OK and Cancel. True for OK.
bool ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text);

// msgMain: the message box of a window, which its pages and the windows it
// opens share. It shows the skinned box over the active window (the news
// window over the main window), else over `owner`, unless `answer` is set,
// as tests set it, to answer in its place.
class MessageBox {
  public:
    explicit MessageBox(QWidget* owner, MessageAnswer answer = {})
        : owner_(owner), answer_(std::move(answer)) {}

    bool Show(MessageKind kind, const std::string& text) const;
    // The warning of a failed `result`, unless it is quiet.
    template <class T>
    void ShowFailure(const Result<T>& result) const {
        if (!result.ok() && !result.quiet()) {
            Show(MessageKind::Warning, result.error());
        }
    }
    // What Show does, to hand on (the error reporter, the update check).
    MessageAnswer Answer() const {
        return [this](MessageKind kind, const std::string& text) { return Show(kind, text); };
    }

  private:
    QWidget* owner_;
    MessageAnswer answer_;
};

}  // namespace zolt
