// The window system of the native tests: peers without windows that
// perform a user's action as Windows would, through the controls' User...
// methods, and keep a log of what the model applied to them. Forms are
// activated as Windows activates them: when shown, when brought forward,
// and, when the active form hides, the one that was active before it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "controls/controls.h"

class TRecordingBackend : public TBackend {
 public:
  TRecordingBackend();
  ~TRecordingBackend() override;
  std::unique_ptr<TControlPeer> CreatePeer(TPanel& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TButton& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TCheckBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TRadioButton& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TEdit& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TMemo& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TListBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TComboBox& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TTabControl& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TDateTimePicker& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TLabel& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TTextImage& c) override;
  std::unique_ptr<TControlPeer> CreatePeer(TGradientStrip& c) override;
  std::unique_ptr<TFormPeer> CreateFormPeer(TForm& form) override;
  std::unique_ptr<TTimerPeer> CreateTimerPeer(TTimer& timer) override;
  std::unique_ptr<TMenuPeer> CreateMenuPeer(TPopupMenu& menu) override;
  std::unique_ptr<TTrayPeer> CreateTrayPeer(TTrayIcon& icon) override;

  // What a modal dialog's user does while it is open; run once, by the
  // next ShowModal of that form. Without one the dialog closes at once.
  void ScriptModal(TForm& form, std::function<int(TForm&)> script) {
    modalScripts_[&form] = std::move(script);
  }
  // The item the user chooses in the next popup menu (-1: none).
  void ScriptMenuChoice(int item) { menuChoices_.push_back(item); }

  // The log of one control: every change the model applied, in order.
  const std::vector<TChange>& Applied(const TControl& c) const;
  int Count(const TControl& c, TChange change) const;
  int DragCount(const TForm& form) const;
  // Where the last popup menu was shown, and its captions then.
  struct TMenuShown {
    int X, Y;
    std::vector<std::wstring> Captions;
    std::vector<bool> Enabled;  // false for separators and greyed items
  };
  const std::vector<TMenuShown>& MenusShown() const { return menusShown_; }
  // The tray icon as the notification area shows it now.
  struct TTrayState {
    bool Added = false;
    std::wstring Hint;
    int Adds = 0;
  };
  const TTrayState& Tray() const { return tray_; }
  // Where the mouse is on the screen.
  TPoint mouse{};
  // The notification area came back (Explorer restarted).
  void TaskbarCreated();

  // The children of a container as the window system stacks them, the
  // topmost first.
  std::vector<const TControl*> Stacking(const TControl& parent) const;

  TForm* ActiveForm() const { return active_; }
  TControl* FocusedControl() const { return focused_; }

  // Peers only.
  void Activate(TForm& form);
  void ActivateFrom(TForm& form, TForm* previous);
  void FormHidden(TForm& form);
  void FormGone(TForm& form);
  void SetFocused(TControl* c);
  void Stack(const TControl& c);
  void Unstack(const TControl& c);
  // A child moved: the stacking follows what it overlaps now.
  void Restack(const TControl& parent);
  void Log(const TControl& c, TChange change) { log_[&c].push_back(change); }
  void Forget(const TControl& c) {
    log_.erase(&c);
    made_.erase(&c);
  }
  // A control's window is made, as on Windows, when it and its containers
  // first show, or (with `all`) when its form prepares its windows.
  void MakeWindows(const TControl& c, bool all = false);
  bool IsMade(const TControl& c) const { return made_.count(&c) != 0; }
  std::function<int(TForm&)> TakeModalScript(TForm& form);
  int TakeMenuChoice();
  std::map<const TForm*, int> drags;
  std::vector<TMenuShown> menusShown_;
  TTrayState tray_;
  std::vector<TTrayIcon*> trayIcons;
  std::map<TForm*, TControl*> lastFocus;

 private:
  std::map<const TControl*, std::vector<TChange>> log_;
  std::set<const TControl*> made_;
  std::map<const TControl*, std::vector<const TControl*>> stacks_;
  std::map<TForm*, std::function<int(TForm&)>> modalScripts_;
  std::deque<int> menuChoices_;
  std::vector<TForm*> activeOrder_;  // most recent last
  TForm* active_ = nullptr;
  TControl* focused_ = nullptr;
};

TRecordingBackend& Recorder();
