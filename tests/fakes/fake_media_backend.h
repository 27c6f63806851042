#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "controls/media_player.h"

// A back end without sound for native tests of the forms that use a media
// player. It keeps a log of the commands it received and plays nothing; a
// test decides when a play ends by calling Complete. It sends no notice by
// itself, not even the superseded and aborted ones a real device sends when
// a new command cuts a play short.
//
//   auto backend = std::make_unique<TFakeMediaBackend>();
//   TFakeMediaBackend& media = *backend;
//   TMediaPlayer player(std::move(backend));
//   ...
//   media.Complete(nvSuccessful);  // the music has played to its end
//   EXPECT_EQ(media.Log, (std::vector<std::wstring>{L"open a.mp3", L"play(notify)", ...}));
//
// Log entries, one per command, "(notify)" appended when the command asked
// for a completion notice:
//   "open <file>" (also when the open fails), "close", "play", "stop",
//   "seek start", "seek <position>", "fallback sound start", "fallback sound stop".
// Status queries (CanPlay, Position, Length) are not logged.
class TFakeMediaBackend : public TMediaBackend {
 public:
  // Error code of the opens that FailOpen makes fail.
  static constexpr std::uint32_t kOpenErrorCode = 275;

  std::vector<std::wstring> Log;
  // The length every opened file has; the position, set to 0 by each open.
  // A test may set either at any time.
  std::uint32_t MediaLength = 1000;
  std::uint32_t MediaPosition = 0;

  // Opening this file throws EMCIDeviceError with the text.
  void FailOpen(const std::wstring& fileName, const std::wstring& errorText);
  // The file opens again, as a sound device that has come back.
  void AllowOpen(const std::wstring& fileName) { failingOpens_.erase(fileName); }
  // This file opens, but its device says it cannot play, and playing it
  // throws EMCIDeviceError.
  void MarkUnplayable(const std::wstring& fileName);

  // Delivers a completion notice to the player, as the system does when a
  // command that asked for one ends. A successful notice while playing
  // means the media has played to its end: the position moves to the
  // length and the playing stops.
  void Complete(TMPNotifyValue value);
  // A notice from another device, as a device closed earlier sends it.
  void CompleteFrom(std::uint32_t device, TMPNotifyValue value);
  // Makes the next Stop throw EMCIDeviceError, after it stopped.
  void FailNextStop(const std::wstring& errorText) { failStop_ = errorText; }
  // Makes PlayFallbackSound report that it cannot play.
  bool FallbackFails = false;

  // The file of the open device; empty when nothing is open.
  const std::wstring& OpenFile() const { return openFile_; }
  bool Playing() const { return playing_; }
  bool FallbackSoundPlaying() const { return fallbackSound_; }

  void Open(const std::wstring& fileName) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  // Each open gets a new id, as MCI gives one per open device.
  std::uint32_t DeviceId() const override { return open_ ? device_ : 0; }
  bool CanPlay() override;
  std::uint32_t Position() override;
  std::uint32_t Length() override;
  void SeekToStart(bool notify) override;
  void Seek(std::uint32_t position, bool notify) override;
  void Play(bool notify) override;
  void Stop(bool notify) override;
  bool PlayFallbackSound() override;
  void StopFallbackSound() override;

 private:
  void Record(std::wstring entry, bool notify);
  void RequireOpen() const;

  std::map<std::wstring, std::wstring> failingOpens_;
  std::set<std::wstring> unplayable_;
  std::wstring openFile_;
  bool open_ = false;
  bool playing_ = false;
  bool fallbackSound_ = false;
  std::uint32_t device_ = 0;
  std::wstring failStop_;
};
