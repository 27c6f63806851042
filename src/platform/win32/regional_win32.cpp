#include "platform/win32/regional_win32.h"

#include <windows.h>

#include "platform/win32/date_time_win32.h"

std::wstring TWin32RegionalFormats::LongTime(TDateTime local) {
  const auto st = SystemTimeOf(local);
  if (!st) return std::wstring();
  wchar_t buf[96];
  const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &*st, nullptr, buf, 96);
  return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

std::wstring TWin32RegionalFormats::ShortDate(TDateTime local) {
  const auto st = SystemTimeOf(local);
  if (!st) return std::wstring();
  wchar_t buf[96];
  const int n =
      GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &*st, nullptr, buf, 96, nullptr);
  return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}
