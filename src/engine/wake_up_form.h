// The wake-up window: shows a fired alarm's message, opens its file and
// loops its music until the user presses "OK". One instance, reused.
#pragma once

#include <memory>
#include <string>

#include "controls/controls.h"
#include "controls/media_player.h"
#include "engine/alarm_check.h"

class TShell;

class TForm3 : public TForm, public TAlarmReceiver {
 public:
  TForm3(TShell& shell, std::unique_ptr<TMediaBackend> media);

  // Performs one alarm. Music that cannot be opened does not silence the
  // alarm: the rest still happens, the system's default sound loops in its
  // place, and the error is passed on once the window is up.
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override;

  void OKClick();
  void FormClose();
  void MediaPlayerNotify();

  TMediaPlayer MediaPlayer;
  TMemo Memo{this, 8, 8, 209, 185};
  TButton OK{this, 72, 200, 75, 25, L"OK"};

 private:
  TShell& shell_;
};
