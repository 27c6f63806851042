// What Windows itself offers for dark apps: a dark title bar on a
// captioned window (DWM), dark scroll bars, lists and buttons (the
// "DarkMode_Explorer" visual style), and dark menus. Some of it is
// reachable only through uxtheme functions that have no name, exported by
// ordinal since Windows 10 1809; they are asked for only on such a build,
// since the same ordinals mean other functions on older ones. Whatever is
// missing (older Windows, Wine) is skipped.
#pragma once

#include <windows.h>

namespace win32 {

// The process's menus and the like follow the app mode (call at start and
// after each change).
void ApplyAppTheme(bool dark);
// The title bar of a top-level window with a caption.
void ApplyTitleBarTheme(HWND hwnd, bool dark);
// A standard control's visual style: the dark one Windows offers for its
// class, or the default.
void ApplyControlTheme(HWND hwnd, bool dark);

}  // namespace win32
