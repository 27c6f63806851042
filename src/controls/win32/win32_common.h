// The shared part of the Win32 peers: window classes, fonts and colours at
// the window's scale, message reflection from containers, the echo guard,
// and the message pump that hands keys to the dialog manager.
#pragma once

#include <windows.h>

#include <string>

#include "controls/controls.h"
#include "controls/palette.h"
#include "platform/contrast.h"
#include "platform/dark_apps.h"
#include "platform/win32/handles.h"

namespace win32 {

inline constexpr wchar_t kFormClass[] = L"TivorraForm";
inline constexpr wchar_t kDrawnClass[] = L"TivorraControl";
// The window property that holds a control window's peer (PeerOf).
inline constexpr wchar_t kPeerProp[] = L"TivorraPeer";

HINSTANCE Instance();
void RegisterClasses();

COLORREF Resolve(TColor c);
// High contrast, as the backend's service reports it now: the drawn
// controls then paint with the system colours alone.
void SetContrast(const THighContrast* contrast);
bool HighContrast();
// In high contrast, the system colour that stands for a control's
// background colour (a field's window colour, or the face of buttons) and
// the text colour that goes with it.
COLORREF ContrastFace(TColor background);
COLORREF ContrastText(TColor background);
// The dark app mode, as the backend's service reported it when last asked:
// at start, and when Windows announces a change of the app mode.
void SetDarkApps(const TDarkApps* dark);
void RefreshDarkApps();
// The palette the program paints in now; high contrast wins over dark.
TScheme Scheme();
inline bool DarkMode() { return Scheme() == TScheme::Dark; }
// A colour of a control's description as painted now, by its role: the
// colour itself in the light look, its dark counterpart in the dark one.
COLORREF GroundColor(TColor c);
COLORREF InkColor(TColor c);
COLORREF ShadeColor(TColor c);
// A solid brush of a colour, made once and kept for the whole run.
HBRUSH SolidBrush(COLORREF color);
// A top-level window and the standard controls in it take the look of the
// app mode now: title bar, visual styles, and everything drawn again.
void ApplyTheme(HWND topLevel, bool captioned);
// The screen's scale: dots per inch of a window (96 at 100 %).
UINT DpiOf(HWND hwnd);
inline int Scale(int designPixels, UINT dpi) {
  return MulDiv(designPixels, static_cast<int>(dpi), 96);
}
HFONT FontFor(const TFont& f, UINT dpi);
void FillSolid(HDC dc, const RECT& r, COLORREF color);
// The messages that paint a window which covers all of itself: nothing to
// erase first, WM_PAINT, and WM_PRINTCLIENT into the caller's context.
// `paint(dc)` draws; false when `msg` is none of these.
template <typename Paint>
bool PaintMessage(HWND hwnd, UINT msg, WPARAM wp, LRESULT& result, Paint&& paint) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      const TPaint painting(hwnd);
      paint(painting.Get());
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wp));
      return true;
    default:
      return false;
  }
}

// A lone CR or LF becomes CR LF, as edit controls break lines only there;
// and back again: CR LF becomes the lone CR that stored texts keep.
std::wstring ToWindowLines(const std::wstring& text);
std::wstring FromWindowLines(const std::wstring& text);
std::wstring WindowText(HWND hwnd);

// One window of one control. Containers pass a child's notifications back
// to the child's peer (Reflect), so a control in a panel behaves exactly as
// one on the form.
class TWindowPeer : public TControlPeer {
 public:
  TWindowPeer(TControl& c, const wchar_t* cls, DWORD style, DWORD exStyle,
              const std::wstring& text);
  ~TWindowPeer() override;

  void Apply(TChange change) override;
  void Perform(const TUserAction& action) override;
  void Focus() override;
  bool Focused() const override;
  void* Handle() const override { return hwnd_; }

  // A notification of this control, reflected by its container.
  virtual bool OnCommand(WORD code, LRESULT& result);
  virtual bool OnNotify(NMHDR& header, LRESULT& result);
  virtual bool OnCtlColor(HDC dc, LRESULT& result);
  virtual bool OnDrawItem(DRAWITEMSTRUCT& item);
  // The control's own messages: those of its window class when it is one of
  // ours, or seen first through subclassing for a standard control.
  virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  HWND Hwnd() const { return hwnd_; }
  UINT Dpi() const { return DpiOf(hwnd_); }
  TControl& Control() const { return c_; }
  // Places, fonts and pictures again at the window's scale.
  virtual void Rescale();

 protected:
  // While the peer applies a value from code, the notifications Windows
  // sends for it are not the user's: they raise nothing.
  class TApplying {
   public:
    explicit TApplying(TWindowPeer& p) : p_(p), was_(p.applying_) { p_.applying_ = true; }
    ~TApplying() { p_.applying_ = was_; }

   private:
    TWindowPeer& p_;
    bool was_;
  };
  bool Applying() const { return applying_; }
  virtual void ApplyText();
  virtual void ApplyState() {}
  virtual void ApplyItems() {}
  virtual void ApplyLook();
  // Sends a mouse button press and release at a client point in pixels.
  void ClickAt(int x, int y, bool twice = false);
  // Lets OnMessage see a standard control's messages first.
  void Subclass();
  LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
  TControl& c_;
  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  bool applying_ = false;
};

TWindowPeer* PeerOf(HWND hwnd);
// A container's part of message reflection: true when the message was a
// child's notification and `result` holds the answer.
bool Reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
// Puts the made windows of a container's children in the stacking the
// model describes (TControl::StackedChildren), when they are not already.
void Restack(const TControl& parent);
// Rescales a control and everything inside it.
void RescaleTree(TControl& c);

// Hands one message on as the program's loop does: Tab, Shift+Tab and the
// arrow keys in a radio group to the form's own keyboard handling, other
// keys to the dialog manager of its top-level window (Enter, Space).
void DispatchOne(MSG& m);
// Delivers what is waiting now, without blocking.
void PumpWaiting();

}  // namespace win32
