#include "ui/wake_up_window.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "platform/decimal_text.h"

#include "platform/clock.h"
#include "platform/shell.h"

TWakeUpWindow::TWakeUpWindow(TShell& shell, TClock& clock, std::unique_ptr<TMediaBackend> media,
               TPower& power, TAudioOutput& audio)
    : TForm(L"Будильник", 290, 197, 225, 264, TBorderStyle::Single),
      MediaPlayer(std::move(media)),
      shell_(shell),
      clock_(clock),
      audio_(audio),
      awake_(power),
      volume_(audio) {
  FadeTimer.OnTimer = [this] { FadeTimerTimer(); };
  RetryTimer.OnTimer = [this] { RetryTimerTimer(); };
  OK.OnClick = [this] { OKClick(); };
  SnoozeBut.OnClick = [this] { SnoozeButClick(); };
  RingTimer.OnTimer = [this] { RingTimerTimer(); };
  OnClose = [this] { FormClose(); };
  MediaPlayer.OnNotify = [this] { MediaPlayerNotify(); };
}

void TWakeUpWindow::WakeUp(const std::wstring& message, const std::wstring& file,
                    const std::wstring& music) {
  Perform(message, file, music, false);
}

void TWakeUpWindow::WakeUpAgain(const std::wstring& message, const std::wstring& music) {
  Perform(message, L"", music, true);
}

void TWakeUpWindow::Ringing(const TRinging& ringing) {
  // A hidden window was answered: what it rang for then is over.
  if (!Visible()) ringing_.clear();
  std::erase_if(ringing_, [&](const TRinging& r) { return r.Alarm == ringing.Alarm; });
  ringing_.push_back(ringing);
}

namespace {

std::wstring MinutesText(int minutes) {
  return minutes == 60 ? std::wstring(L"1 час") : DecimalText(minutes) + L" мин";
}

}  // namespace

void TWakeUpWindow::StartRing() {
  if (!Visible()) {
    // A fresh choice for a fresh ring; one the user is making stays.
    std::vector<int> minutes = {5, 10, 15, 30, 60};
    if (std::find(minutes.begin(), minutes.end(), signal_.SnoozeMinutes) == minutes.end()) {
      minutes.insert(std::upper_bound(minutes.begin(), minutes.end(), signal_.SnoozeMinutes),
                     signal_.SnoozeMinutes);
    }
    std::vector<std::wstring> items;
    int selected = 0;
    for (const int m : minutes) {
      if (m == signal_.SnoozeMinutes) selected = static_cast<int>(items.size());
      items.push_back(MinutesText(m));
    }
    SnoozeChoice.SetItems(std::move(items));
    SnoozeChoice.SetItemIndex(selected);
  }
  // Each alarm that rings gives the user the whole time to answer.
  RingTimer.SetEnabled(false);
  if (signal_.RingMinutes > 0) {
    RingTimer.SetInterval(signal_.RingMinutes * 60 * 1000);
    RingTimer.SetEnabled(true);
  }
}

int TWakeUpWindow::ChosenSnoozeMinutes() const {
  const std::wstring& text = SnoozeChoice.Text();
  const TDecimalRead number = ReadDecimal(text);
  if (!number.Value) return signal_.SnoozeMinutes;
  // "1 ч", "1 час", "2 часа": hours; any other word, or none, minutes.
  const std::wstring_view unit = std::wstring_view(text).substr(number.End);
  const bool hours = unit.find(L'ч') != std::wstring_view::npos;
  // Wide enough for an hour count as large as an int holds.
  const long long minutes = hours ? *number.Value * 60LL : *number.Value;
  if (minutes < kMinSnoozeMinutes || minutes > kMaxSnoozeMinutes) return signal_.SnoozeMinutes;
  return static_cast<int>(minutes);
}

void TWakeUpWindow::Perform(const std::wstring& message, const std::wstring& file,
                     const std::wstring& music, bool again) {
  StartSound(!Visible());
  StartRing();
  Memo.Clear();
  Memo.SetText(message);
  Memo.Repaint();

  std::exception_ptr musicError;
  if (!music.empty()) {
    MediaPlayer.FileName = music;
    try {
      const bool reuse = again && music == openMusic_ && MediaPlayer.DeviceOpen();
      if (!reuse) {
        openMusic_.clear();
        MediaPlayer.Open();
        openMusic_ = music;
      }
      if (MediaPlayer.CanPlay()) {
        MediaPlayer.StopFallbackSound();
        quickEnds_ = 0;
        PlayMusic();
      } else {
        MediaPlayer.PlayFallbackSound();
      }
    } catch (...) {
      // The old music is gone with the failed open; an alarm must still be
      // heard.
      MediaPlayer.PlayFallbackSound();
      if (JustResumed()) {
        // Right after a resume the sound device is often not back yet: the
        // tone now, the music as soon as it opens, the error only if it
        // never does.
        retryMusic_ = music;
        RetryTimer.SetEnabled(true);
      } else {
        musicError = std::current_exception();
      }
    }
  }

  if (!file.empty()) shell_.Open(file);

  ShowNormal();
  BringToForeground();
  // After the window is up: reading the output goes through COM and the
  // sound system, which must not hold back the ring itself.
  if (signal_.RaiseVolume) volume_.Raise(signal_.MinVolume);

  if (musicError) std::rethrow_exception(musicError);
}

