// Wraps a real media back end and counts what the program asks of it, for
// tests that need the real device and still want to see how often it was
// played and whether the alarm tone stood in.
#pragma once

#include <memory>
#include <utility>

#include "controls/media_player.h"

class TCountingMediaBackend : public TMediaBackend {
 public:
  explicit TCountingMediaBackend(std::unique_ptr<TMediaBackend> inner) : inner_(std::move(inner)) {
    inner_->SetNotifyHandler(
        [this](TMPNotifyValue value, std::uint32_t device) { DeliverNotice(value, device); });
  }
  ~TCountingMediaBackend() override { inner_->SetNotifyHandler(nullptr); }

  int Plays = 0;
  bool FallbackPlaying = false;
  bool FallbackStarted = false;  // PlayFallbackSound said it plays

  void Open(const std::wstring& fileName) override { inner_->Open(fileName); }
  void Close() override { inner_->Close(); }
  bool IsOpen() const override { return inner_->IsOpen(); }
  std::uint32_t DeviceId() const override { return inner_->DeviceId(); }
  bool CanPlay() override { return inner_->CanPlay(); }
  std::uint32_t Position() override { return inner_->Position(); }
  std::uint32_t Length() override { return inner_->Length(); }
  void SeekToStart(bool notify) override { inner_->SeekToStart(notify); }
  void Seek(std::uint32_t position, bool notify) override { inner_->Seek(position, notify); }
  void Play(bool notify) override {
    ++Plays;
    inner_->Play(notify);
  }
  void Stop(bool notify) override { inner_->Stop(notify); }
  bool PlayFallbackSound() override {
    FallbackPlaying = true;
    FallbackStarted = inner_->PlayFallbackSound();
    return FallbackStarted;
  }
  void StopFallbackSound() override {
    FallbackPlaying = false;
    inner_->StopFallbackSound();
  }

 private:
  std::unique_ptr<TMediaBackend> inner_;
};
