#include "platform/wake_timer.h"

#include "controls/dispatcher.h"

void TWakeTimer::Raise(const std::function<void()>& handler) {
  if (handler) DispatchEvent(handler);
}
