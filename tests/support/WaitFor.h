#pragma once

#include <functional>

namespace zolt::test {

// Runs the event loop until `condition` holds or `timeoutMs` has passed.
// Returns whether the condition held. Never a fixed sleep: it returns as
// soon as the condition is true.
//
// The deadline is multiplied by ZOLT_TEST_TIME_SCALE (default 1), for runs
// under tools that slow everything down, such as valgrind.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 10000);

}  // namespace zolt::test
