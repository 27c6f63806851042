// What a drawn control is to accessibility clients (screen readers, UI
// Automation through its MSAA bridge). A plain window of our own class
// would be a "client" with no action; the controls the program draws say
// what they are: a clickable text image is a push button whose default
// action clicks it, a label is static text whose value is what it shows,
// the caption strip is a title bar and a panel a grouping.
#pragma once

#include <windows.h>

namespace win32 {

// Posted to a drawn control by its default action: clicked as a user's
// click would, once the client's call has returned.
inline constexpr UINT kAccessiblePress = WM_USER + 0x150;

// The answer to WM_GETOBJECT for the control's client area, or 0 when the
// object cannot be made (no accessibility library): the window's default
// procedure then answers.
LRESULT AccessibleObjectFor(HWND hwnd, WPARAM wp, LPARAM objectId);

}  // namespace win32
