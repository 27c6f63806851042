#include "engine/wake_up_form.h"

#include <exception>

#include "platform/shell.h"

TForm3::TForm3(TShell& shell, std::unique_ptr<TMediaBackend> media)
    : TForm(L"Будильник", 290, 197, 225, 232, TBorderStyle::Single),
      MediaPlayer(std::move(media)),
      shell_(shell) {
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
        MediaPlayer.StopDefaultSound();
        MediaPlayer.Play();
      } else {
        MediaPlayer.PlayDefaultSoundLoop();
      }
    } catch (...) {
      // The old music is gone with the failed open; an alarm must still be
      // heard.
      musicError = std::current_exception();
      MediaPlayer.PlayDefaultSoundLoop();
    }
  }

  if (!file.empty()) shell_.Open(file);

  ShowNormal();
  BringToForeground();

  if (musicError) std::rethrow_exception(musicError);
}

void TForm3::OKClick() { Close(); }

void TForm3::FormClose() {
  if (MediaPlayer.DeviceOpen() && MediaPlayer.CanPlay()) {
    MediaPlayer.Stop();
    MediaPlayer.Seek(0);
  }
  MediaPlayer.StopDefaultSound();
}

void TForm3::MediaPlayerNotify() {
  // Only music that played to its end starts again; music that was stopped
  // or replaced reports superseded or aborted and stays silent.
  if (MediaPlayer.NotifyValue != nvSuccessful) return;
  MediaPlayer.Notify = true;
  MediaPlayer.Play();
}
