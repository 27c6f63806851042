#include "controls/win32/win32_backend.h"

#include <deque>

#include "controls/dispatcher.h"
#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

using namespace win32;

TWin32Backend::TWin32Backend(const THighContrast& contrast, const TDarkApps& dark) {
  RegisterClasses();
  SetContrast(&contrast);
  SetDarkApps(&dark);
}

TWin32Backend::~TWin32Backend() {
  SetDarkApps(nullptr);
  SetContrast(nullptr);
}

namespace {
template <class C>
std::unique_ptr<TControlPeer> Late(C& c, std::unique_ptr<TControlPeer> (*make)(C&)) {
  return MakeLatePeer(c, [&c, make] { return make(c); });
}
}  // namespace

std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TPanel& c) { return Late(c, MakePanelPeer); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TButton& c) {
  return Late(c, MakeButtonPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TCheckBox& c) {
  return Late(c, MakeCheckBoxPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TRadioButton& c) {
  return Late(c, MakeRadioButtonPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TEdit& c) { return Late(c, MakeEditPeer); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TMemo& c) { return Late(c, MakeMemoPeer); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TListBox& c) {
  return Late(c, MakeListBoxPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TComboBox& c) {
  return Late(c, MakeComboBoxPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TTabControl& c) {
  return Late(c, MakeTabControlPeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TDateTimePicker& c) {
  return Late(c, MakeDateTimePeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TLabel& c) { return Late(c, MakeLabelPeer); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TTextImage& c) {
  return Late(c, MakeTextImagePeer);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TGradientStrip& c) {
  return Late(c, MakeStripPeer);
}
std::unique_ptr<TFormPeer> TWin32Backend::CreateFormPeer(TForm& form) { return MakeFormPeer(form); }
std::unique_ptr<TTimerPeer> TWin32Backend::CreateTimerPeer(TTimer& timer) {
  return MakeTimerPeer(timer);
}
std::unique_ptr<TMenuPeer> TWin32Backend::CreateMenuPeer(TPopupMenu& menu) {
  return MakeMenuPeer(menu);
}
std::unique_ptr<TTrayPeer> TWin32Backend::CreateTrayPeer(TTrayIcon& icon) {
  return MakeTrayPeer(icon);
}

namespace {
std::deque<std::function<void()>>& IdleTasks() {
  static std::deque<std::function<void()>> tasks;
  return tasks;
}
}  // namespace

void RunWhenIdle(std::function<void()> task) { IdleTasks().push_back(std::move(task)); }

int RunMessageLoop() {
  MSG m;
  for (;;) {
    // Idle: nothing waiting, nothing to paint.
    while (!IdleTasks().empty() && !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      const std::function<void()> task = std::move(IdleTasks().front());
      IdleTasks().pop_front();
      DispatchEvent(task);
    }
    if (GetMessageW(&m, nullptr, 0, 0) <= 0) break;
    DispatchOne(m);
  }
  return static_cast<int>(m.wParam);
}

void ProcessMessages() { PumpWaiting(); }
