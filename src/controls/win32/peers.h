// The Win32 peers, one file per kind of control; the backend makes them.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "controls/controls.h"

namespace win32 {

std::unique_ptr<TFormPeer> MakeFormPeer(TForm& form);
std::unique_ptr<TControlPeer> MakeButtonPeer(TButton& c);
std::unique_ptr<TControlPeer> MakeCheckBoxPeer(TCheckBox& c);
std::unique_ptr<TControlPeer> MakeRadioButtonPeer(TRadioButton& c);
std::unique_ptr<TControlPeer> MakeEditPeer(TEdit& c);
std::unique_ptr<TControlPeer> MakeMemoPeer(TMemo& c);
std::unique_ptr<TControlPeer> MakeListBoxPeer(TListBox& c);
std::unique_ptr<TControlPeer> MakeComboBoxPeer(TComboBox& c);
std::unique_ptr<TControlPeer> MakeTabControlPeer(TTabControl& c);
std::unique_ptr<TControlPeer> MakeDateTimePeer(TDateTimePicker& c);
std::unique_ptr<TControlPeer> MakePanelPeer(TPanel& c);
std::unique_ptr<TControlPeer> MakeStripPeer(TGradientStrip& c);
std::unique_ptr<TControlPeer> MakeTextImagePeer(TTextImage& c);
std::unique_ptr<TControlPeer> MakeLabelPeer(TLabel& c);
std::unique_ptr<TTimerPeer> MakeTimerPeer(TTimer& timer);
std::unique_ptr<TMenuPeer> MakeMenuPeer(TPopupMenu& menu);
std::unique_ptr<TTrayPeer> MakeTrayPeer(TTrayIcon& icon);

// The form of a window handle, or null.
TForm* FormOf(HWND hwnd);

// A control whose window is made only when the control and all its
// containers first show (or its form prepares its windows); until then
// what is set on the control waits in the model, and the window is made
// from it.
std::unique_ptr<TControlPeer> MakeLatePeer(TControl& c,
                                           std::function<std::unique_ptr<TControlPeer>()> make);
// Makes the windows of the children of `c` that show now; with `all`, of
// every child whose own visibility is set, whether its containers show or
// not. Containers first, so each window has its parent's.
void MakeChildWindows(TControl& c, bool all = false);

}  // namespace win32
