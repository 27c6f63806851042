#include "engine/clock_sample.h"

#include "platform/date_time.h"
#include "platform/decimal_text.h"

void FillClockSample(TClockSample& sample, TDateTime local, std::uint64_t uptimeMs) {
  const auto date = DecodeDate(local);
  const auto time = DecodeTime(local);
  if (date && time) {
    sample.Year = date->Year;
    sample.Month = date->Month;
    sample.Day = date->Day;
    sample.Weekday = date->Weekday;
    sample.Hour = time->Hour;
    sample.Minute = time->Minute;
    sample.Second = time->Second;
    sample.Millisecond = time->Millisecond;
  } else {
    sample.Year = sample.Month = sample.Day = sample.Weekday = 0;
    sample.Hour = sample.Minute = sample.Second = sample.Millisecond = 0;
  }
  sample.UptimeTicks = uptimeMs;
  sample.UptimeHours = static_cast<std::uint32_t>(uptimeMs / 3600000);
  sample.UptimeMinutes = static_cast<std::uint16_t>(uptimeMs / 60000 % 60);
  sample.UptimeSeconds = static_cast<std::uint16_t>(uptimeMs / 1000 % 60);
}

namespace {
std::wstring TwoDigits(std::uint32_t n) {
  std::wstring s = DecimalText(n);
  return n < 10 ? L"0" + s : s;
}
}  // namespace

std::wstring UptimeText(const TClockSample& sample) {
  return TwoDigits(sample.UptimeHours) + L":" + TwoDigits(sample.UptimeMinutes) + L":" +
         TwoDigits(sample.UptimeSeconds);
}
