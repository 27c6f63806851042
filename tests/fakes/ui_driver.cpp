#include "fakes/ui_driver.h"

#ifdef _WIN32
#include <windows.h>

#include <deque>
#include <utility>

#include "controls/win32/win32_backend.h"

namespace {

struct TPending {
  TForm* Form;
  std::function<int(TForm&)> Script;
};
std::deque<TPending>& Pending() {
  static std::deque<TPending> p;
  return p;
}

// A thread timer fires inside the dialog's own message loop: the script
// acts on the open dialog as a user would.
void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
  auto& pending = Pending();
  for (auto it = pending.begin(); it != pending.end(); ++it) {
    if (it->Form->IsModal() && it->Form->Visible()) {
      TPending p = std::move(*it);
      pending.erase(it);
      KillTimer(nullptr, id);
      const int result = p.Script(*p.Form);
      if (result) p.Form->ModalResult = result;
      if (p.Form->Visible()) p.Form->Close();
      return;
    }
  }
  if (pending.empty()) KillTimer(nullptr, id);
}

int gDrags = 0;
HWND gWatched = nullptr;
HHOOK gHook = nullptr;
LRESULT CALLBACK WatchDrags(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->hwnd == gWatched && m->message == WM_SYSCOMMAND &&
      m->wParam == 0xF012) {
    ++gDrags;
    // The system's move loop runs until the mouse is let go: let it go.
    PostMessageW(m->hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  return CallNextHookEx(gHook, code, wp, lp);
}

}  // namespace

void ScriptModal(TForm& form, std::function<int(TForm&)> script) {
  Pending().push_back({&form, std::move(script)});
  SetTimer(nullptr, 0, 10, RunPending);
}

namespace {
int gMenuChoice = -1;
TMenuSeen gMenuSeen;

// What the open menu shows.
TMenuSeen ReadMenu(HWND popup, HMENU menu) {
  TMenuSeen seen;
  RECT r{};
  GetWindowRect(popup, &r);
  seen.X = r.left;
  seen.Y = r.top;
  const int n = GetMenuItemCount(menu);
  for (int i = 0; i < n; ++i) {
    wchar_t text[256] = L"";
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    seen.Captions.push_back(text);
    seen.Enabled.push_back(!(state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)));
  }
  return seen;
}

// Fires inside the menu's own loop: the keys a user would press.
void CALLBACK ChooseInMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND target = GetActiveWindow();
  HWND popup = FindWindowW(L"#32768", nullptr);
  HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
  gMenuSeen = menu ? ReadMenu(popup, menu) : TMenuSeen{};
  const bool greyed = gMenuChoice >= 0 &&
                      gMenuChoice < static_cast<int>(gMenuSeen.Enabled.size()) &&
                      !gMenuSeen.Enabled[static_cast<std::size_t>(gMenuChoice)];
  // A greyed item is not chosen: the user gives up.
  if (gMenuChoice < 0 || greyed) {
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    return;
  }
  // Down moves over separators: count only the items it stops at.
  int downs = gMenuChoice + 1;
  if (menu) {
    downs = 0;
    for (int i = 0; i <= gMenuChoice; ++i) {
      if (!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)) ++downs;
    }
  }
  for (int i = 0; i < downs; ++i) PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(target, WM_KEYDOWN, VK_RETURN, 0);
}
}  // namespace

void ScriptMenuChoice(int item) {
  gMenuChoice = item;
  SetTimer(nullptr, 0, 50, ChooseInMenu);
}

TMenuSeen LastMenuSeen() { return gMenuSeen; }

TScreenRect RowOnScreen(const TListBox& list, int row) {
  HWND h = static_cast<HWND>(list.Peer().Handle());
  RECT r{};
  SendMessageW(h, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  POINT a{r.left, r.top}, b{r.right, r.bottom};
  ClientToScreen(h, &a);
  ClientToScreen(h, &b);
  return {a.x, a.y, b.x, b.y};
}

TDragWatch::TDragWatch(TForm& form) : form_(form) {
  gWatched = static_cast<HWND>(form.Peer().Handle());
  gHook = SetWindowsHookExW(WH_CALLWNDPROC, WatchDrags, nullptr, GetCurrentThreadId());
  base_ = gDrags;
}
TDragWatch::~TDragWatch() {
  UnhookWindowsHookEx(gHook);
  gHook = nullptr;
  gWatched = nullptr;
}
int TDragWatch::Count() const { return gDrags - base_; }

void Pump() { ProcessMessages(); }

void Settle() {
  // What the window system does in answer to a change (focus and
  // activation as X reports them back, a window hidden or shown) comes in
  // a little after it: done once nothing but timers has arrived for a
  // moment. Timers are left out, or a test's own repeating one would keep
  // it waiting for ever.
  constexpr DWORD kQuietMs = 30, kLimitMs = 1000;
  const DWORD start = GetTickCount();
  do {
    ProcessMessages();
  } while (MsgWaitForMultipleObjectsEx(0, nullptr, kQuietMs, QS_ALLINPUT & ~QS_TIMER,
                                       MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT &&
           GetTickCount() - start < kLimitMs);
  ProcessMessages();
}

std::vector<const TControl*> StackOf(const TControl& parent) {
  std::vector<const TControl*> out;
  for (HWND h = GetWindow(static_cast<HWND>(parent.Peer().Handle()), GW_CHILD); h;
       h = GetWindow(h, GW_HWNDNEXT)) {
    for (const TControl* c : parent.Children()) {
      if (c->Peer().Handle() == h) out.push_back(c);
    }
  }
  return out;
}

#else
#include "fakes/recording_backend.h"

void ScriptModal(TForm& form, std::function<int(TForm&)> script) {
  Recorder().ScriptModal(form, std::move(script));
}
void ScriptMenuChoice(int item) { Recorder().ScriptMenuChoice(item); }

TMenuSeen LastMenuSeen() {
  const auto& all = Recorder().MenusShown();
  if (all.empty()) return {};
  const auto& m = all.back();
  return {m.X, m.Y, m.Captions, m.Enabled};
}

// As the recording peers place a list: the form's client area at its
// design place, and rows of the list's item height from its top.
TScreenRect RowOnScreen(const TListBox& list, int row) {
  int x = 0, y = 0;
  for (const TControl* c = &list; c; c = c->Parent()) {
    x += c->Left();
    y += c->Top();
  }
  const int h = list.ItemHeight();
  return {x, y + row * h, x + list.Width(), y + (row + 1) * h};
}

TDragWatch::TDragWatch(TForm& form) : form_(form), base_(Recorder().DragCount(form)) {}
TDragWatch::~TDragWatch() = default;
int TDragWatch::Count() const { return Recorder().DragCount(form_) - base_; }

void Pump() {}
void Settle() {}

std::vector<const TControl*> StackOf(const TControl& parent) {
  return Recorder().Stacking(parent);
}
#endif
