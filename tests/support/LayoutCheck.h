#pragma once

#include <string>
#include <vector>

class QWidget;

namespace zolt::test {

// What is wrong with the placed controls under `root` (shown and laid out):
// a caption larger than its control (buttons, check boxes and labels, as the
// style and the skin size them), a control reaching outside its parent, two
// sibling controls on top of each other. Only controls with a name of their
// own count, not the parts Qt makes inside its widgets. One line a fault.
std::vector<std::string> LayoutFaults(const QWidget& root);

}  // namespace zolt::test
