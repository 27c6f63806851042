// The kinds of error a fault throws in the boundary tests, and the text the
// error report shows for each.
#pragma once

#include <stdexcept>

#include "platform/errors.h"

struct TThrown {
  const char* name;
  void (*raise)();
  const wchar_t* text;
};

// Thrown by code that does not derive its errors from std::exception.
struct TNotAnException {};

inline const TThrown kThrownErrors[] = {
    {"std::runtime_error", [] { throw std::runtime_error("road blocked"); }, L"road blocked"},
    {"EAppError", [] { throw EAppError(L"Файл будильников занят"); }, L"Файл будильников занят"},
    {"EInOutError", [] { throw EInOutError(kErrDiskFull); }, L"Disk full"},
    {"not a std::exception", [] { throw TNotAnException{}; }, L"Unknown error"},
};
