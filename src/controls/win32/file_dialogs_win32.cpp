#include "controls/win32/file_dialogs_win32.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <vector>

#include "controls/controls.h"

std::optional<std::wstring> TWin32FileDialogs::PickFileToOpen(TForm& owner) {
  // Room for the longest path Windows can hand back.
  std::vector<wchar_t> file(32768, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = static_cast<HWND>(owner.Peer().Handle());
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  // The program's files are named by full paths, so the current folder
  // need not follow the user around.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR |
              OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(file.data());
}
