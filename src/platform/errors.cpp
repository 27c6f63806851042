#include "platform/errors.h"

#include "platform/decimal_text.h"

std::wstring CurrentErrorText() {
  try {
    throw;
  } catch (const EAppError& e) {
    return e.Message();
  } catch (const std::exception& e) {
    // The library's texts are ASCII.
    std::wstring text;
    for (const char* p = e.what(); *p; ++p) text.push_back(static_cast<unsigned char>(*p));
    return text;
  } catch (...) {
    return L"Unknown error";
  }
}

std::wstring InOutErrorText(int errorCode) {
  switch (errorCode) {
    case kErrFileNotFound: return L"File not found";
    case kErrPathNotFound: return L"Invalid filename";
    case kErrTooManyOpenFiles: return L"Too many open files";
    case kErrAccessDenied: return L"File access denied";
    case kErrReadBeyondEnd: return L"Read beyond end of file";
    case kErrDiskFull: return L"Disk full";
    default: return L"I/O error " + DecimalText(errorCode);
  }
}

EInOutError::EInOutError(int errorCode)
    : EAppError(InOutErrorText(errorCode)), errorCode_(errorCode) {}
