#pragma once

#include <string>

#include "util/Services.h"

class QWidget;

namespace zolt {

// The skinned message box (msgMain): a warning with OK, an information with
// OK, or an information question with OK and Cancel. True for OK.
bool ShowMessageBox(QWidget* parent, MessageKind kind, const std::string& text);

}  // namespace zolt
