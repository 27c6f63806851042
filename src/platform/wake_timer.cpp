#include "platform/wake_timer.h"

#include "platform/callback_boundary.h"

void TWakeTimer::Raise(const std::function<void()>& handler) {
  // Like every event's handler: an error ends it and goes to the report.
  if (handler) Guarded(handler);
}
