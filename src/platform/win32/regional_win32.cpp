#include "platform/win32/regional_win32.h"

#include <windows.h>

#include "engine/time_value.h"

namespace {

bool ToSystemTime(TDateTime local, SYSTEMTIME& st) {
  const auto d = DecodeDate(local);
  const auto t = DecodeTime(local);
  if (!d || !t) return false;
  st = {};
  st.wYear = d->Year;
  st.wMonth = d->Month;
  st.wDay = d->Day;
  st.wDayOfWeek = static_cast<WORD>(d->Weekday % 7);  // Sunday is 0 here
  st.wHour = t->Hour;
  st.wMinute = t->Minute;
  st.wSecond = t->Second;
  st.wMilliseconds = t->Millisecond;
  return true;
}

}  // namespace

std::wstring TWin32RegionalFormats::LongTime(TDateTime local) {
  SYSTEMTIME st;
  if (!ToSystemTime(local, st)) return std::wstring();
  wchar_t buf[96];
  const int n = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buf, 96);
  return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}

std::wstring TWin32RegionalFormats::ShortDate(TDateTime local) {
  SYSTEMTIME st;
  if (!ToSystemTime(local, st)) return std::wstring();
  wchar_t buf[96];
  const int n =
      GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, 96, nullptr);
  return n > 0 ? std::wstring(buf, n - 1) : std::wstring();
}
