// What a ring sounds like: the alarm's music in a loop, or the built-in
// alarm tone wherever the music cannot play; music that is late after a
// resume tried again; a quiet output raised and a fade from quiet to full.
// It decides; the player it is given (the wake-up window's, in the
// program) only does what it is told.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/alarm_volume.h"
#include "store/signal_settings.h"

class TAudioOutput;
class TClock;
class TTicker;
class TTickers;

// The music player and the alarm tone.
class TRingPlayer {
 public:
  virtual ~TRingPlayer() = default;
  // Closes what is open and opens `file`. Throws the player's error, and
  // then nothing is open.
  virtual void Open(const std::wstring& file) = 0;
  virtual bool IsOpen() = 0;
  // Whether the open music's device says it can play.
  virtual bool CanPlay() = 0;
  // Plays the open music and tells how it ended (TRingSound::MusicEnded).
  // Throws the player's error.
  virtual void Play() = 0;
  // Stops the music and goes back to its start. Throws the player's error.
  virtual void Stop() = 0;
  // The tone built into the program, in a loop; independent of the music.
  virtual void PlayTone() = 0;
  virtual void StopTone() = 0;
};

// How a play of the music ended.
enum class TMusicEnd {
  Finished,  // played to its end
  Failed,    // the device gave up in the middle
  Other,     // stopped, replaced or aborted: nothing follows
};

class TRingSound {
 public:
  TRingSound(TRingPlayer& player, TClock& clock, TAudioOutput& audio, TTickers& tickers);
  ~TRingSound();
  TRingSound(const TRingSound&) = delete;
  TRingSound& operator=(const TRingSound&) = delete;

  void SetSignal(const TSignalSettings& signal) { signal_ = signal; }

  // A ring begins: the fade starts from quiet (`fresh`: nothing sounded a
  // moment ago; a second alarm keeps the volume the first one reached).
  void Begin(bool fresh);
  // The alarm's music, once the window is up. `again`: a snoozed alarm
  // ringing anew, whose music still open from its first ring is played
  // without opening it again. Music that cannot be opened or played leaves
  // the tone in its place; the error's text is returned to be told, except
  // right after a resume, when the music is tried again each second.
  std::optional<std::wstring> PlayMusic(const std::wstring& music, bool again);
  // A quiet or muted output is raised to MinVolume while the ring lasts,
  // when the user wants it.
  void RaiseOutput();
  // The ring is over: silent, the output and the program's volume given
  // back. The error of music that would not stop is returned to be told;
  // it never keeps the ring going.
  std::optional<std::wstring> End();

  // The player's notice of how a play ended; nothing happens unless a
  // ring is on.
  std::optional<std::wstring> MusicEnded(TMusicEnd how);
  // The PC has just resumed: for a while its sound device may not be back.
  void Resumed();

  // A play that ends sooner than this after it started, twice in a row,
  // plays nothing a user hears (an empty file, a broken device): the tone
  // takes over rather than replaying it in a tight loop.
  static constexpr std::uint64_t kQuickEndMs = 300;
  static constexpr std::uint64_t kResumeRetryMs = 30000;
  static constexpr std::int64_t kFadeStepMs = 200;
  static constexpr std::int64_t kRetryMs = 1000;

  // The error of music that never opened after a resume, found on the
  // retry's own timer: told through this.
  std::function<void(const std::wstring&)> OnError;

  // What a test looks at: the timers it runs.
  const TTicker& FadeTicker() const { return *fade_; }
  const TTicker& RetryTicker() const { return *retry_; }

 private:
  void Play();
  bool JustResumed() const;
  void FadeStep();
  std::optional<std::wstring> RetryStep();

  TRingPlayer& player_;
  TClock& clock_;
  TAudioOutput& audio_;
  TSignalSettings signal_;
  TVolumeGuard volume_;
  std::unique_ptr<TTicker> fade_;
  std::unique_ptr<TTicker> retry_;
  bool on_ = false;
  std::uint64_t playStartedMs_ = 0;
  int quickEnds_ = 0;
  // The music the player holds open, after a successful open.
  std::wstring openMusic_;
  std::uint64_t fadeStartMs_ = 0;
  bool faded_ = false;
  std::optional<std::uint64_t> resumedMs_;
  // Music that did not open just after a resume, tried again each second.
  std::wstring retryMusic_;
};
