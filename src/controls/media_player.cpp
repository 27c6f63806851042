#include "controls/media_player.h"

#include "controls/dispatcher.h"

TMediaPlayer::TMediaPlayer(std::unique_ptr<TMediaBackend> backend) : backend_(std::move(backend)) {
  backend_->SetNotifyHandler(
      [this](TMPNotifyValue value, std::uint32_t device) { HandleNotice(value, device); });
}

TMediaPlayer::~TMediaPlayer() {
  backend_->SetNotifyHandler(nullptr);
  if (backend_->IsOpen()) backend_->Close();
}

void TMediaPlayer::Open() {
  Notify = false;
  Close();
  backend_->Open(FileName);
}

void TMediaPlayer::Close() {
  Notify = false;
  playing_ = false;
  commandNotice_ = false;
  if (backend_->IsOpen()) backend_->Close();
}

bool TMediaPlayer::DeviceOpen() const { return backend_->IsOpen(); }

bool TMediaPlayer::CanPlay() { return backend_->IsOpen() && backend_->CanPlay(); }

void TMediaPlayer::Play() {
  Notify = false;
  // A device that has played to its end would finish at once, so the
  // notice would come back immediately without a sound.
  if (AutoRewind && backend_->Position() == backend_->Length()) backend_->SeekToStart(false);
  playing_ = true;
  backend_->Play(true);
}

// Each of these ends a play before the device is asked, so that a notice of
// that play arriving later finds it over, even when the command fails.
void TMediaPlayer::Stop() {
  playing_ = false;
  backend_->Stop(TakeNotify());
}

void TMediaPlayer::Seek(std::uint32_t position) {
  playing_ = false;
  backend_->Seek(position, TakeNotify());
}

void TMediaPlayer::Rewind() {
  playing_ = false;
  backend_->SeekToStart(TakeNotify());
}

std::uint32_t TMediaPlayer::Position() { return backend_->Position(); }

std::uint32_t TMediaPlayer::Length() { return backend_->Length(); }

bool TMediaPlayer::PlayFallbackSound() { return backend_->PlayFallbackSound(); }

void TMediaPlayer::StopFallbackSound() { backend_->StopFallbackSound(); }

bool TMediaPlayer::TakeNotify() {
  const bool notify = Notify;
  Notify = false;
  commandNotice_ = commandNotice_ || notify;
  return notify;
}

void TMediaPlayer::HandleNotice(TMPNotifyValue value, std::uint32_t device) {
  // Device 0 is none: a driver that does not say which device it speaks for
  // is taken to speak for the current one.
  const bool otherDevice = device != 0 && device != backend_->DeviceId();
  if (otherDevice || (!playing_ && !commandNotice_)) return;
  // Superseded and aborted notices belong to the command that a newer one
  // cut short; the newer one's own notice is still to come.
  if (value == nvSuccessful || value == nvFailed) {
    playing_ = false;
    commandNotice_ = false;
  }
  NotifyValue = value;
  // A copy: the handler may replace OnNotify while it runs.
  const auto handler = OnNotify;
  DispatchEvent(handler);
}
