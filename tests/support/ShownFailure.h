#pragma once

#include <string>

#include "util/Result.h"

namespace zolt::test {

// What a window shows of a failed Result: its message, or "" for a quiet
// one; "ok" when it did not fail at all, so that a table row cannot pass by
// succeeding.
template <class T>
std::string ShownFailure(const Result<T>& result) {
    if (result.ok()) {
        return "ok";
    }
    return result.quiet() ? "" : result.error();
}

}  // namespace zolt::test
