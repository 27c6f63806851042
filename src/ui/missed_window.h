// "Пропущенные будильники": the alarms whose moments passed while nobody
// could hear them (the PC off or asleep, the program closed), and those
// that rang three times in a row unanswered. One line per alarm; the window
// stays until "OK", and alarms missed meanwhile are added to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "store/program_state.h"

class TRegionalFormats;

class TMissedWindow : public TForm {
 public:
  explicit TMissedWindow(TRegionalFormats& formats);

  struct TEntry {
    TAlarmRef Alarm;
    std::int64_t LatestSecond = 0;  // local, of the latest missed moment
    int Count = 0;
    std::wstring Message;
  };
  // Adds the alarm, or adds to its line when it is listed already, and
  // shows the window in front.
  void Add(const TEntry& entry);
  const std::vector<TEntry>& Entries() const { return entries_; }
  // The line of an entry: when, kind, the message's first characters, and
  // how many moments were missed when more than one.
  std::wstring LineText(const TEntry& entry) const;

  void OKClick();

  TListBox List{this, 8, 8, 545, 147};
  TButton OK{this, 243, 164, 75, 25, L"OK"};

  // How much of a message a line shows.
  static constexpr std::size_t kMessageChars = 40;

 private:
  TRegionalFormats& formats_;
  std::vector<TEntry> entries_;
};

// The opening characters of a message, on one line: up to `chars`
// characters of its first line, with "…" when anything was left out.
std::wstring MessageStart(const std::wstring& message, std::size_t chars);
// The kind as the editor names it.
std::wstring KindName(TAlarmKind kind);
