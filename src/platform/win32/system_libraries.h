// The system libraries the program uses beyond the ones every process has.
//
// Windows looks for a DLL in the program's own folder before System32 unless
// it is one of the system's KnownDLLs, and Tivorra is run from wherever it
// was unpacked, often a Downloads folder. So the import table names only
// KnownDLLs (and comctl32, which the manifest's activation context picks),
// and every other library is loaded here, from System32 alone, when first
// needed. A library or function that cannot be had makes its wrapper fail
// the way the function itself reports failure.
#pragma once

#include <windows.h>
// After windows.h, whose types they use.
#include <mmsystem.h>
#include <ole2.h>

// Restricts where this process loads DLLs from: System32 for every later
// load, and, where Windows offers it, System32 images preferred and none
// from remote shares or low-integrity files. The first thing at start,
// before any window; where a call is missing (old Windows, Wine) the
// program goes on without it.
void HardenDllLoading();

// The module of a system library, loaded from System32 once; null when it
// cannot be loaded.
HMODULE SystemLibrary(const wchar_t* name);

namespace winmm {
// Fails with MCIERR_DEVICE_NOT_INSTALLED when the library is missing.
MCIERROR SendCommand(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR params);
BOOL GetErrorString(MCIERROR error, LPWSTR text, UINT length);
BOOL PlaySound(LPCWSTR sound, HMODULE module, DWORD flags);
// Opens the default wave output and closes it again: the first open in a
// process loads the sound system's driver and sets up its device, which
// takes tens of milliseconds. False when there is no output.
bool WarmUpOutput();
}  // namespace winmm

namespace powrprof {
// Fail with ERROR_CALL_NOT_IMPLEMENTED when the library is missing.
DWORD GetActiveScheme(GUID** scheme);
DWORD ReadACValueIndex(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                       DWORD* value);
DWORD ReadDCValueIndex(const GUID* scheme, const GUID* subgroup, const GUID* setting,
                       DWORD* value);
}  // namespace powrprof

// Accessibility: asked for only when a screen reader or UI Automation asks
// a drawn control what it is, so most runs never load it.
namespace oleacc {
// Fail with E_NOTIMPL when the library is missing; the control then
// answers as a plain window does.
HRESULT CreateStdAccessibleObject(HWND hwnd, LONG objectId, const IID& iid, void** object);
LRESULT LresultFromObject(const IID& iid, WPARAM wp, IUnknown* object);
}  // namespace oleacc

// Notices of the workstation's lock and unlock, asked for once at start.
namespace wtsapi32 {
// Fail (FALSE) when the library is missing; the notices then never come.
BOOL RegisterSessionNotification(HWND hwnd, DWORD flags);
BOOL UnRegisterSessionNotification(HWND hwnd);
}  // namespace wtsapi32

namespace oleaut32 {
// Null when the library is missing, as when memory runs out.
BSTR SysAllocString(const wchar_t* text);
}  // namespace oleaut32

// The desktop window manager, for the dark title bar of Windows 10 and 11.
namespace dwmapi {
// Fails with E_NOTIMPL when the library is missing (no DWM).
HRESULT SetWindowAttribute(HWND hwnd, DWORD attribute, const void* value, DWORD size);
}  // namespace dwmapi

namespace msimg32 {
// Paints the rectangles with the first vertex's colour when the library is
// missing: the strip loses its shading, not its colour.
BOOL GradientFill(HDC dc, TRIVERTEX* vertices, ULONG vertexCount, void* mesh, ULONG meshCount,
                  ULONG mode);
}  // namespace msimg32
