#include "controls/win32/dark_theme.h"

#include <commctrl.h>

#include "controls/palette.h"
#include "platform/win32/system_libraries.h"

namespace win32 {
namespace {

// Windows 10 1809, the first build with the unnamed dark-mode functions.
constexpr DWORD kFirstDarkBuild = 17763;
// DWMWA_USE_IMMERSIVE_DARK_MODE, and its number before Windows 10 20H1.
constexpr DWORD kDarkTitleBar = 20;
constexpr DWORD kDarkTitleBarBefore20H1 = 19;

// The real build number: GetVersionEx answers what the manifest declares.
DWORD BuildNumber() {
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof(v);
  if (!get || get(&v) != 0 || v.dwMajorVersion < 10) return 0;
  return v.dwBuildNumber;
}

HMODULE UxTheme() {
  static const HMODULE module = SystemLibrary(L"uxtheme.dll");
  return module;
}

// An unnamed uxtheme function, on the builds where it means what we ask of
// it; null elsewhere.
template <class F>
F Ordinal(WORD n) {
  static const bool known = BuildNumber() >= kFirstDarkBuild;
  if (!known || !UxTheme()) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(UxTheme(), MAKEINTRESOURCEA(n))));
}

using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
// 135: AllowDarkModeForApp(BOOL) in 1809, SetPreferredAppMode(mode) since
// 1903; 1 means "allow dark" to both.
using TSetAppMode = int(WINAPI*)(int);
using TAllowForWindow = BOOL(WINAPI*)(HWND, BOOL);
using TNoArguments = void(WINAPI*)();

void SetWindowTheme(HWND hwnd, LPCWSTR app, LPCWSTR ids) {
  static const auto set = UxTheme() ? reinterpret_cast<TSetWindowTheme>(reinterpret_cast<void*>(
                                          GetProcAddress(UxTheme(), "SetWindowTheme")))
                                    : nullptr;
  if (set) set(hwnd, app, ids);
}

}  // namespace

void ApplyAppTheme(bool dark) {
  static const auto setMode = Ordinal<TSetAppMode>(135);
  static const auto refresh = Ordinal<TNoArguments>(104);
  static const auto flushMenus = Ordinal<TNoArguments>(136);
  if (setMode) setMode(dark ? 1 : 0);
  if (refresh) refresh();
  if (flushMenus) flushMenus();
}

void ApplyTitleBarTheme(HWND hwnd, bool dark) {
  static const auto allow = Ordinal<TAllowForWindow>(133);
  if (allow) allow(hwnd, dark);
  const BOOL value = dark ? TRUE : FALSE;
  if (FAILED(dwmapi::SetWindowAttribute(hwnd, kDarkTitleBar, &value, sizeof(value)))) {
    dwmapi::SetWindowAttribute(hwnd, kDarkTitleBarBefore20H1, &value, sizeof(value));
  }
}

void ApplyControlTheme(HWND hwnd, bool dark) {
  static const auto allow = Ordinal<TAllowForWindow>(133);
  wchar_t cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  const LONG_PTR type = GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  const bool button = lstrcmpiW(cls, L"Button") == 0;
  if (button && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) {
    // The visual style of a check box or radio button draws its text in
    // the style's own colour, black even in "DarkMode_Explorer"; without a
    // style, the colours the container gives (WM_CTLCOLORSTATIC) count.
    SetWindowTheme(hwnd, dark ? L"" : nullptr, dark ? L"" : nullptr);
    return;
  }
  if (lstrcmpiW(cls, DATETIMEPICK_CLASSW) == 0) {
    // The drop-down calendar's colours; the field itself keeps the style's.
    const struct {
      int part;
      COLORREF dark, light;
    } colours[] = {
        {MCSC_BACKGROUND, dark::kFace, GetSysColor(COLOR_WINDOW)},
        {MCSC_MONTHBK, dark::kField, GetSysColor(COLOR_WINDOW)},
        {MCSC_TEXT, dark::kText, GetSysColor(COLOR_WINDOWTEXT)},
        {MCSC_TITLEBK, RGB(38, 56, 84), GetSysColor(COLOR_ACTIVECAPTION)},
        {MCSC_TITLETEXT, dark::kText, GetSysColor(COLOR_CAPTIONTEXT)},
        {MCSC_TRAILINGTEXT, dark::kGrayText, GetSysColor(COLOR_GRAYTEXT)},
    };
    for (const auto& c : colours) {
      SendMessageW(hwnd, DTM_SETMCCOLOR, static_cast<WPARAM>(c.part),
                   static_cast<LPARAM>(dark ? c.dark : c.light));
    }
  }
  if (allow) allow(hwnd, dark);
  // The combo box's dark style is the one of the common file dialogs.
  const wchar_t* theme = lstrcmpiW(cls, L"ComboBox") == 0 ? L"DarkMode_CFD" : L"DarkMode_Explorer";
  SetWindowTheme(hwnd, dark ? theme : nullptr, nullptr);
}

}  // namespace win32