void TWakeUpWindow::PlayMusic() {
  MediaPlayer.Play();
  playStartedMs_ = clock_.UptimeMs();
}

void TWakeUpWindow::OKClick() { Close(); }

std::vector<TWakeUpWindow::TRinging> TWakeUpWindow::StopRinging() {
  std::vector<TRinging> rang = std::move(ringing_);
  ringing_.clear();
  Close();
  return rang;
}

void TWakeUpWindow::SnoozeButClick() {
  const int minutes = ChosenSnoozeMinutes();
  const std::vector<TRinging> rang = StopRinging();
  if (OnSnooze) OnSnooze(rang, minutes);
}

void TWakeUpWindow::RingTimerTimer() {
  RingTimer.SetEnabled(false);
  if (!Visible()) return;
  const std::vector<TRinging> rang = StopRinging();
  if (OnRingEnded) OnRingEnded(rang);
}

void TWakeUpWindow::Resumed() { resumedMs_ = clock_.UptimeMs(); }

bool TWakeUpWindow::JustResumed() const {
  return resumedMs_ && clock_.UptimeMs() - *resumedMs_ < kResumeRetryMs;
}

void TWakeUpWindow::StartSound(bool firstRing) {
  awake_.SetRinging(true);
  // A second alarm while one rings keeps the volume the first one reached.
  if (!firstRing || signal_.FadeSeconds <= 0) return;
  fadeStartMs_ = clock_.UptimeMs();
  faded_ = true;
  audio_.SetProgramGain(FadeGain(0, signal_.FadeSeconds));
  FadeTimer.SetEnabled(true);
}

void TWakeUpWindow::StopSound() {
  FadeTimer.SetEnabled(false);
  RetryTimer.SetEnabled(false);
  retryMusic_.clear();
  // Other sounds of the program, and the next alarm, start at full.
  if (faded_) audio_.SetProgramGain(1.0);
  faded_ = false;
  volume_.Restore();
  awake_.SetRinging(false);
}

void TWakeUpWindow::FadeTimerTimer() {
  const double gain = FadeGain(static_cast<std::int64_t>(clock_.UptimeMs() - fadeStartMs_),
                               signal_.FadeSeconds);
  audio_.SetProgramGain(gain);
  if (gain >= 1.0) FadeTimer.SetEnabled(false);
}

void TWakeUpWindow::RetryTimerTimer() {
  if (!Visible() || retryMusic_.empty()) {
    RetryTimer.SetEnabled(false);
    return;
  }
  MediaPlayer.FileName = retryMusic_;
  try {
    MediaPlayer.Open();
  } catch (...) {
    if (JustResumed()) return;
    // The device did not come back in time: the tone goes on, and the
    // user learns why the music did not play.
    RetryTimer.SetEnabled(false);
    retryMusic_.clear();
    throw;
  }
  openMusic_ = retryMusic_;
  retryMusic_.clear();
  RetryTimer.SetEnabled(false);
  if (!MediaPlayer.CanPlay()) return;
  MediaPlayer.StopFallbackSound();
  quickEnds_ = 0;
  PlayMusic();
}

void TWakeUpWindow::FormClose() {
  StopSound();
  RingTimer.SetEnabled(false);
  ringing_.clear();
  std::exception_ptr error;
  try {
    if (MediaPlayer.DeviceOpen() && MediaPlayer.CanPlay()) {
      MediaPlayer.Stop();
      MediaPlayer.Seek(0);
    }
  } catch (...) {
    error = std::current_exception();
  }
  MediaPlayer.StopFallbackSound();
  if (error) {
    // A failed close keeps a form open; this one goes all the same, and
    // the report follows once it is gone.
    Hide();
    std::rethrow_exception(error);
  }
}

void TWakeUpWindow::MediaPlayerNotify() {
  // After "OK" nothing may start again: there would be no window to stop it.
  if (!Visible()) return;
  if (MediaPlayer.NotifyValue == nvFailed) {
    // The device gave up in the middle: the loop has stopped.
    MediaPlayer.PlayFallbackSound();
    return;
  }
  // Music that was stopped or replaced reports superseded or aborted and
  // stays silent.
  if (MediaPlayer.NotifyValue != nvSuccessful) return;
  const bool quick = clock_.UptimeMs() - playStartedMs_ < kQuickEndMs;
  quickEnds_ = quick ? quickEnds_ + 1 : 0;
  if (quickEnds_ >= 2) {
    MediaPlayer.PlayFallbackSound();
    return;
  }
  try {
    MediaPlayer.Notify = true;
    PlayMusic();
  } catch (...) {
    MediaPlayer.PlayFallbackSound();
    throw;
  }
}
