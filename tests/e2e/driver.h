// Drives the built Tivorra.exe from another process as a person does: the
// mouse moved to a control's place on the screen and clicked, keys pressed
// for whatever window has the focus. What it reads back comes through what
// Windows offers any program: its windows, their messages, the registry
// and files.
#pragma once
#ifdef _WIN32
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"

namespace e2e {

using namespace std::chrono_literals;

// Polls until done() or the time is up; returns done() at the end.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit);

// The Tivorra.exe that was built beside the tests.
std::filesystem::path BuiltProgram();

// One run of the program in a folder of its own.
class Program {
 public:
  explicit Program(const TempDir& dir);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  void Start(const std::wstring& params = L"");
  // A top-level window of the program with this title, or null.
  HWND Window(const wchar_t* title, bool visibleOnly = true) const;
  // A visible message box of the program, or null.
  HWND MessageBox() const;
  // A top-level window of the program of this class, visible or not.
  HWND WindowOfClass(const wchar_t* cls, bool visibleOnly) const;
  bool Ended(std::chrono::milliseconds limit) const;
  DWORD ExitCode() const;
  HANDLE Process() const { return pi_.hProcess; }
  // The program's copy in its folder, as Windows names it there.
  std::wstring ExePath() const;

  // The main window, waited for.
  HWND Main(std::chrono::milliseconds limit = 15s) const;

 private:
  HWND Find(const std::function<bool(HWND)>& match) const;
  const TempDir& dir_;
  PROCESS_INFORMATION pi_{};
};

std::wstring TextOf(HWND h);
HWND ChildWithClass(HWND parent, const wchar_t* cls);

// Any window inside `parent` (at any depth) of this class and, when given,
// with exactly this text.
HWND FindControl(HWND parent, const wchar_t* cls, const wchar_t* text = nullptr);
std::vector<HWND> FindControls(HWND parent, const wchar_t* cls);

// Real input, as a person gives it: the mouse moved to a place on the
// screen and its left button pressed there, keys pressed on the keyboard
// (they reach whatever window has the focus). What lies on top at that
// place is what the click reaches, as for a user.
void ClickScreen(POINT at, bool twice = false);
// The same with the right button.
void RightClickScreen(POINT at);
void ClickScreenWith(POINT at, bool right, bool twice);
// Keys pressed and released in turn; with `shift` held down around them.
void Keys(std::initializer_list<WORD> keys, bool shift = false);
// Characters typed on the keyboard.
void TypeChars(const std::wstring& text);
// Waits until the program's window thread is back in its message loop:
// what the input started has been handled, unless it opened a modal loop.
bool Settle(HWND anyOfItsWindows);
// The window that has the keyboard focus in the program that owns `h`.
HWND FocusOf(HWND h);
// Tab (or Shift+Tab) until `target` has the focus, as a user watches it.
bool TabTo(HWND anyWindow, HWND target, bool back = false);
// The local clock's second now, counted as the alarm check counts it.
std::int64_t LocalSecondNow();

// A click at the centre of a button, check box or radio button. Press
// waits for the program's handler to finish and is false when that took
// longer than a few seconds (a modal window opened); PressLater returns at
// once, for presses that open one.
bool Press(HWND button);
void PressLater(HWND button);
int CheckState(HWND box);

// A key pressed and released while the control has the focus (given by a
// click into it first when it has not).
void Key(HWND h, UINT vk);
// A left click at a point of a control's client area.
void ClickAt(HWND h, int x, int y);

// List and combo boxes: their texts, and a row or an entry picked with the
// mouse (a combo box is dropped down first).
std::vector<std::wstring> Rows(HWND list);
int SelectedRow(HWND list);
void SelectRow(HWND list, int row);
std::vector<std::wstring> ComboItems(HWND combo);
void PickItem(HWND combo, int index);

// Types over the whole text of an edit or memo: a click into it, the text
// selected with the keyboard, and the new one typed.
void TypeText(HWND edit, const std::wstring& text);

// Common controls take pointers only into their own process: a block of
// the program's memory for their messages.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  LPARAM Address() const { return reinterpret_cast<LPARAM>(at_); }
  bool Read(void* out, std::size_t size) const;

 private:
  HANDLE process_;
  void* at_;
};

// A click on tab `index` of a tab control.
bool ClickTab(HANDLE process, HWND tab, int index);
int SelectedTab(HWND tab);

// The time a date and time picker shows, and a time set with its keyboard
// (a click into it, then the arrow keys field by field).
std::optional<SYSTEMTIME> PickerTime(HANDLE process, HWND picker);
bool SetPickerTime(HANDLE process, HWND picker, int hour, int minute, int second);

// The text of a message box, and a press of its button.
std::wstring MessageBoxText(HWND box);
void AnswerMessageBox(HWND box);

// The program's value under the user's Run key.
std::optional<std::wstring> RunValue();
void RemoveRunValue();

// Windows-1251 bytes of a text, as alarm.rec stores texts.
std::string Cp1251(const std::wstring& text);

}  // namespace e2e
#endif
