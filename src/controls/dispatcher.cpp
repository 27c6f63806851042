#include "controls/dispatcher.h"

#include "controls/message_boxes.h"
#include "platform/callback_boundary.h"

namespace {
TMessageBoxes* gReport = nullptr;
}

void SetErrorReport(TMessageBoxes* boxes) {
  gReport = boxes;
  SetErrorReportHook(boxes ? &ReportError : nullptr);
}
TMessageBoxes* ErrorReport() { return gReport; }

void ReportError(const std::wstring& text) noexcept {
  if (!gReport) return;
  try {
    gReport->ShowErrorReport(text);
  } catch (...) {
    // Nothing sensible is left to do when the report itself fails.
  }
}

bool DispatchEvent(const std::function<void()>& handler) noexcept {
  if (!handler) return true;
  return Guarded(handler);
}
