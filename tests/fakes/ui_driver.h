// What a test needs of the user's side where the two halves differ only
// in how it is done: natively the recording backend answers, under Windows
// the real windows and messages do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"

// What the user does in the next modal run of the form, while it is open;
// the dialog closes afterwards if the script left it open.
void ScriptModal(TForm& form, std::function<int(TForm&)> script);

// The item the user chooses in the next popup menu (-1: none).
void ScriptMenuChoice(int item);

// The last popup menu a scripted choice was made in, as it was shown: its
// place on the screen, its captions, and which items could be chosen
// (separators and greyed items not).
struct TMenuSeen {
  int X = 0, Y = 0;
  std::vector<std::wstring> Captions;
  std::vector<bool> Enabled;
};
TMenuSeen LastMenuSeen();

// A list row's rectangle on the screen.
struct TScreenRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool Holds(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};
TScreenRect RowOnScreen(const TListBox& list, int row);

// Counts the window drags the form starts from now on.
class TDragWatch {
 public:
  explicit TDragWatch(TForm& form);
  ~TDragWatch();
  TDragWatch(const TDragWatch&) = delete;
  TDragWatch& operator=(const TDragWatch&) = delete;
  int Count() const;

 private:
  [[maybe_unused]] TForm& form_;  // natively the recorder counts per form
  int base_ = 0;
};

// Lets the window system deliver what is waiting (nothing natively).
void Pump();
// Waits until the window system has answered what was done: activation and
// focus come back from X a moment later under Wine (nothing natively).
void Settle();

// The children of a container as the window system stacks them, the
// topmost first.
std::vector<const TControl*> StackOf(const TControl& parent);
