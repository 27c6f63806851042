// A control of no kind of its own, for the Windows tests: its peer runs the
// test's OnReached where the system's messages reach a peer, so that a
// fault can be planted on each road from Windows into the program. The
// roads: the control's own messages (a click's WM_LBUTTONUP, WM_PAINT)
// through the procedure of its window class when the window is one of ours,
// or through the subclass procedure when it is a standard control; a
// notification its container hands back to it; a rescale of its form.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "controls/controls.h"
#include "controls/win32/win32_common.h"
#include "platform/win32/handles.h"

class TFaultControl : public TControl {
 public:
  enum class TWindow { Ours, Standard };

  TFaultControl(TControl* parent, TWindow window) : TControl(parent, 0, 0, 40, 20) {
    AdoptPeer(std::make_unique<TPeer>(*this, window));
  }
  HWND Hwnd() const { return static_cast<HWND>(Peer().Handle()); }
  TControlKind ControlKind() const override { return TControlKind::Panel; }

  std::function<void()> OnReached;

 private:
  class TPeer : public win32::TWindowPeer {
   public:
    TPeer(TFaultControl& c, TWindow window)
        : TWindowPeer(c, window == TWindow::Ours ? win32::kDrawnClass : L"STATIC", 0, 0, L"fault"),
          c_(c) {
      if (window == TWindow::Standard) Subclass();
    }

    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
      if (msg == WM_LBUTTONUP) {
        Reached();
        result = 0;
        return true;
      }
      if (msg == WM_PAINT) {
        // Before the painting begins: a fault here leaves the window to be
        // painted.
        Reached();
        const win32::TPaint paint(Hwnd());
        return true;
      }
      return false;
    }
    bool OnCommand(WORD, LRESULT&) override {
      Reached();
      return true;
    }
    void Rescale() override {
      TWindowPeer::Rescale();
      Reached();
    }

   private:
    void Reached() {
      if (c_.OnReached) c_.OnReached();
    }
    TFaultControl& c_;
  };
};
