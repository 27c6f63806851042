#include "engine/wake_up_form.h"

#include <exception>

#include "platform/clock.h"
#include "platform/shell.h"

TForm3::TForm3(TShell& shell, TClock& clock, std::unique_ptr<TMediaBackend> media)
    : TForm(L"Будильник", 290, 197, 225, 232, TBorderStyle::Single),
      MediaPlayer(std::move(media)),
      shell_(shell),
      clock_(clock) {
  OK.OnClick = [this] { OKClick(); };
  OnClose = [this] { FormClose(); };
  MediaPlayer.OnNotify = [this] { MediaPlayerNotify(); };
}

void TForm3::WakeUp(const std::wstring& message, const std::wstring& file,
                    const std::wstring& music) {
  Memo.Clear();
  Memo.SetText(message);
  Memo.Repaint();

  std::exception_ptr musicError;
  if (!music.empty()) {
    MediaPlayer.FileName = music;
    try {
      MediaPlayer.Open();
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
      musicError = std::current_exception();
      MediaPlayer.PlayFallbackSound();
    }
  }

  if (!file.empty()) shell_.Open(file);

  ShowNormal();
  BringToForeground();

  if (musicError) std::rethrow_exception(musicError);
}

void TForm3::PlayMusic() {
  MediaPlayer.Play();
  playStartedMs_ = clock_.UptimeMs();
}

void TForm3::OKClick() { Close(); }

void TForm3::FormClose() {
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

void TForm3::MediaPlayerNotify() {
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
