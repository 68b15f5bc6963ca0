#pragma once

#include <stdexcept>
#include <string>

namespace core {

// Run-time errors of the program. Every file command runs under one handler that catches
// RuntimeError, tidies up and returns; the numbers follow the classic run-time error codes so
// that a message (where one is shown) names the same failure a user of earlier versions knows.
class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int number, const std::string& what) : std::runtime_error(what), number_(number) {}
    int number() const noexcept { return number_; }

  private:
    int number_;
};

enum ErrorNumber : int {
    kOverflow = 6,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kBadFileName = 52,
    kFileNotFound = 53,
    kPastEndOfFile = 62,
    kPermissionDenied = 70,
    kNotARegularFile = 75,  // a pipe, a device or a socket
    kPathNotFound = 76,
    kFileTooLarge = 31001,
    kCancelled = 32755,
};

struct OverflowError : RuntimeError {
    explicit OverflowError(const std::string& what = "Overflow") : RuntimeError(kOverflow, what) {}
};
struct SubscriptError : RuntimeError {
    explicit SubscriptError(const std::string& what = "Subscript out of range")
        : RuntimeError(kSubscriptOutOfRange, what) {}
};
struct TypeMismatchError : RuntimeError {
    explicit TypeMismatchError(const std::string& what = "Type mismatch")
        : RuntimeError(kTypeMismatch, what) {}
};
struct EndOfFileError : RuntimeError {
    EndOfFileError() : RuntimeError(kPastEndOfFile, "Input past end of file") {}
};
struct FileError : RuntimeError {
    FileError(int number, const std::string& what) : RuntimeError(number, what) {}
};
// A file or colour dialog that the user cancelled. File commands treat it like any other error.
struct CancelledError : RuntimeError {
    CancelledError() : RuntimeError(kCancelled, "Cancel was selected") {}
};

}  // namespace core
