// Finds another process's top-level window by its title, for the
// measuring programs under bench/.
#pragma once

#include <windows.h>

#include <cwchar>

// A top-level window of process `pid` titled `title`; only a shown one when
// `visibleOnly`. Null when there is none.
inline HWND TopWindow(DWORD pid, const wchar_t* title, bool visibleOnly) {
  struct S {
    DWORD pid;
    const wchar_t* title;
    bool visibleOnly;
    HWND found;
  } s{pid, title, visibleOnly, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<S*>(lp);
        DWORD p = 0;
        GetWindowThreadProcessId(h, &p);
        if (p != s->pid || (s->visibleOnly && !IsWindowVisible(h))) return TRUE;
        wchar_t text[64] = {};
        GetWindowTextW(h, text, 64);
        if (std::wcscmp(text, s->title) == 0) s->found = h;
        return !s->found;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}
