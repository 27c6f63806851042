#include "controls/controls.h"

#include <algorithm>

#include "controls/dispatcher.h"

namespace {
TBackend* gBackend = nullptr;
}

void SetBackend(TBackend* backend) { gBackend = backend; }
TBackend* Backend() { return gBackend; }

// ---- TControl

TControl::TControl(TControl* parent, TControlKind kind, int left, int top, int width, int height)
    : kind_(kind), parent_(parent), left_(left), top_(top), width_(width), height_(height) {
  if (parent_) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;
  }
}

TControl::~TControl() {
  peer_.reset();
  if (parent_) {
    auto& c = parent_->children_;
    c.erase(std::remove(c.begin(), c.end(), this), c.end());
  }
}

void TControl::CreatePeerIfBackend() {
  if (gBackend && !peer_) peer_ = gBackend->CreatePeer(*this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (peer_) peer_->BoundsChanged();
}

void TControl::SetCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  if (peer_) peer_->TextChanged();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (peer_) peer_->VisibleChanged();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (peer_) peer_->EnabledChanged();
}

void TControl::SetFont(const TFont& font) {
  font_ = font;
  NotifyLook();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  NotifyLook();
}

void TControl::NotifyLook() {
  if (peer_) peer_->LookChanged();
}

void TControl::Click() {
  if (!Showing() || !enabled_) return;  // a user cannot click what is hidden or disabled
  if (peer_) {
    peer_->PerformClick();
  } else {
    RaiseClick();
  }
}

void TControl::MouseDown(TMouseButton button) {
  if (!Showing() || !enabled_) return;
  RaiseMouseDown(button);
}

void TControl::RaiseClick() {
  if (OnClick) DispatchEvent(OnClick);
}

void TControl::RaiseMouseDown(TMouseButton button) {
  if (OnMouseDown) DispatchEvent([&] { OnMouseDown(button); });
}

// ---- simple controls

TPanel::TPanel(TControl* parent, int left, int top, int width, int height, bool sunken)
    : TControl(parent, TControlKind::Panel, left, top, width, height), sunken_(sunken) {
  CreatePeerIfBackend();
}

TButton::TButton(TControl* parent, int left, int top, int width, int height,
                 const std::wstring& caption)
    : TControl(parent, TControlKind::Button, left, top, width, height) {
  SetCaption(caption);
  CreatePeerIfBackend();
}

void TButton::SetGlyph(TGlyph glyph) {
  glyph_ = glyph;
  NotifyLook();
}

TMemo::TMemo(TControl* parent, int left, int top, int width, int height)
    : TControl(parent, TControlKind::Memo, left, top, width, height) {
  SetColor(clWindow);
  CreatePeerIfBackend();
}

void TMemo::Repaint() {
  ++repaints_;
  NotifyLook();
}

TLabel::TLabel(TControl* parent, int left, int top, int width, int height,
               const std::wstring& caption, TLabelStyle style)
    : TControl(parent, TControlKind::Label, left, top, width, height), style_(style) {
  SetCaption(caption);
  CreatePeerIfBackend();
}

TTextImage::TTextImage(TControl* parent, int left, int top, int width, int height,
                       const std::wstring& caption)
    : TControl(parent, TControlKind::TextImage, left, top, width, height) {
  SetCaption(caption);
  CreatePeerIfBackend();
}

TGradientStrip::TGradientStrip(TControl* parent, int left, int top, int width, int height,
                               TColor edge, TColor centre)
    : TControl(parent, TControlKind::GradientStrip, left, top, width, height),
      edge_(edge),
      centre_(centre) {
  CreatePeerIfBackend();
}

// ---- TTimer

TTimer::TTimer(int intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) {
  if (gBackend) {
    peer_ = gBackend->CreateTimerPeer(*this);
    peer_->Restart();
  }
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int ms) {
  interval_ = ms;
  if (peer_) peer_->Restart();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (peer_) peer_->Restart();
}

void TTimer::Tick() {
  if (enabled_ && OnTimer) DispatchEvent(OnTimer);
}

// ---- TForm

TForm::TForm(const std::wstring& caption, int left, int top, int clientWidth, int clientHeight,
             TBorderStyle border)
    : TControl(nullptr, TControlKind::Form, left, top, clientWidth, clientHeight),
      border_(border) {
  SetCaption(caption);
  TControl::SetVisible(false);
  if (gBackend) {
    auto peer = gBackend->CreateFormPeer(*this);
    formPeer_ = peer.get();
    AdoptPeer(std::move(peer));
  }
}

// A derived form's controls are its members: they are destroyed, and unhook
// themselves, before this base part goes.
TForm::~TForm() = default;

void TForm::SetClientSize(int width, int height) {
  if (width == Width() && height == Height()) return;
  SetBounds(Left(), Top(), width, height);
  if (formPeer_) formPeer_->ClientSizeChanged();
}

void TForm::SetVisible(bool visible) {
  const bool first = visible && !shownOnce_;
  if (visible) shownOnce_ = true;
  if (!visible) foreground_ = false;
  if (first && OnShow) DispatchEvent(OnShow);
  TControl::SetVisible(visible);
}

void TForm::ShowNormal() {
  lastShownModal_ = false;
  SetVisible(true);
  if (formPeer_) formPeer_->ShowNormal();
}

void TForm::BringToForeground() {
  if (!Visible() || !Enabled()) return;
  foreground_ = true;
  if (formPeer_) formPeer_->BringToForeground();
}

void TForm::Close() {
  // A close handler that fails keeps the form: closing the main window
  // after a failed save must not lose the user's alarms.
  if (OnClose && !DispatchEvent(OnClose)) return;
  Hide();
}

int TForm::ShowModal() {
  ModalResult = 0;
  modal_ = true;
  lastShownModal_ = true;
  int result = 0;
  SetVisible(true);
  if (ModalScript) {
    // Tests stand in for the user: the script acts on the shown dialog.
    result = ModalScript(*this);
    if (Visible()) Close();
  } else if (formPeer_) {
    result = formPeer_->RunModal();
  } else if (Visible()) {
    Close();
  }
  modal_ = false;
  return result ? result : ModalResult;
}

void TForm::StartDrag() {
  ++drags_;
  if (formPeer_) formPeer_->StartDrag();
}

void TForm::MinimizedChanged(bool minimized) {
  if (minimized == minimized_) return;  // a plain resize also says "restored"
  minimized_ = minimized;
  if (OnMinimizedChanged) DispatchEvent([&] { OnMinimizedChanged(minimized); });
}

void TForm::Activated(TForm* previous) {
  foreground_ = true;
  const bool raise = !activatedOnce_ || (previous && previous != this && !previous->lastShownModal_);
  activatedOnce_ = true;
  if (raise && OnActivate) DispatchEvent(OnActivate);
}
