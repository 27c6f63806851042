// Windows when first needed: most of a window's controls are not shown at
// start (the list, the editor, the dialogs), and making a window costs more
// than a millisecond under Wine.
#include "controls/win32/peers.h"

namespace win32 {
namespace {

class TLatePeer : public TControlPeer {
 public:
  TLatePeer(TControl& c, std::function<std::unique_ptr<TControlPeer>()> make)
      : c_(c), make_(std::move(make)) {}
  ~TLatePeer() override {
    // The children's windows go first, as they would with their parent's.
    real_.reset();
  }

  void Apply(TChange change) override {
    if (!real_) {
      // Until it shows, the model holds every value; the window is made
      // from them.
      if (change == TChange::Visible && c_.Showing()) Make(false);
      return;
    }
    real_->Apply(change);
    if (change == TChange::Visible && c_.Showing()) MakeChildWindows(c_);
  }
  void Perform(const TUserAction& action) override {
    if (!real_) Make(false);
    real_->Perform(action);
  }
  void Focus() override {
    if (real_) real_->Focus();
  }
  bool Focused() const override { return real_ && real_->Focused(); }
  void* Handle() const override { return real_ ? real_->Handle() : nullptr; }
  bool Made() const override { return real_ != nullptr; }

  void MakeNow(bool all) override { Make(all); }
  void Make(bool all) {
    if (!real_) {
      if (!c_.Parent() || !c_.Parent()->Peer().Handle()) return;
      real_ = make_();
    }
    MakeChildWindows(c_, all);
  }

 private:
  TControl& c_;
  std::function<std::unique_ptr<TControlPeer>()> make_;
  std::unique_ptr<TControlPeer> real_;
};

}  // namespace

std::unique_ptr<TControlPeer> MakeLatePeer(TControl& c,
                                           std::function<std::unique_ptr<TControlPeer>()> make) {
  auto peer = std::make_unique<TLatePeer>(c, std::move(make));
  // Made on a form that shows already: it needs its window at once.
  if (c.Showing()) peer->Make(false);
  return peer;
}

void MakeChildWindows(TControl& c, bool all) {
  for (TControl* child : c.Children()) {
    if (!child->HasPeer() || !(all ? child->Visible() : child->Showing())) continue;
    child->Peer().MakeNow(all);
  }
}

}  // namespace win32
