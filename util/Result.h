#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace zolt {

// Why something failed, in words for whoever reads the log or the tool's
// output. `return Fail("...");` turns it into any Result.
struct Failure {
    std::string message;
};

inline Failure Fail(std::string message) {
    return Failure{std::move(message)};
}

// What a fallible function gives back: its value, or the reason it failed.
// Constructed from a T (success) or from Fail(...) (failure).
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)) {}

    bool ok() const { return value_.has_value(); }
    // Only when ok().
    const T& value() const& { return (assert(ok()), *value_); }
    T&& value() && { return (assert(ok()), std::move(*value_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    // Empty when ok().
    const std::string& error() const { return error_; }

  private:
    std::optional<T> value_;
    std::string error_;
};

// Success without a value, or the reason it failed.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure) : failed_(true), error_(std::move(failure.message)) {}

    bool ok() const { return !failed_; }
    // Empty when ok().
    const std::string& error() const { return error_; }

  private:
    bool failed_ = false;
    std::string error_;
};

using Status = Result<void>;

}  // namespace zolt
