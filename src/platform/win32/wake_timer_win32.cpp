#include "platform/win32/wake_timer_win32.h"

#include "platform/errors.h"
#include "platform/win32/date_time_win32.h"
#include "platform/win32/hidden_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/window_boundary.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

constexpr wchar_t kWindowClass[] = L"TivorraWakeTimer";
constexpr UINT kDueMessage = WM_APP + 0x51;
constexpr UINT kWakeMessage = WM_APP + 0x52;
constexpr UINT kWaiterFailedMessage = WM_APP + 0x53;
// From wtsapi32.h and winuser.h, which older headers lack.
constexpr DWORD kNotifyForThisSession = 0;
constexpr UINT kSessionChange = 0x02B1;  // WM_WTSSESSION_CHANGE
constexpr WPARAM kSessionLock = 0x7;     // WTS_SESSION_LOCK
constexpr WPARAM kSessionUnlock = 0x8;   // WTS_SESSION_UNLOCK

LARGE_INTEGER AbsoluteDueTime(std::int64_t utcMs) {
  // A positive due time is absolute: it follows any change of the clock.
  LARGE_INTEGER due;
  due.QuadPart = utcMs * kFileTimePerMs + kFileTimeOf1970;
  if (due.QuadPart <= 0) due.QuadPart = 1;
  return due;
}

}  // namespace

TWin32WakeTimer::TWin32WakeTimer() {
  // The high-resolution timer fires within a millisecond or so of its time
  // instead of at the next tick of the system's coarse clock; older systems
  // refuse the flag.
  timer_.Reset(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                      TIMER_ALL_ACCESS));
  highResolution_ = static_cast<bool>(timer_);
  if (!timer_) timer_.Reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
  // The wake timer needs no precision: it only has to get the PC up.
  wakeTimer_.Reset(CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS));
  stop_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!timer_ || !wakeTimer_ || !stop_) throw EAppError(L"cannot create the wake timer");

  window_.Reset(win32::CreateHiddenWindow(kWindowClass, WindowProc, win32::THiddenKind::TopLevel,
                                          this));
  if (!window_) throw EAppError(L"cannot create the wake timer's window");
  // Refused, or a stub that never tells (Wine): the lock goes unnoticed,
  // which costs only the note of an unheard ring after the unlock.
  sessionNotices_ =
      wtsapi32::RegisterSessionNotification(window_.Get(), kNotifyForThisSession) != FALSE;
  waiter_.Reset(CreateThread(nullptr, 0, &WaiterMain, this, 0, nullptr));
  if (!waiter_) throw EAppError(L"cannot start the wake timer's thread");
}

TWin32WakeTimer::~TWin32WakeTimer() {
  SetEvent(stop_.Get());
  WaitForSingleObject(waiter_.Get(), INFINITE);
  CancelWaitableTimer(timer_.Get());
  CancelWaitableTimer(wakeTimer_.Get());
  // A message posted before the stop is dropped with the window.
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
  if (sessionNotices_) wtsapi32::UnRegisterSessionNotification(window_.Get());
  // The members close the handles and destroy the window.
}

void TWin32WakeTimer::SetAt(std::int64_t utcMs) {
  const LARGE_INTEGER due = AbsoluteDueTime(utcMs);
  // fResume: wake the PC for it where the power settings allow wake timers.
  // Without that right Windows still sets the timer and reports
  // ERROR_NOT_SUPPORTED, which changes nothing for a PC that is awake.
  SetWaitableTimer(timer_.Get(), &due, 0, nullptr, nullptr, TRUE);
}

void TWin32WakeTimer::SetWakeAt(std::optional<std::int64_t> utcMs) {
  if (!utcMs) {
    CancelWaitableTimer(wakeTimer_.Get());
    return;
  }
  const LARGE_INTEGER due = AbsoluteDueTime(*utcMs);
  SetWaitableTimer(wakeTimer_.Get(), &due, 0, nullptr, nullptr, TRUE);
}

DWORD WINAPI TWin32WakeTimer::WaiterMain(void* self) noexcept {
  auto* timer = static_cast<TWin32WakeTimer*>(self);
  // An error is not told on this thread (see TPostedError): the window
  // thread tells it when the message arrives. The timer fires no more then.
  if (!timer->waiterError_.Guarded([timer] { timer->Wait(); })) {
    PostMessageW(timer->window_.Get(), kWaiterFailedMessage, 0, 0);
  }
  return 0;
}

void TWin32WakeTimer::Wait() {
  const HANDLE handles[] = {stop_.Get(), timer_.Get(), wakeTimer_.Get()};
  for (;;) {
    const DWORD r = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
    if (r == WAIT_OBJECT_0 + 1) {
      PostMessageW(window_.Get(), kDueMessage, 0, 0);
    } else if (r == WAIT_OBJECT_0 + 2) {
      PostMessageW(window_.Get(), kWakeMessage, 0, 0);
    } else {
      return;  // stopped, or the handles are gone
    }
  }
}

LRESULT CALLBACK TWin32WakeTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  return win32::WindowBoundary(hwnd, msg, [&]() -> LRESULT {
    auto* self = win32::HiddenWindowOwner<TWin32WakeTimer>(hwnd);
    if (self) {
      switch (msg) {
        case kDueMessage:
          self->RaiseDue();
          return 0;
        case kWakeMessage:
          self->RaiseWake();
          return 0;
        case kWaiterFailedMessage:
          self->waiterError_.Report();
          return 0;
        case WM_POWERBROADCAST:
          if (wp == PBT_APMRESUMEAUTOMATIC || wp == PBT_APMRESUMESUSPEND) self->RaiseResume();
          if (wp == PBT_APMSUSPEND) self->RaiseSuspend();
          return TRUE;
        case WM_ENDSESSION:
          if (wp) self->RaiseSessionEnd();
          return 0;
        case kSessionChange:
          if (wp == kSessionLock) self->RaiseLock();
          if (wp == kSessionUnlock) self->RaiseUnlock();
          return 0;
        case WM_TIMECHANGE:
        case WM_SETTINGCHANGE:
          self->RaiseClockChanged();
          return 0;
        default:
          break;
      }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  });
}
