#include "platform/power.h"

std::optional<bool> WakeTimersAllowed(const TWakeTimerSettings& settings, TPowerSource source) {
  std::optional<std::uint32_t> value;
  if (source == TPowerSource::Mains) value = settings.Mains;
  if (source == TPowerSource::Battery) value = settings.Battery;
  if (!value) return std::nullopt;
  switch (*value) {
    case 0:
    case 2:
      return false;
    case 1:
      return true;
    default:
      return std::nullopt;
  }
}
