#include "ui/wake_up_window.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "engine/ring_session.h"
#include "platform/decimal_text.h"

TWakeUpWindow::TWakeUpWindow(std::unique_ptr<TMediaBackend> media)
    : TForm(L"Будильник", 290, 197, 225, 264, TBorderStyle::Single),
      MediaPlayer(std::move(media)) {
  OK.OnClick = [this] { OKClick(); };
  SnoozeBut.OnClick = [this] { SnoozeButClick(); };
  // The close box answers as "OK" does; the session hides the window.
  OnClose = [this] {
    if (session_ && session_->Ringing()) session_->Answer();
  };
  MediaPlayer.OnNotify = [this] { MediaPlayerNotify(); };
}

namespace {

std::wstring MinutesText(int minutes) {
  return minutes == 60 ? std::wstring(L"1 час") : DecimalText(minutes) + L" мин";
}

}  // namespace

void TWakeUpWindow::ShowRing(const std::wstring& message, bool fresh, int snoozeMinutes) {
  snoozeMinutes_ = snoozeMinutes;
  if (fresh || !Visible()) {
    // A fresh choice for a fresh ring; one the user is making stays.
    std::vector<int> minutes = {5, 10, 15, 30, 60};
    if (std::find(minutes.begin(), minutes.end(), snoozeMinutes) == minutes.end()) {
      minutes.insert(std::upper_bound(minutes.begin(), minutes.end(), snoozeMinutes),
                     snoozeMinutes);
    }
    std::vector<std::wstring> items;
    int selected = 0;
    for (const int m : minutes) {
      if (m == snoozeMinutes) selected = static_cast<int>(items.size());
      items.push_back(MinutesText(m));
    }
    SnoozeChoice.SetItems(std::move(items));
    SnoozeChoice.SetItemIndex(selected);
  }
  Memo.Clear();
  Memo.SetText(message);
  // Drawn now: the music and the file are opened after the window shows.
  Memo.Repaint();
  ShowNormal();
  BringToForeground();
}

void TWakeUpWindow::BringRingToFront() {
  if (!Visible()) return;
  ShowNormal();
  BringToForeground();
  // Enter answers the ring; a focus left in the message or on the snooze
  // choice would take the key instead.
  OK.SetFocus();
}

int TWakeUpWindow::ChosenSnoozeMinutes(int snoozeMinutes) const {
  const std::wstring& text = SnoozeChoice.Text();
  const TDecimalRead number = ReadDecimal(text);
  if (!number.Value) return snoozeMinutes;
  // "1 ч", "1 час", "2 часа": hours; any other word, or none, minutes.
  const std::wstring_view unit = std::wstring_view(text).substr(number.End);
  const bool hours = unit.find(L'ч') != std::wstring_view::npos;
  // Wide enough for an hour count as large as an int holds.
  const long long minutes = hours ? *number.Value * 60LL : *number.Value;
  if (minutes < kMinSnoozeMinutes || minutes > kMaxSnoozeMinutes) return snoozeMinutes;
  return static_cast<int>(minutes);
}

void TWakeUpWindow::OKClick() {
  if (session_ && session_->Ringing()) {
    session_->Answer();
  } else {
    Hide();
  }
}

void TWakeUpWindow::SnoozeButClick() {
  if (session_ && session_->Ringing()) {
    session_->Snooze(ChosenSnoozeMinutes(snoozeMinutes_));
  } else {
    Hide();
  }
}

void TWakeUpWindow::Open(const std::wstring& file) {
  MediaPlayer.FileName = file;
  MediaPlayer.Open();
}

void TWakeUpWindow::Play() { MediaPlayer.Play(); }

void TWakeUpWindow::Stop() {
  MediaPlayer.Stop();
  MediaPlayer.Seek(0);
}

void TWakeUpWindow::MediaPlayerNotify() {
  if (!session_) return;
  const TMusicEnd how = MediaPlayer.NotifyValue == nvSuccessful ? TMusicEnd::Finished
                        : MediaPlayer.NotifyValue == nvFailed   ? TMusicEnd::Failed
                                                                : TMusicEnd::Other;
  session_->MusicEnded(how);
}
