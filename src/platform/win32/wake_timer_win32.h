// The wake timer over a Windows waitable timer. A small thread waits on it
// and posts a message to a hidden window of ours on the user-interface
// thread, so the alarm rings inside any modal loop too. The same window, a
// top-level one since broadcasts skip message-only windows, hears
// WM_POWERBROADCAST, WM_TIMECHANGE and WM_SETTINGCHANGE, and is the one
// registered for the session's lock and unlock (WM_WTSSESSION_CHANGE).
#pragma once

#include <windows.h>

#include "platform/callback_boundary.h"
#include "platform/wake_timer.h"
#include "platform/win32/handles.h"

class TWin32WakeTimer : public TWakeTimer {
 public:
  TWin32WakeTimer();
  ~TWin32WakeTimer() override;
  TWin32WakeTimer(const TWin32WakeTimer&) = delete;
  TWin32WakeTimer& operator=(const TWin32WakeTimer&) = delete;

  void SetAt(std::int64_t utcMs) override;
  void SetWakeAt(std::optional<std::int64_t> utcMs) override;
  // Whether Windows gave a high-resolution timer.
  bool HighResolution() const { return highResolution_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  void Wait();

  // Owned, so that a constructor that gives up frees what it made.
  win32::TUniqueWindow window_;
  win32::TUniqueHandle timer_;
  win32::TUniqueHandle wakeTimer_;
  win32::TUniqueHandle stop_;
  bool highResolution_ = false;
  // Windows agreed to tell the window of the session's lock and unlock.
  bool sessionNotices_ = false;
  // A plain Windows thread: std::thread would bring the posix thread
  // library into the program, some 20 KB, for one waiting thread.
  win32::TUniqueHandle waiter_;
  static DWORD WINAPI WaiterMain(void* self) noexcept;
  // An error that ended the waiting thread, for the window thread to tell.
  TPostedError waiterError_;
};
