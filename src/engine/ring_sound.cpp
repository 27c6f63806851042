#include "engine/ring_sound.h"

#include "platform/callback_boundary.h"
#include "platform/clock.h"
#include "platform/tickers.h"

TRingSound::TRingSound(TRingPlayer& player, TClock& clock, TAudioOutput& audio,
                       TTickers& tickers)
    : player_(player), clock_(clock), audio_(audio), volume_(audio), fade_(tickers.Make()),
      retry_(tickers.Make()) {
  fade_->OnTick = [this] { FadeStep(); };
  retry_->OnTick = [this] {
    if (const auto error = RetryStep(); error && OnError) OnError(*error);
  };
}

TRingSound::~TRingSound() = default;

void TRingSound::Begin(bool fresh) {
  on_ = true;
  if (!fresh || signal_.FadeSeconds <= 0) return;
  fadeStartMs_ = clock_.UptimeMs();
  faded_ = true;
  audio_.SetProgramGain(FadeGain(0, signal_.FadeSeconds));
  fade_->Start(kFadeStepMs);
}

std::optional<std::wstring> TRingSound::PlayMusic(const std::wstring& music, bool again) {
  // Without music of its own, a second alarm leaves the first one's playing.
  if (music.empty()) return std::nullopt;
  try {
    const bool reuse = again && music == openMusic_ && player_.IsOpen();
    if (!reuse) {
      openMusic_.clear();
      player_.Open(music);
      openMusic_ = music;
    }
    if (player_.CanPlay()) {
      player_.StopTone();
      quickEnds_ = 0;
      Play();
    } else {
      player_.PlayTone();
    }
  } catch (...) {
    // The old music is gone with the failed open; an alarm must still be
    // heard.
    player_.PlayTone();
    if (!JustResumed()) return CurrentErrorText();
    // Right after a resume the sound device is often not back yet: the
    // tone now, the music as soon as it opens, the error only if it never
    // does.
    retryMusic_ = music;
    retry_->Start(kRetryMs);
  }
  return std::nullopt;
}

void TRingSound::RaiseOutput() {
  // After the window is up: reading the output goes through COM and the
  // sound system, which must not hold back the ring itself.
  if (signal_.RaiseVolume) volume_.Raise(signal_.MinVolume);
}

std::optional<std::wstring> TRingSound::End() {
  on_ = false;
  fade_->Stop();
  retry_->Stop();
  retryMusic_.clear();
  // Other sounds of the program, and the next alarm, start at full.
  if (faded_) audio_.SetProgramGain(1.0);
  faded_ = false;
  volume_.Restore();
  std::optional<std::wstring> error;
  try {
    if (player_.IsOpen() && player_.CanPlay()) player_.Stop();
  } catch (...) {
    error = CurrentErrorText();
  }
  player_.StopTone();
  return error;
}

std::optional<std::wstring> TRingSound::MusicEnded(TMusicEnd how) {
  // After the ring nothing may start again: nothing would stop it.
  if (!on_) return std::nullopt;
  if (how == TMusicEnd::Failed) {
    // The device gave up in the middle: the loop has stopped.
    player_.PlayTone();
    return std::nullopt;
  }
  // Music that was stopped or replaced stays silent.
  if (how != TMusicEnd::Finished) return std::nullopt;
  const bool quick = clock_.UptimeMs() - playStartedMs_ < kQuickEndMs;
  quickEnds_ = quick ? quickEnds_ + 1 : 0;
  if (quickEnds_ >= 2) {
    player_.PlayTone();
    return std::nullopt;
  }
  try {
    Play();
  } catch (...) {
    player_.PlayTone();
    return CurrentErrorText();
  }
  return std::nullopt;
}

void TRingSound::Resumed() { resumedMs_ = clock_.UptimeMs(); }

void TRingSound::Play() {
  player_.Play();
  playStartedMs_ = clock_.UptimeMs();
}

bool TRingSound::JustResumed() const {
  return resumedMs_ && clock_.UptimeMs() - *resumedMs_ < kResumeRetryMs;
}

void TRingSound::FadeStep() {
  const double gain = FadeGain(static_cast<std::int64_t>(clock_.UptimeMs() - fadeStartMs_),
                               signal_.FadeSeconds);
  audio_.SetProgramGain(gain);
  if (gain >= 1.0) fade_->Stop();
}

std::optional<std::wstring> TRingSound::RetryStep() {
  if (!on_ || retryMusic_.empty()) {
    retry_->Stop();
    return std::nullopt;
  }
  try {
    player_.Open(retryMusic_);
  } catch (...) {
    if (JustResumed()) return std::nullopt;
    // The device did not come back in time: the tone goes on, and the
    // user learns why the music did not play.
    retry_->Stop();
    retryMusic_.clear();
    return CurrentErrorText();
  }
  openMusic_ = retryMusic_;
  retryMusic_.clear();
  retry_->Stop();
  if (!player_.CanPlay()) return std::nullopt;
  player_.StopTone();
  quickEnds_ = 0;
  Play();
  return std::nullopt;
}
