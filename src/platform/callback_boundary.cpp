#include "platform/callback_boundary.h"

#include <exception>
#include <memory>

#include "platform/errors.h"

namespace {
TErrorReportHook gHook = nullptr;
}

void SetErrorReportHook(TErrorReportHook hook) noexcept { gHook = hook; }

void ReportCurrentError() noexcept {
  if (!gHook) return;
  try {
    gHook(CurrentErrorText());
  } catch (...) {
    // No memory for the text: nothing sensible is left to tell.
  }
}

void TPostedError::Keep() noexcept {
  try {
    delete text_.exchange(new std::wstring(CurrentErrorText()));
  } catch (...) {
    // As above: without memory for the text the error goes untold.
  }
}

void TPostedError::Report() noexcept {
  const std::unique_ptr<std::wstring> text(text_.exchange(nullptr));
  if (text && gHook) gHook(*text);
}
