// "Пропущенные будильники": the alarms whose moments passed while nobody
// could hear them (the PC off or asleep, the program closed), and those
// that rang three times in a row unanswered. One line per alarm; the window
// stays until "OK", and alarms missed meanwhile are added to it. The list
// is the ring session's; the window shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "engine/missed_alarms.h"

class TRegionalFormats;

class TMissedWindow : public TForm {
 public:
  explicit TMissedWindow(TRegionalFormats& formats);

  // Shows the list in front.
  void ShowMissed(const std::vector<TMissedAlarm>& missed);
  // The line of an entry: when, kind, the message's first characters, and
  // how many moments were missed when more than one.
  std::wstring LineText(const TMissedAlarm& entry) const;

  void OKClick();
  // The list was read and closed: the session starts it anew.
  std::function<void()> OnSeen;

  TListBox List{this, 8, 8, 545, 147};
  TButton OK{this, 243, 164, 75, 25, L"OK"};

  // How much of a message a line shows.
  static constexpr std::size_t kMessageChars = 40;

 private:
  TRegionalFormats& formats_;
};

// The opening characters of a message, on one line: up to `chars`
// characters of its first line, with "…" when anything was left out.
std::wstring MessageStart(const std::wstring& message, std::size_t chars);
// The kind as the editor names it.
std::wstring KindName(TAlarmKind kind);
