#include "fakes/fake_media_backend.h"

void TFakeMediaBackend::FailOpen(const std::wstring& fileName, const std::wstring& errorText) {
  failingOpens_[fileName] = errorText;
}

void TFakeMediaBackend::MarkUnplayable(const std::wstring& fileName) {
  unplayable_.insert(fileName);
}

void TFakeMediaBackend::Complete(TMPNotifyValue value) {
  if (value == nvSuccessful && playing_) {
    playing_ = false;
    MediaPosition = MediaLength;
  }
  DeliverNotice(value, DeviceId());
}

void TFakeMediaBackend::CompleteFrom(std::uint32_t device, TMPNotifyValue value) {
  DeliverNotice(value, device);
}

void TFakeMediaBackend::Open(const std::wstring& fileName) {
  Record(L"open " + fileName, false);
  if (const auto failing = failingOpens_.find(fileName); failing != failingOpens_.end()) {
    throw EMCIDeviceError(kOpenErrorCode, failing->second);
  }
  open_ = true;
  ++device_;
  openFile_ = fileName;
  MediaPosition = 0;
}

void TFakeMediaBackend::Close() {
  Record(L"close", false);
  open_ = false;
  playing_ = false;
  openFile_.clear();
}

bool TFakeMediaBackend::CanPlay() { return open_ && unplayable_.count(openFile_) == 0; }

std::uint32_t TFakeMediaBackend::Position() {
  RequireOpen();
  return MediaPosition;
}

std::uint32_t TFakeMediaBackend::Length() {
  RequireOpen();
  return MediaLength;
}

void TFakeMediaBackend::SeekToStart(bool notify) {
  Record(L"seek start", notify);
  RequireOpen();
  playing_ = false;
  MediaPosition = 0;
}

void TFakeMediaBackend::Seek(std::uint32_t position, bool notify) {
  Record(L"seek " + std::to_wstring(position), notify);
  RequireOpen();
  playing_ = false;
  MediaPosition = position;
}

void TFakeMediaBackend::Play(bool notify) {
  Record(L"play", notify);
  RequireOpen();
  if (unplayable_.count(openFile_) != 0) {
    throw EMCIDeviceError(0, L"The device cannot play");
  }
  playing_ = true;
}

void TFakeMediaBackend::Stop(bool notify) {
  Record(L"stop", notify);
  RequireOpen();
  playing_ = false;
  if (!failStop_.empty()) {
    const std::wstring text = std::move(failStop_);
    failStop_.clear();
    throw EMCIDeviceError(0, text);
  }
}

bool TFakeMediaBackend::PlayFallbackSound() {
  Record(L"fallback sound start", false);
  fallbackSound_ = !FallbackFails;
  return fallbackSound_;
}

void TFakeMediaBackend::StopFallbackSound() {
  Record(L"fallback sound stop", false);
  fallbackSound_ = false;
}

void TFakeMediaBackend::Record(std::wstring entry, bool notify) {
  if (notify) entry += L"(notify)";
  Log.push_back(std::move(entry));
}

void TFakeMediaBackend::RequireOpen() const {
  if (!open_) throw EMCIDeviceError(0, L"No device is open");
}
