#include "platform/win32/audio_output_win32.h"

#include <windows.h>
// After windows.h, whose types they use.
#include <audiopolicy.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <cmath>

namespace {

// Defined here rather than taken from a GUID library, which not every
// toolchain links the same way.
constexpr GUID kMMDeviceEnumerator = {
    0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};
constexpr GUID kIMMDeviceEnumerator = {
    0xa95664d2, 0x9614, 0x4f35, {0xa7, 0x46, 0xde, 0x8d, 0xb6, 0x36, 0x17, 0xe6}};
constexpr GUID kIAudioEndpointVolume = {
    0x5cdf2c82, 0x841e, 0x4546, {0x97, 0x22, 0x0c, 0xf7, 0x40, 0x78, 0x22, 0x9a}};
constexpr GUID kIAudioSessionManager = {
    0xbfa971f1, 0x4d5e, 0x40bb, {0x93, 0x5e, 0x96, 0x70, 0x39, 0xbf, 0xbe, 0xe4}};

// Holds one COM reference.
template <typename T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() {
    if (p_) p_->Release();
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  T* operator->() const { return p_; }
  T** Out() { return &p_; }
  void** OutVoid() { return reinterpret_cast<void**>(&p_); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// COM on the window thread, once; the program never leaves it.
bool ComReady() {
  static const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  // Already initialised by someone else in another model works as well.
  return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
}

// The default output device for music, or none.
bool DefaultOutput(TComPtr<IMMDevice>& device) {
  if (!ComReady()) return false;
  TComPtr<IMMDeviceEnumerator> devices;
  if (FAILED(CoCreateInstance(kMMDeviceEnumerator, nullptr, CLSCTX_INPROC_SERVER,
                              kIMMDeviceEnumerator, devices.OutVoid())) ||
      !devices) {
    return false;
  }
  return SUCCEEDED(devices->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Out())) &&
         device;
}

bool EndpointVolume(TComPtr<IAudioEndpointVolume>& volume) {
  TComPtr<IMMDevice> device;
  if (!DefaultOutput(device)) return false;
  return SUCCEEDED(device->Activate(kIAudioEndpointVolume, CLSCTX_INPROC_SERVER, nullptr,
                                    volume.OutVoid())) &&
         volume;
}

}  // namespace

std::optional<TOutputVolume> TWin32AudioOutput::Read() {
  TComPtr<IAudioEndpointVolume> volume;
  if (!EndpointVolume(volume)) return std::nullopt;
  BOOL muted = FALSE;
  float level = 0;
  if (FAILED(volume->GetMute(&muted)) || FAILED(volume->GetMasterVolumeLevelScalar(&level))) {
    return std::nullopt;
  }
  return TOutputVolume{muted != FALSE, static_cast<int>(std::lround(level * 100))};
}

void TWin32AudioOutput::Write(const TOutputVolume& v) {
  TComPtr<IAudioEndpointVolume> volume;
  if (!EndpointVolume(volume)) return;
  volume->SetMasterVolumeLevelScalar(static_cast<float>(std::clamp(v.Percent, 0, 100)) / 100.0f,
                                     nullptr);
  volume->SetMute(v.Muted ? TRUE : FALSE, nullptr);
}

void TWin32AudioOutput::SetProgramGain(double gain) {
  TComPtr<IMMDevice> device;
  if (!DefaultOutput(device)) return;
  TComPtr<IAudioSessionManager> sessions;
  if (FAILED(device->Activate(kIAudioSessionManager, CLSCTX_INPROC_SERVER, nullptr,
                              sessions.OutVoid())) ||
      !sessions) {
    return;
  }
  // The program's default session: every sound it plays, music and tone.
  TComPtr<ISimpleAudioVolume> session;
  if (FAILED(sessions->GetSimpleAudioVolume(nullptr, FALSE, session.Out())) || !session) return;
  session->SetMasterVolume(static_cast<float>(std::clamp(gain, 0.0, 1.0)), nullptr);
}
