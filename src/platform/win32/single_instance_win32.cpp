#include "platform/win32/single_instance_win32.h"

#include <windows.h>

#include "platform/instance_name.h"
#include "platform/win32/hidden_window.h"
#include "platform/win32/window_boundary.h"

namespace {

// Sent by a later start to the first copy's window.
constexpr UINT kComeForward = WM_APP + 1;
constexpr DWORD kFindRetryMs = 20;

std::wstring WindowClassName(const std::wstring& name) { return name + L".Instance"; }

}  // namespace

struct TSingleInstanceWindow {
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return win32::WindowBoundary(window, message, [&] {
      if (message == kComeForward) {
        auto* self = win32::HiddenWindowOwner<TSingleInstance>(window);
        if (self && self->comeForward_) self->comeForward_();
        return LRESULT{0};
      }
      return DefWindowProcW(window, message, wParam, lParam);
    });
  }
};

TSingleInstance::TSingleInstance(const std::wstring& programDir) : name_(InstanceName(programDir)) {
  // Local\: one copy per folder in each logon session.
  mutex_.Reset(CreateMutexW(nullptr, FALSE, (L"Local\\" + name_).c_str()));
  // Without a mutex nothing can be decided: run rather than refuse to.
  first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
  if (!first_) return;

  // A hidden top-level window, never shown: FindWindow finds it by class.
  window_.Reset(win32::CreateHiddenWindow(WindowClassName(name_).c_str(),
                                          &TSingleInstanceWindow::Proc,
                                          win32::THiddenKind::TopLevel, this));
}

// The members destroy the window, then let the mutex go.
TSingleInstance::~TSingleInstance() = default;

bool TSingleInstance::AskFirstToComeForward() {
  const std::wstring cls = WindowClassName(name_);
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (HWND first = FindWindowW(cls.c_str(), nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(first, &pid);
      // This start came from the user, so it may hand the foreground on.
      AllowSetForegroundWindow(pid);
      PostMessageW(first, kComeForward, 0, 0);
      return true;
    }
    if (GetTickCount64() - start >= kFindWaitMs) return false;
    Sleep(kFindRetryMs);
  }
}
