// Owners of Windows handles: each closes its handle the one right way when
// it goes, so that no return or exception path forgets to.
#pragma once

#include <windows.h>

namespace win32 {

// Traits: the handle's type, its empty value and how to free it.
template <class Traits>
class TUnique {
 public:
  using THandle = typename Traits::THandle;

  TUnique() = default;
  explicit TUnique(THandle h) : h_(h) {}
  ~TUnique() { Reset(); }
  TUnique(TUnique&& other) noexcept : h_(other.Release()) {}
  TUnique& operator=(TUnique&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TUnique(const TUnique&) = delete;
  TUnique& operator=(const TUnique&) = delete;

  THandle Get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Empty(); }
  // Gives up the handle without freeing it.
  THandle Release() {
    const THandle h = h_;
    h_ = Traits::Empty();
    return h;
  }
  // For a function that hands back a new handle through a pointer: frees
  // the one held and gives the place to put the new one.
  THandle* Receive() {
    Reset();
    return &h_;
  }
  void Reset(THandle h = Traits::Empty()) {
    if (h_ != Traits::Empty()) Traits::Free(h_);
    h_ = h;
  }

 private:
  THandle h_ = Traits::Empty();
};

struct THandleTraits {
  using THandle = HANDLE;
  static HANDLE Empty() { return nullptr; }
  static void Free(HANDLE h) { CloseHandle(h); }
};

struct TKeyTraits {
  using THandle = HKEY;
  static HKEY Empty() { return nullptr; }
  static void Free(HKEY h) { RegCloseKey(h); }
};

template <class T>
struct TGdiTraits {
  using THandle = T;
  static T Empty() { return nullptr; }
  static void Free(T h) { DeleteObject(h); }
};

struct TIconTraits {
  using THandle = HICON;
  static HICON Empty() { return nullptr; }
  static void Free(HICON h) { DestroyIcon(h); }
};

struct TWindowTraits {
  using THandle = HWND;
  static HWND Empty() { return nullptr; }
  static void Free(HWND h) { DestroyWindow(h); }
};

// A device context made with CreateCompatibleDC.
struct TMemoryDcTraits {
  using THandle = HDC;
  static HDC Empty() { return nullptr; }
  static void Free(HDC h) { DeleteDC(h); }
};

using TUniqueHandle = TUnique<THandleTraits>;
using TUniqueKey = TUnique<TKeyTraits>;
template <class T = HGDIOBJ>
using TUniqueGdi = TUnique<TGdiTraits<T>>;
using TUniqueIcon = TUnique<TIconTraits>;
using TUniqueWindow = TUnique<TWindowTraits>;
using TUniqueMemoryDc = TUnique<TMemoryDcTraits>;

// A window's device context from GetDC, released with the window.
class TWindowDc {
 public:
  explicit TWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~TWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A window's painting, BeginPaint to EndPaint.
class TPaint {
 public:
  explicit TPaint(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
  ~TPaint() { EndPaint(window_, &ps_); }
  TPaint(const TPaint&) = delete;
  TPaint& operator=(const TPaint&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_;
  HDC dc_;
};

// Selects an object into a device context for a scope, then puts back
// what was there before.
class TSelected {
 public:
  TSelected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~TSelected() {
    if (old_) SelectObject(dc_, old_);
  }
  TSelected(const TSelected&) = delete;
  TSelected& operator=(const TSelected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace win32
