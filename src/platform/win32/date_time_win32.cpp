#include "platform/win32/date_time_win32.h"

TDateTime TimeValueOf(const SYSTEMTIME& t) {
  return EncodeDate(t.wYear, t.wMonth, t.wDay) +
         EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

std::optional<SYSTEMTIME> SystemTimeOf(TDateTime value) {
  const auto d = DecodeDate(value);
  const auto t = DecodeTime(value);
  if (!d || !t) return std::nullopt;
  SYSTEMTIME st{};
  st.wYear = d->Year;
  st.wMonth = d->Month;
  st.wDay = d->Day;
  st.wDayOfWeek = static_cast<WORD>(d->Weekday % 7);  // Sunday is 0 here
  st.wHour = t->Hour;
  st.wMinute = t->Minute;
  st.wSecond = t->Second;
  st.wMilliseconds = t->Millisecond;
  return st;
}

std::int64_t UtcMsOf(const FILETIME& ft) {
  const auto ticks = static_cast<std::int64_t>(
      (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  return (ticks - kFileTimeOf1970) / kFileTimePerMs;
}

FILETIME FileTimeOfUtcMs(std::int64_t utcMs) {
  // Unsigned, so that no instant, however damaged, overflows.
  const std::uint64_t ticks = static_cast<std::uint64_t>(utcMs) * kFileTimePerMs + kFileTimeOf1970;
  return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}
