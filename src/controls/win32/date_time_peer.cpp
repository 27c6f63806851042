// Date and time pickers: SysDateTimePick32, with the drop-down calendar for
// dates and up-down arrows for times. Values are TDateTime: days since
// 30 December 1899, the fraction the time of day.
#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

namespace win32 {
namespace {

// Days since 1 January 1970 of a civil date, and back (proleptic Gregorian).
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = static_cast<int>(y - era * 400);
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const int doe = static_cast<int>(z - era * 146097);
  const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y = static_cast<int>(yoe + era * 400) + (m <= 2);
}

constexpr long long kEpochOffset = 25569;  // 1970-01-01 as a TDateTime

SYSTEMTIME ToSystemTime(double value) {
  SYSTEMTIME st = {};
  const double days = std::floor(value);
  long long ms = std::llround((value - days) * 86400000.0);
  long long whole = static_cast<long long>(days);
  if (ms >= 86400000) {
    ms -= 86400000;
    ++whole;
  }
  int y, m, d;
  CivilFromDays(whole - kEpochOffset, y, m, d);
  // The control shows years 1601 to 30827 only.
  if (y < 1601 || y > 30827) {
    y = 1899;
    m = 12;
    d = 30;
  }
  st.wYear = static_cast<WORD>(y < 1601 ? 1601 : y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(ms / 3600000);
  st.wMinute = static_cast<WORD>(ms / 60000 % 60);
  st.wSecond = static_cast<WORD>(ms / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(ms % 1000);
  return st;
}

double FromSystemTime(const SYSTEMTIME& st) {
  const double days = static_cast<double>(DaysFromCivil(st.wYear, st.wMonth, st.wDay) + kEpochOffset);
  const double ms = ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
  return days + ms / 86400000.0;
}

class TDateTimePeer : public TWindowPeer {
 public:
  explicit TDateTimePeer(TDateTimePicker& p)
      : TWindowPeer(p, DATETIMEPICK_CLASSW,
                    (p.Kind() == TDateTimePicker::TKind::Date ? DTS_SHORTDATEFORMAT
                                                              : DTS_TIMEFORMAT) |
                        WS_TABSTOP,
                    0, L""),
        p_(p) {
    ApplyState();
  }

  bool OnNotify(NMHDR& header, LRESULT&) override {
    if (header.code == DTN_DATETIMECHANGE && !Applying()) {
      const auto& change = reinterpret_cast<NMDATETIMECHANGE&>(header);
      if (change.dwFlags == GDT_VALID) p_.UserPicked(Part(FromSystemTime(change.st)));
    }
    return true;
  }

  void Perform(const TUserAction& a) override {
    if (a.Kind != TActionKind::PickValue) {
      TWindowPeer::Perform(a);
      return;
    }
    // The value the user settled on, and the notice Windows sends for it.
    SetFocus(Hwnd());
    SYSTEMTIME st = Shown(a.Value);
    {
      TApplying applying(*this);
      SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    }
    NMDATETIMECHANGE change = {};
    change.nmhdr.hwndFrom = Hwnd();
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    SendMessageW(Hwnd(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&change.st));
    SendMessageW(GetParent(Hwnd()), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
  }

 protected:
  void ApplyState() override {
    SYSTEMTIME st = Shown(p_.Value());
    SendMessageW(Hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }

 private:
  // A time picker shows its time on an arbitrary day, a date picker its
  // date at midnight.
  SYSTEMTIME Shown(double value) const {
    return ToSystemTime(p_.Kind() == TDateTimePicker::TKind::Time ? 36526.0 + value : value);
  }
  double Part(double value) const {
    const double days = std::floor(value);
    return p_.Kind() == TDateTimePicker::TKind::Date ? days : value - days;
  }

  TDateTimePicker& p_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeDateTimePeer(TDateTimePicker& c) {
  return std::make_unique<TDateTimePeer>(c);
}

}  // namespace win32
