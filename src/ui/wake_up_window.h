// The wake-up window: shows a fired alarm's message, opens its file and
// loops its music until the user presses "OK". One instance, reused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/media_player.h"
#include "engine/alarm_check.h"
#include "engine/alarm_volume.h"
#include "engine/awake_hold.h"
#include "store/program_state.h"
#include "store/signal_settings.h"

class TAudioOutput;
class TClock;
class TPower;
class TShell;

class TWakeUpWindow : public TForm, public TAlarmReceiver {
 public:
  TWakeUpWindow(TShell& shell, TClock& clock, std::unique_ptr<TMediaBackend> media, TPower& power,
         TAudioOutput& audio);

  // Performs one alarm. Music that cannot be opened or played does not
  // silence the alarm: the rest still happens, the built-in alarm tone
  // loops in its place, and an open's error is passed on once the window
  // is up.
  void WakeUp(const std::wstring& message, const std::wstring& file,
              const std::wstring& music) override;

  // A snoozed alarm rings again: its message and its music, but its file is
  // not opened a second time, and music still open from its first ring is
  // played again without opening it anew.
  void WakeUpAgain(const std::wstring& message, const std::wstring& music);

  // Which alarm the next WakeUp performs, and how many of its rings in a
  // row nobody answered. The window rings for every alarm performed since
  // it was last hidden; "Отложить" and the end of a ring act on all of them.
  struct TRinging {
    TAlarmRef Alarm;
    int Unanswered = 0;
    std::int64_t LocalSecond = 0;  // when it began to ring
  };
  void Ringing(const TRinging& ringing);
  const std::vector<TRinging>& RingingAlarms() const { return ringing_; }

  // The snooze choice and the ring's length follow these.
  void SetSignal(const TSignalSettings& signal) { signal_ = signal; }
  // The minutes the choice names; SnoozeMinutes when its text names none.
  int ChosenSnoozeMinutes() const;

  // The PC has just resumed: for a while its sound device may not be back,
  // and music that cannot be opened is tried again.
  void Resumed();
  static constexpr std::uint64_t kResumeRetryMs = 30000;
  // What keeps the PC awake: the main window says when an alarm is near.
  TAwakeHold& Awake() { return awake_; }

  void OKClick();
  void SnoozeButClick();
  // RingMinutes passed with nobody answering: silent and hidden, then
  // OnRingEnded.
  void RingTimerTimer();
  std::function<void(const std::vector<TRinging>&, int minutes)> OnSnooze;
  std::function<void(const std::vector<TRinging>&)> OnRingEnded;
  // Stops the music and the alarm tone. The window hides even when the
  // music will not stop: the user must always be able to dismiss an alarm.
  // Such an error is passed on after the window is hidden.
  void FormClose();
  void MediaPlayerNotify();
  // The fade's next step, and the next try of music that did not open.
  void FadeTimerTimer();
  void RetryTimerTimer();

  // A play that ends sooner than this after it started, twice in a row,
  // plays nothing a user hears (an empty file, a broken device): the alarm
  // tone takes over rather than replaying it in a tight loop.
  static constexpr std::uint64_t kQuickEndMs = 300;

  TMediaPlayer MediaPlayer;
  TMemo Memo{this, 8, 8, 209, 185};
  TButton OK{this, 72, 200, 75, 25, L"OK"};
  TButton SnoozeBut{this, 8, 232, 89, 25, L"Отложить"};
  TComboBox SnoozeChoice{this, 104, 234, 113, 21};
  TTimer RingTimer{60000, false};
  TTimer FadeTimer{200, false};
  TTimer RetryTimer{1000, false};

 private:
  void PlayMusic();
  void Perform(const std::wstring& message, const std::wstring& file, const std::wstring& music,
               bool again);
  void StartRing();
  // Awake, and the fade begun: before any sound starts.
  void StartSound(bool firstRing);
  void StopSound();
  bool JustResumed() const;
  // Hides the window silently and hands over what rang.
  std::vector<TRinging> StopRinging();

  TShell& shell_;
  TClock& clock_;
  std::uint64_t playStartedMs_ = 0;
  int quickEnds_ = 0;
  TSignalSettings signal_;
  std::vector<TRinging> ringing_;
  // The music the player holds open, after a successful open.
  std::wstring openMusic_;
  TAudioOutput& audio_;
  TAwakeHold awake_;
  TVolumeGuard volume_;
  std::uint64_t fadeStartMs_ = 0;
  bool faded_ = false;
  std::optional<std::uint64_t> resumedMs_;
  // Music that did not open just after a resume, tried again each second.
  std::wstring retryMusic_;
};
