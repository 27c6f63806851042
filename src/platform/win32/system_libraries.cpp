#include "platform/win32/system_libraries.h"

#include <string>

#include "platform/win32/handles.h"

namespace {

// One entry of a library: its function, looked up once.
template <typename TFunction>
TFunction Lookup(const wchar_t* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  if (!module) return nullptr;
  // Through void*: FARPROC and the real signature are unrelated types.
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Defined here so that the program also builds against headers for
// Windows 7, where these are declared only for later systems.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr int kImageLoadPolicy = 10;            // ProcessImageLoadPolicy
constexpr DWORD kNoRemoteImages = 0x1;
constexpr DWORD kNoLowMandatoryLabelImages = 0x2;
constexpr DWORD kPreferSystem32Images = 0x4;

}  // namespace

void HardenDllLoading() {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return;
  using TSetDefault = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<TSetDefault>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(kSearchSystem32);
  using TSetPolicy = BOOL(WINAPI*)(int, const void*, SIZE_T);
  auto setPolicy = reinterpret_cast<TSetPolicy>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessMitigationPolicy")));
  if (setPolicy) {
    const DWORD flags = kNoRemoteImages | kNoLowMandatoryLabelImages | kPreferSystem32Images;
    setPolicy(kImageLoadPolicy, &flags, sizeof flags);
  }
  // The system's theme library asks for msimg32 by name when it first
  // blends a picture, and such a late request has been seen to look beside
  // the program. Loaded from System32 now, the library is the one every
  // later request by name gets; the main window paints with it at once.
  SystemLibrary(L"msimg32.dll");
}

HMODULE SystemLibrary(const wchar_t* name) {
  HMODULE module = LoadLibraryExW(name, nullptr, kSearchSystem32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // Windows 7 without the update that brought the search flags refuses
  // them: the full path to System32 finds the same file.
  wchar_t dir[MAX_PATH];
  const UINT n = GetSystemDirectoryW(dir, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(dir, n) + L"\\" + name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

namespace winmm {

MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params) {
  static const auto f = Lookup<decltype(&mciSendCommandW)>(L"winmm.dll", "mciSendCommandW");
  return f ? f(device, message, flags, params) : MCIERR_DEVICE_NOT_INSTALLED;
}

BOOL GetErrorString(MCIERROR error, LPWSTR text, UINT length) {
  static const auto f = Lookup<decltype(&mciGetErrorStringW)>(L"winmm.dll", "mciGetErrorStringW");
  return f ? f(error, text, length) : FALSE;
}

BOOL PlaySound(LPCWSTR sound, HMODULE module, DWORD flags) {
  static const auto f = Lookup<decltype(&PlaySoundW)>(L"winmm.dll", "PlaySoundW");
  return f ? f(sound, module, flags) : FALSE;
}

bool WarmUpOutput() {
  static const auto open = Lookup<decltype(&waveOutOpen)>(L"winmm.dll", "waveOutOpen");
  static const auto close = Lookup<decltype(&waveOutClose)>(L"winmm.dll", "waveOutClose");
  if (!open || !close) return false;
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 8000;
  format.wBitsPerSample = 8;
  format.nBlockAlign = 1;
  format.nAvgBytesPerSec = 8000;
  HWAVEOUT out = nullptr;
  if (open(&out, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) return false;
  close(out);
  return true;
}

}  // namespace winmm

namespace powrprof {

using TGetActiveScheme = DWORD(WINAPI*)(HKEY, GUID**);
using TReadValueIndex = DWORD(WINAPI*)(HKEY, const GUID*, const GUID*, const GUID*, DWORD*);

DWORD GetActiveScheme(GUID** scheme) {
  static const auto f = Lookup<TGetActiveScheme>(L"powrprof.dll", "PowerGetActiveScheme");
  return f ? f(nullptr, scheme) : ERROR_CALL_NOT_IMPLEMENTED;
}

DWORD ReadACValueIndex(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                       DWORD* value) {
  static const auto f = Lookup<TReadValueIndex>(L"powrprof.dll", "PowerReadACValueIndex");
  return f ? f(nullptr, scheme, subgroup, setting, value) : ERROR_CALL_NOT_IMPLEMENTED;
}

DWORD ReadDCValueIndex(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                       DWORD* value) {
  static const auto f = Lookup<TReadValueIndex>(L"powrprof.dll", "PowerReadDCValueIndex");
  return f ? f(nullptr, scheme, subgroup, setting, value) : ERROR_CALL_NOT_IMPLEMENTED;
}

}  // namespace powrprof

namespace oleacc {

HRESULT CreateStdAccessibleObject(HWND hwnd, LONG objectId, const IID& iid, void** object) {
  using TCreate = HRESULT(WINAPI*)(HWND, LONG, const IID&, void**);
  static const auto f = Lookup<TCreate>(L"oleacc.dll", "CreateStdAccessibleObject");
  if (!f) {
    *object = nullptr;
    return E_NOTIMPL;
  }
  return f(hwnd, objectId, iid, object);
}

LRESULT LresultFromObject(const IID& iid, WPARAM wp, IUnknown* object) {
  using TFromObject = LRESULT(WINAPI*)(const IID&, WPARAM, IUnknown*);
  static const auto f = Lookup<TFromObject>(L"oleacc.dll", "LresultFromObject");
  return f ? f(iid, wp, object) : static_cast<LRESULT>(E_NOTIMPL);
}

}  // namespace oleacc

namespace wtsapi32 {

BOOL RegisterSessionNotification(HWND hwnd, DWORD flags) {
  using TRegister = BOOL(WINAPI*)(HWND, DWORD);
  static const auto f = Lookup<TRegister>(L"wtsapi32.dll", "WTSRegisterSessionNotification");
  return f ? f(hwnd, flags) : FALSE;
}

BOOL UnRegisterSessionNotification(HWND hwnd) {
  using TUnregister = BOOL(WINAPI*)(HWND);
  static const auto f = Lookup<TUnregister>(L"wtsapi32.dll", "WTSUnRegisterSessionNotification");
  return f ? f(hwnd) : FALSE;
}

}  // namespace wtsapi32

namespace oleaut32 {

BSTR SysAllocString(const wchar_t* text) {
  static const auto f = Lookup<decltype(&::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
  return f ? f(text) : nullptr;
}

}  // namespace oleaut32

namespace dwmapi {

HRESULT SetWindowAttribute(HWND hwnd, DWORD attribute, const void* value, DWORD size) {
  using TSet = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static const auto f = Lookup<TSet>(L"dwmapi.dll", "DwmSetWindowAttribute");
  return f ? f(hwnd, attribute, value, size) : E_NOTIMPL;
}

}  // namespace dwmapi

namespace msimg32 {

BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                  ULONG mode) {
  static const auto f = Lookup<decltype(&::GradientFill)>(L"msimg32.dll", "GradientFill");
  if (f) return f(dc, vertices, vertexCount, mesh, meshCount, mode);
  if (vertexCount == 0 || mode == GRADIENT_FILL_TRIANGLE) return FALSE;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  for (ULONG i = 0; i < meshCount; ++i) {
    if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
    const TRIVERTEX& a = vertices[rects[i].UpperLeft];
    const TRIVERTEX& b = vertices[rects[i].LowerRight];
    const RECT r{a.x, a.y, b.x, b.y};
    const win32::TUniqueGdi<HBRUSH> brush(
        CreateSolidBrush(RGB(a.Red >> 8, a.Green >> 8, a.Blue >> 8)));
    FillRect(dc, &r, brush.Get());
  }
  return TRUE;
}

}  // namespace msimg32
