// The media player control: plays one sound file at a time through a back
// end (MCI on Windows, a recording stand-in in native tests) and reports the
// end of a play as a completion notice.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"

// An MCI command failed. The text is the system's text for the error code,
// or "Unknown error code" when the system has none.
class EMCIDeviceError : public EAppError {
 public:
  EMCIDeviceError(std::uint32_t errorCode, std::wstring text)
      : EAppError(std::move(text)), errorCode_(errorCode) {}
  // The MCI error code; 0 when the error did not come from the system.
  std::uint32_t ErrorCode() const { return errorCode_; }

 private:
  std::uint32_t errorCode_;
};

// How a command that asked for a completion notice ended; the values are
// MCI's notice codes.
enum TMPNotifyValue { nvSuccessful = 1, nvSuperseded = 2, nvAborted = 4, nvFailed = 8 };

// The device-level commands the player is built from. Every command but
// Open, Close and CanPlay needs an open device; a command that fails throws
// EMCIDeviceError. Positions and lengths are in the device's time format.
class TMediaBackend {
 public:
  // A notice and the device it came from.
  using TNotifyHandler = std::function<void(TMPNotifyValue, std::uint32_t device)>;

  virtual ~TMediaBackend() = default;

  // Opens the file, the device being chosen from its type, and waits. On
  // failure throws EMCIDeviceError and leaves nothing open. Closes nothing:
  // the caller closes first.
  virtual void Open(const std::wstring& fileName) = 0;
  // Closes the open device, if any. Never throws: a device that will not
  // close properly is forgotten all the same.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // The open device's id; 0 when nothing is open.
  virtual std::uint32_t DeviceId() const = 0;
  // Whether the open device says it can play; false when nothing is open.
  virtual bool CanPlay() = 0;
  virtual std::uint32_t Position() = 0;
  virtual std::uint32_t Length() = 0;
  // The seeks and Stop wait for completion; with notify they also ask for a
  // completion notice.
  virtual void SeekToStart(bool notify) = 0;
  virtual void Seek(std::uint32_t position, bool notify) = 0;
  // Starts playing from the current position and returns at once.
  virtual void Play(bool notify) = 0;
  virtual void Stop(bool notify) = 0;

  // The alarm tone built into the program, in a loop, for when the music
  // cannot be played; independent of the device and of the sound scheme.
  // Returns false when even that cannot play.
  virtual bool PlayFallbackSound() = 0;
  virtual void StopFallbackSound() = 0;

  // Where completion notices go. The back end calls it on the program's
  // thread, outside of its own commands' work.
  void SetNotifyHandler(TNotifyHandler handler) { notifyHandler_ = std::move(handler); }

 protected:
  void DeliverNotice(TMPNotifyValue value, std::uint32_t device) {
    if (notifyHandler_) notifyHandler_(value, device);
  }

 private:
  TNotifyHandler notifyHandler_;
};

class TMediaPlayer {
 public:
  explicit TMediaPlayer(std::unique_ptr<TMediaBackend> backend);
  // Closes the device: a device left open when the process ends can take
  // the sound system down with it.
  ~TMediaPlayer();
  TMediaPlayer(const TMediaPlayer&) = delete;
  TMediaPlayer& operator=(const TMediaPlayer&) = delete;

  // The file the next Open opens.
  std::wstring FileName;
  // Play starts again from the beginning when the media has played to its end.
  bool AutoRewind = true;
  // Makes the next Stop, Seek or Rewind ask for a completion notice. Every
  // command clears it. Play always asks for one.
  bool Notify = false;
  // The result of the last completion notice; read it in OnNotify.
  TMPNotifyValue NotifyValue = nvSuccessful;
  // Raised through the event dispatcher for each completion notice of the
  // current device while a command of it awaits one. Notices of another
  // device, or of a play that was stopped, closed or replaced, come late
  // and are dropped: they must not start anything.
  std::function<void()> OnNotify;

  // Closes what is open, then opens FileName. On failure the
  // EMCIDeviceError passes to the caller and nothing is open.
  void Open();
  void Close();
  bool DeviceOpen() const;
  bool CanPlay();
  // Rewinds first when AutoRewind is on and the position is at the end,
  // then starts playing without waiting, asking for a completion notice.
  void Play();
  void Stop();
  // Waits until the device is at the position.
  void Seek(std::uint32_t position);
  // Waits until the device is at the start of the media.
  void Rewind();
  std::uint32_t Position();
  std::uint32_t Length();

  bool PlayFallbackSound();
  void StopFallbackSound();

 private:
  void HandleNotice(TMPNotifyValue value, std::uint32_t device);
  bool TakeNotify();

  std::unique_ptr<TMediaBackend> backend_;
  // A play is out and its end not yet noticed.
  bool playing_ = false;
  // A stop or seek asked for a notice that has not come yet.
  bool commandNotice_ = false;
};
