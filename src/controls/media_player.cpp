#include "controls/media_player.h"

#include "controls/dispatcher.h"

TMediaPlayer::TMediaPlayer(std::unique_ptr<TMediaBackend> backend) : backend_(std::move(backend)) {
  backend_->SetNotifyHandler([this](TMPNotifyValue value) { HandleNotice(value); });
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
  if (backend_->IsOpen()) backend_->Close();
}

bool TMediaPlayer::DeviceOpen() const { return backend_->IsOpen(); }

bool TMediaPlayer::CanPlay() { return backend_->IsOpen() && backend_->CanPlay(); }

void TMediaPlayer::Play() {
  Notify = false;
  // A device that has played to its end would finish at once, so the
  // notice would come back immediately without a sound.
  if (AutoRewind && backend_->Position() == backend_->Length()) backend_->SeekToStart(false);
  backend_->Play(true);
}

void TMediaPlayer::Stop() { backend_->Stop(TakeNotify()); }

void TMediaPlayer::Seek(std::uint32_t position) { backend_->Seek(position, TakeNotify()); }

void TMediaPlayer::Rewind() { backend_->SeekToStart(TakeNotify()); }

std::uint32_t TMediaPlayer::Position() { return backend_->Position(); }

std::uint32_t TMediaPlayer::Length() { return backend_->Length(); }

void TMediaPlayer::PlayDefaultSoundLoop() { backend_->PlayDefaultSoundLoop(); }

void TMediaPlayer::StopDefaultSound() { backend_->StopDefaultSound(); }

bool TMediaPlayer::TakeNotify() {
  const bool notify = Notify;
  Notify = false;
  return notify;
}

void TMediaPlayer::HandleNotice(TMPNotifyValue value) {
  NotifyValue = value;
  // A copy: the handler may replace OnNotify while it runs.
  const auto handler = OnNotify;
  DispatchEvent(handler);
}
