#include "platform/wake_timer.h"

namespace {

TWakeTimer::TEventRunner gRunner = nullptr;

}  // namespace

void TWakeTimer::SetEventRunner(TEventRunner runner) { gRunner = runner; }

void TWakeTimer::Raise(const std::function<void()>& handler) {
  if (!handler) return;
  if (gRunner) {
    gRunner(handler);
    return;
  }
  try {
    handler();
  } catch (...) {
    // No window layer to report it: no error may cross a window procedure.
  }
}
