#pragma once
// The outcome of every read and write in the core. A failure carries the
// message the user is shown: it names the file and, for a reader, the byte
// offset where the file stopped making sense. Both types are [[nodiscard]],
// so a write whose failure nobody looks at does not compile silently.

#include <cassert>
#include <optional>
#include <string>
#include <utility>

namespace kestrel {

class [[nodiscard]] Status {
public:
    Status() = default; // success
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    // Empty on success.
    const std::string& message() const { return message_; }

private:
    explicit Status(std::string message) : message_(std::move(message)), failed_(true) {}

    std::string message_;
    bool failed_ = false;
};

// A value, or the failure that kept it from being made.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : status_(std::move(failure)) { assert(!status_.ok()); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return status_.message(); }
    // The failure without the value, to hand on to a caller of another type.
    const Status& status() const { return status_; }

    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

private:
    std::optional<T> value_;
    Status status_;
};

} // namespace kestrel
