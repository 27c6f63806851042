#include "controls/form.h"

#include <algorithm>

#include "controls/dispatcher.h"

// ---- TForm

TForm::TForm(const std::wstring& caption, int left, int top, int clientWidth, int clientHeight,
             TBorderStyle border)
    : TControl(nullptr, left, top, clientWidth, clientHeight), border_(border) {
  StoreCaption(caption);
  StoreVisible(false);
  auto peer = Backend().CreateFormPeer(*this);
  formPeer_ = peer.get();
  AdoptPeer(std::move(peer));
}

// A derived form's controls are its members: they are destroyed, and unhook
// themselves, before this base part goes.
TForm::~TForm() = default;

void TForm::UserEscape() { Raise(OnEscape); }

void TForm::SetOwner(TForm* owner) {
  owner_ = owner;
  formPeer_->Place();
}

void TForm::SetPosition(TPosition position) {
  position_ = position;
  formPeer_->Place();
}

void TForm::SetVisible(bool visible) {
  if (visible && !shownOnce_) {
    shownOnce_ = true;
    if (OnShow) DispatchEvent(OnShow);
  }
  if (visible && !Visible() && OnShowing) DispatchEvent(OnShowing);
  if (!visible) foreground_ = false;
  TControl::SetVisible(visible);
}

void TForm::ShowNormal() {
  lastShownModal_ = false;
  if (!shownOnce_) {
    shownOnce_ = true;
    if (OnShow) DispatchEvent(OnShow);
  }
  if (!Visible() && OnShowing) DispatchEvent(OnShowing);
  // The peer shows the window in the normal state and activates it, in one
  // step: activation may run handlers (the start-up sequence may minimise
  // the program) and nothing must undo what they did.
  StoreVisible(true);
  formPeer_->ShowNormal();
}

void TForm::BringToForeground() {
  if (!Visible() || !Enabled()) return;
  foreground_ = true;
  formPeer_->BringToForeground();
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
  if (!shownOnce_) {
    shownOnce_ = true;
    if (OnShow) DispatchEvent(OnShow);
  }
  if (!Visible() && OnShowing) DispatchEvent(OnShowing);
  StoreVisible(true);
  const int result = formPeer_->RunModal();
  modal_ = false;
  return result ? result : ModalResult;
}

void TForm::StartDrag() { formPeer_->StartDrag(); }

void TForm::MinimizedChanged(bool minimized) {
  if (minimized == minimized_) return;  // a plain resize also says "restored"
  minimized_ = minimized;
  if (OnMinimizedChanged) DispatchEvent([&] { OnMinimizedChanged(minimized); });
}

void TForm::Activated(TForm* previous) {
  foreground_ = true;
  bool raise = true;
  if (activation_ == TActivation::FirstAndBackFromModeless) {
    raise = !activatedOnce_ || (previous && previous != this && !previous->lastShownModal_);
  }
  activatedOnce_ = true;
  if (raise && OnActivate) DispatchEvent(OnActivate);
}

namespace {
void CollectTabStops(TControl& c, std::vector<TControl*>& out) {
  for (TControl* child : c.Children()) {
    if (child->TabStop()) out.push_back(child);
    CollectTabStops(*child, out);
  }
}
}  // namespace

std::vector<TControl*> TForm::TabOrder() {
  std::vector<TControl*> out;
  CollectTabStops(*this, out);
  return out;
}

namespace {
bool Reachable(const TControl& c) { return c.Showing() && c.Usable(); }

// The stops Tab visits, in order: every reachable control once, and each
// radio group once, at the place of its first reachable button.
std::vector<TControl*> TabStops(TForm& form) {
  std::vector<TControl*> stops;
  for (TControl* c : form.TabOrder()) {
    if (!Reachable(*c)) continue;
    auto* radio = As<TRadioButton>(c);
    if (!radio) {
      stops.push_back(c);
      continue;
    }
    const auto sameGroup = [radio](TControl* s) {
      return As<TRadioButton>(s) && s->Parent() == radio->Parent();
    };
    auto seen = std::find_if(stops.begin(), stops.end(), sameGroup);
    if (seen == stops.end()) {
      stops.push_back(radio);
    } else if (radio->Checked() && !static_cast<TRadioButton*>(*seen)->Checked()) {
      *seen = radio;  // the group is entered at its checked button
    }
  }
  return stops;
}
}  // namespace

TControl* TForm::NextTabStop(const TControl* from, bool backward) {
  const std::vector<TControl*> stops = TabStops(*this);
  if (stops.empty()) return nullptr;
  const auto* radio = As<const TRadioButton>(from);
  const auto at = std::find_if(stops.begin(), stops.end(), [&](TControl* s) {
    return s == from || (radio && As<TRadioButton>(s) && s->Parent() == radio->Parent());
  });
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  if (at == stops.end()) return backward ? stops.back() : stops.front();
  const std::ptrdiff_t i = at - stops.begin();
  return stops[static_cast<std::size_t>((i + (backward ? n - 1 : 1)) % n)];
}

TRadioButton* TForm::NextInGroup(const TRadioButton& from, bool backward) {
  std::vector<TRadioButton*> group;
  for (TControl* s : from.Parent()->Children()) {
    auto* radio = As<TRadioButton>(s);
    if (radio && (radio == &from || Reachable(*radio))) group.push_back(radio);
  }
  const auto at = std::find(group.begin(), group.end(), &from);
  const auto n = static_cast<std::ptrdiff_t>(group.size());
  const std::ptrdiff_t i = at - group.begin();
  return group[static_cast<std::size_t>((i + (backward ? n - 1 : 1)) % n)];
}
