// Date and time pickers: SysDateTimePick32, with the drop-down calendar for
// dates and up-down arrows for times. Values are TDateTime: days since
// 30 December 1899, the fraction the time of day.
#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/date_time_win32.h"

namespace win32 {
namespace {

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
      if (change.dwFlags == GDT_VALID) p_.UserPicked(Part(TimeValueOf(change.st)));
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
    const double shown = p_.Kind() == TDateTimePicker::TKind::Time ? 36526.0 + value : value;
    if (const auto st = SystemTimeOf(shown); st && st->wYear >= 1601) return *st;
    // The control shows no year before 1601: the time of day on day 0.
    const auto t = DecodeTime(shown);
    return *SystemTimeOf(t ? EncodeTime(t->Hour, t->Minute, t->Second, t->Millisecond) : 0.0);
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
