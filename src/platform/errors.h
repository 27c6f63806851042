// Errors that end the user action in which they arise. The dispatcher of
// the control library catches them and shows their text in the default
// error report.
#pragma once

#include <exception>
#include <string>

class EAppError : public std::exception {
 public:
  explicit EAppError(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }
  const char* what() const noexcept override { return "Tivorra error"; }

 private:
  std::wstring message_;
};

// A file that could not be created, written or read. The number is the
// run-time library's error number (2, 3, 4, 5, 100, 101 or the system's).
class EInOutError : public EAppError {
 public:
  explicit EInOutError(int errorCode);
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

// The text the error being handled shows in the error report: an
// EAppError's message, else what(), byte for byte, and "Unknown error" for
// what is no std::exception. Only inside a catch block.
std::wstring CurrentErrorText();

// "File not found", "Disk full", ... or "I/O error %d".
std::wstring InOutErrorText(int errorCode);

inline constexpr int kErrFileNotFound = 2;
inline constexpr int kErrPathNotFound = 3;
inline constexpr int kErrTooManyOpenFiles = 4;
inline constexpr int kErrAccessDenied = 5;
inline constexpr int kErrReadBeyondEnd = 100;
inline constexpr int kErrDiskFull = 101;
// The system's number for a name that is taken already.
inline constexpr int kErrFileExists = 80;
