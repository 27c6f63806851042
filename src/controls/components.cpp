#include "controls/components.h"

#include "controls/dispatcher.h"

// ---- TTimer

TTimer::TTimer(int intervalMs, bool enabled)
    : interval_(intervalMs), enabled_(enabled), peer_(Backend().CreateTimerPeer(*this)) {
  peer_->Restart();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms) {
  // The same period runs on, as it is.
  if (ms == interval_) return;
  interval_ = ms;
  peer_->Restart();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  peer_->Restart();
}

void TTimer::Tick() {
  if (enabled_ && OnTimer) DispatchEvent(OnTimer);
}

// ---- popup menu and tray icon

TPopupMenu::TPopupMenu() : peer_(Backend().CreateMenuPeer(*this)) {}
TPopupMenu::~TPopupMenu() = default;

int TPopupMenu::Popup(int x, int y) {
  const int chosen = peer_->Track(x, y);
  if (chosen < 0 || chosen >= static_cast<int>(Items.size())) return -1;
  if (!Items[static_cast<std::size_t>(chosen)].Enabled) return -1;
  const auto handler = Items[static_cast<std::size_t>(chosen)].OnClick;
  if (handler) DispatchEvent(handler);
  return chosen;
}

TTrayIcon::TTrayIcon() : peer_(Backend().CreateTrayPeer(*this)) {}
TTrayIcon::~TTrayIcon() {
  visible_ = false;
  peer_->Apply();
}

void TTrayIcon::SetHint(const std::wstring& hint) {
  hint_ = hint;
  peer_->Apply();
}

void TTrayIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  peer_->Apply();
}

void TTrayIcon::UserMouse(TMouseButton button, bool press) {
  const auto& handler = press ? OnMouseDown : OnMouseUp;
  if (handler) DispatchEvent([&] { handler(button); });
}
