#pragma once
// What every file operation gives back: its value, or why it failed. One type for all of them,
// so that no caller has to remember whether false, an empty pointer or a set error code is the
// failure.

#include <cassert>
#include <optional>
#include <system_error>
#include <type_traits>
#include <utility>

namespace trevo {

// Failures of this system's own, beside the system's error numbers.
enum class FileErrc {
    IsLink = 1,        // the name is a symbolic link (or a reparse point), which is never followed
    ReadOnly,          // the file is read-only and is never written
    HeldByAnotherRun,  // another run of this system holds the lock (see RecordFile)
    NameMoved,         // the name no longer stands for the file that was opened
    NotRegularFile,    // a directory, device or other non-file where a file was asked for
    Exists,            // a new name was asked for and the name exists
};

const std::error_category& FileErrorCategory();

inline std::error_code make_error_code(FileErrc error) {
    return {static_cast<int>(error), FileErrorCategory()};
}

}  // namespace trevo

template <>
struct std::is_error_code_enum<trevo::FileErrc> : std::true_type {};

namespace trevo {

// The value of an operation that worked, or the error of one that failed; never both.
template <class T>
class [[nodiscard]] FileResult {
  public:
    FileResult(T value) : value_(std::move(value)) {}
    FileResult(std::error_code error) : error_(error) { assert(error); }
    FileResult(FileErrc error) : error_(make_error_code(error)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    std::error_code error() const { return error_; }

    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }
    T&& operator*() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }

  private:
    std::optional<T> value_;
    std::error_code error_;
};

// An operation without a value: done, or the error.
template <>
class [[nodiscard]] FileResult<void> {
  public:
    FileResult() = default;
    FileResult(std::error_code error) : error_(error) { assert(error); }
    FileResult(FileErrc error) : error_(make_error_code(error)) {}

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    std::error_code error() const { return error_; }

  private:
    std::error_code error_;
};

using FileDone = FileResult<void>;

}  // namespace trevo
