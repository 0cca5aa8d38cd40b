#pragma once

#include <string>

class QPlainTextEdit;

namespace zolt {

// The code boxes hold their lines as paragraphs; the snippets and the
// clipboard end every line with CR LF.

// Replaces the whole content of `box` with the CR LF text `code`.
void ShowCode(QPlainTextEdit& box, const std::string& code);

// Copies everything `box` holds, edits included, to the clipboard with CR LF
// line ends; then no selection is left and the caret stands at the start.
void CopyCode(QPlainTextEdit& box);

}  // namespace zolt
