// Parts of the program without a window of their own: timers, popup menus
// and the notification-area icon.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/backend.h"

class TTimer {
 public:
  TTimer(int intervalMs, bool enabled);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // One tick, as the window system delivers it.
  void Tick();

  std::function<void()> OnTimer;

 private:
  int interval_;
  bool enabled_;
  std::unique_ptr<TTimerPeer> peer_;
};

// A popup menu of plain items; each item has its own OnClick. A disabled
// item is shown greyed and cannot be chosen.
class TPopupMenu {
 public:
  struct TItem {
    std::wstring Caption;
    std::function<void()> OnClick;
    bool Separator = false;
    bool Enabled = true;
  };
  TPopupMenu();
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  std::vector<TItem> Items;
  // Shows the menu at a screen point and raises the chosen item's OnClick.
  // Returns the chosen index, or -1.
  int Popup(int x, int y);
  TMenuPeer& Peer() const { return *peer_; }

 private:
  std::unique_ptr<TMenuPeer> peer_;
};

// The program's icon in the notification area.
class TTrayIcon {
 public:
  TTrayIcon();
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  const std::wstring& Hint() const { return hint_; }
  void SetHint(const std::wstring& hint);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // A user's press or release of a mouse button over the icon.
  void Press(TMouseButton button) { peer_->Perform(button, true); }
  void Release(TMouseButton button) { peer_->Perform(button, false); }
  std::function<void(TMouseButton)> OnMouseDown;
  std::function<void(TMouseButton)> OnMouseUp;
  // Where the mouse is now, in screen pixels: the place for the icon's menu.
  TPoint MousePos() const { return peer_->MousePos(); }

  // Peers only.
  void UserMouse(TMouseButton button, bool press);
  TTrayPeer& Peer() const { return *peer_; }

 private:
  std::wstring hint_;
  bool visible_ = false;
  std::unique_ptr<TTrayPeer> peer_;
};
