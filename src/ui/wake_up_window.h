// The wake-up window: shows a ringing alarm's message, plays its music
// and passes the user's answer on. What rings, how it sounds and how long
// is the ring session's; the window shows it and plays what it is told.
// One instance, reused.
#pragma once

#include <memory>
#include <string>

#include "controls/controls.h"
#include "controls/media_player.h"
#include "engine/ring_sound.h"

class TRingSession;

class TWakeUpWindow : public TForm, public TRingPlayer {
 public:
  explicit TWakeUpWindow(std::unique_ptr<TMediaBackend> media);

  // The session the user's answers go to; set before the first ring.
  void Attach(TRingSession& session) { session_ = &session; }

  // A ring shows `message` in front; a fresh one offers the snooze times
  // anew, with `snoozeMinutes` chosen.
  void ShowRing(const std::wstring& message, bool fresh, int snoozeMinutes);
  // Back in front of every window with the focus on "OK", when it shows:
  // after an unlock it may lie behind what the user was doing before.
  void BringRingToFront();
  // The minutes the choice names; `snoozeMinutes` when its text names none.
  int ChosenSnoozeMinutes(int snoozeMinutes) const;

  void OKClick();
  void SnoozeButClick();

  // The player.
  void Open(const std::wstring& file) override;
  bool IsOpen() override { return MediaPlayer.DeviceOpen(); }
  bool CanPlay() override { return MediaPlayer.CanPlay(); }
  void Play() override;
  void Stop() override;
  void PlayTone() override { MediaPlayer.PlayFallbackSound(); }
  void StopTone() override { MediaPlayer.StopFallbackSound(); }

  TMediaPlayer MediaPlayer;
  TMemo Memo{this, 8, 8, 209, 185};
  TButton OK{this, 72, 200, 75, 25, L"OK"};
  TButton SnoozeBut{this, 8, 232, 89, 25, L"Отложить"};
  TComboBox SnoozeChoice{this, 104, 234, 113, 21};

 private:
  void MediaPlayerNotify();

  TRingSession* session_ = nullptr;
  int snoozeMinutes_ = kDefaultSnoozeMinutes;
};
