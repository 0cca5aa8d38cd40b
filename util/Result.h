#pragma once

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace zolt {

// Why something failed, in words for whoever reads the message box, the log
// or the tool's output. `return Fail("...");` turns it into any Result.
struct Failure {
    std::string message;
    // Nobody waits to be told: the operation was cut short on our side (the
    // program is closing), or it ended in a way whose user is shown nothing.
    // The message still says why, for the log.
    bool quiet = false;
};

inline Failure Fail(std::string message) {
    return Failure{std::move(message)};
}

inline Failure QuietFail(std::string message) {
    return Failure{std::move(message), true};
}

// What a fallible function gives back: its value, or the reason it failed.
// Constructed from a T (success) or from Fail(...) (failure).
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Failure failure) : error_(std::move(failure.message)), quiet_(failure.quiet) {}

    bool ok() const { return value_.has_value(); }
    // As std::expected: `if (!SaveFileReplacing(...))` reads as ok().
    explicit operator bool() const { return ok(); }
    // Only when ok().
    const T& value() const& { return (assert(ok()), *value_); }
    T&& value() && { return (assert(ok()), std::move(*value_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }
    // Empty when ok().
    const std::string& error() const { return error_; }
    // A failure whose user is to see nothing (Failure::quiet).
    bool quiet() const { return quiet_; }
    // The failure again, to hand on as a Result of another type.
    Failure failure() const { return Failure{error_, quiet_}; }

  private:
    std::optional<T> value_;
    std::string error_;
    bool quiet_ = false;
};

// Success without a value, or the reason it failed.
template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Failure failure)
        : failed_(true), error_(std::move(failure.message)), quiet_(failure.quiet) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Empty when ok().
    const std::string& error() const { return error_; }
    bool quiet() const { return quiet_; }
    Failure failure() const { return Failure{error_, quiet_}; }

  private:
    bool failed_ = false;
    std::string error_;
    bool quiet_ = false;
};

using Status = Result<void>;

}  // namespace zolt
