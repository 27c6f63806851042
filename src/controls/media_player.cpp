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

// --- THeadlessMediaBackend ---

void THeadlessMediaBackend::FailOpen(const std::wstring& fileName, const std::wstring& errorText) {
  failingOpens_[fileName] = errorText;
}

void THeadlessMediaBackend::MarkUnplayable(const std::wstring& fileName) {
  unplayable_.insert(fileName);
}

void THeadlessMediaBackend::Complete(TMPNotifyValue value) {
  if (value == nvSuccessful && playing_) {
    playing_ = false;
    MediaPosition = MediaLength;
  }
  DeliverNotice(value);
}

void THeadlessMediaBackend::Open(const std::wstring& fileName) {
  Record(L"open " + fileName, false);
  if (const auto failing = failingOpens_.find(fileName); failing != failingOpens_.end()) {
    throw EMCIDeviceError(kOpenErrorCode, failing->second);
  }
  open_ = true;
  openFile_ = fileName;
  MediaPosition = 0;
}

void THeadlessMediaBackend::Close() {
  Record(L"close", false);
  open_ = false;
  playing_ = false;
  openFile_.clear();
}

bool THeadlessMediaBackend::CanPlay() { return open_ && unplayable_.count(openFile_) == 0; }

std::uint32_t THeadlessMediaBackend::Position() {
  RequireOpen();
  return MediaPosition;
}

std::uint32_t THeadlessMediaBackend::Length() {
  RequireOpen();
  return MediaLength;
}

void THeadlessMediaBackend::SeekToStart(bool notify) {
  Record(L"seek start", notify);
  RequireOpen();
  playing_ = false;
  MediaPosition = 0;
}

void THeadlessMediaBackend::Seek(std::uint32_t position, bool notify) {
  Record(L"seek " + std::to_wstring(position), notify);
  RequireOpen();
  playing_ = false;
  MediaPosition = position;
}

void THeadlessMediaBackend::Play(bool notify) {
  Record(L"play", notify);
  RequireOpen();
  if (unplayable_.count(openFile_) != 0) {
    throw EMCIDeviceError(0, L"The device cannot play");
  }
  playing_ = true;
}

void THeadlessMediaBackend::Stop(bool notify) {
  Record(L"stop", notify);
  RequireOpen();
  playing_ = false;
}

void THeadlessMediaBackend::PlayDefaultSoundLoop() {
  Record(L"default sound start", false);
  defaultSound_ = true;
}

void THeadlessMediaBackend::StopDefaultSound() {
  Record(L"default sound stop", false);
  defaultSound_ = false;
}

void THeadlessMediaBackend::Record(std::wstring entry, bool notify) {
  if (notify) entry += L"(notify)";
  Log.push_back(std::move(entry));
}

void THeadlessMediaBackend::RequireOpen() const {
  if (!open_) throw EMCIDeviceError(0, L"No device is open");
}
