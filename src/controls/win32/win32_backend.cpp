#include "controls/win32/win32_backend.h"

#include "controls/win32/peers.h"
#include "controls/win32/win32_common.h"

using namespace win32;

TWin32Backend::TWin32Backend() { RegisterClasses(); }

std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TPanel& c) { return MakePanelPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TButton& c) { return MakeButtonPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TCheckBox& c) {
  return MakeCheckBoxPeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TRadioButton& c) {
  return MakeRadioButtonPeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TEdit& c) { return MakeEditPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TMemo& c) { return MakeMemoPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TListBox& c) { return MakeListBoxPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TComboBox& c) {
  return MakeComboBoxPeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TTabControl& c) {
  return MakeTabControlPeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TDateTimePicker& c) {
  return MakeDateTimePeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TLabel& c) { return MakeLabelPeer(c); }
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TTextImage& c) {
  return MakeTextImagePeer(c);
}
std::unique_ptr<TControlPeer> TWin32Backend::CreatePeer(TGradientStrip& c) {
  return MakeStripPeer(c);
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

int RunMessageLoop() {
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchOne(m);
  return static_cast<int>(m.wParam);
}

void ProcessMessages() { PumpWaiting(); }

TForm* FormFromHandle(void* hwnd) { return FormOf(static_cast<HWND>(hwnd)); }
