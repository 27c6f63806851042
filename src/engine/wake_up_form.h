// The wake-up window: shows a fired alarm's message, opens its file and
// loops its music until the user presses "OK". One instance, reused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/controls.h"
#include "controls/media_player.h"
#include "engine/alarm_check.h"

class TClock;
class TShell;

class TForm3 : public TForm, public TAlarmReceiver {
 public:
  TForm3(TShell& shell, TClock& clock, std::unique_ptr<TMediaBackend> media);

  // Performs one alarm. Music that cannot be opened or played does not
  // silence the alarm: the rest still happens, the built-in alarm tone
  // loops in its place, and an open's error is passed on once the window
  // is up.
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override;

  void OKClick();
  // Stops the music and the alarm tone. The window hides even when the
  // music will not stop: the user must always be able to dismiss an alarm.
  // Such an error is passed on after the window is hidden.
  void FormClose();
  void MediaPlayerNotify();

  // A play that ends sooner than this after it started, twice in a row,
  // plays nothing a user hears (an empty file, a broken device): the alarm
  // tone takes over rather than replaying it in a tight loop.
  static constexpr std::uint64_t kQuickEndMs = 300;

  TMediaPlayer MediaPlayer;
  TMemo Memo{this, 8, 8, 209, 185};
  TButton OK{this, 72, 200, 75, 25, L"OK"};

 private:
  void PlayMusic();

  TShell& shell_;
  TClock& clock_;
  std::uint64_t playStartedMs_ = 0;
  int quickEnds_ = 0;
};
