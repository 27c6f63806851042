#include "controls/dispatcher.h"

#include <exception>

#include "controls/message_boxes.h"
#include "platform/errors.h"
#include "platform/wake_timer.h"

namespace {
TMessageBoxes* gReport = nullptr;
}

void SetErrorReport(TMessageBoxes* boxes) {
  gReport = boxes;
  // The wake timer's events run through the dispatcher like every other.
  TWakeTimer::SetEventRunner(&DispatchEvent);
}
TMessageBoxes* ErrorReport() { return gReport; }

std::wstring ErrorText(const std::exception& e) {
  if (const auto* app = dynamic_cast<const EAppError*>(&e)) return app->Message();
  std::wstring text;
  for (const char* p = e.what(); *p; ++p) text.push_back(static_cast<unsigned char>(*p));
  return text;
}

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
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    ReportError(ErrorText(e));
  } catch (...) {
    ReportError(L"Unknown error");
  }
  return false;
}
