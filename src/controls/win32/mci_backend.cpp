#include "controls/win32/mci_backend.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include "controls/win32/resources.h"
#include "platform/win32/handles.h"
#include "platform/win32/hidden_window.h"
#include "platform/win32/system_libraries.h"
#include "platform/win32/window_boundary.h"

namespace {

constexpr wchar_t kNoticeWindowClass[] = L"TivorraMciNotices";

[[noreturn]] void ThrowMciError(MCIERROR error) {
  const auto code = static_cast<std::uint32_t>(error);
  throw EMCIDeviceError(code, MciErrorText(code));
}

// The wave device opens its file through the ANSI code page, where a
// Russian folder name on a Western system becomes question marks. Such a
// name is given in its short form, which that page can spell.
std::wstring SpellableName(const std::wstring& fileName) {
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, fileName.c_str(), -1, nullptr, 0, nullptr,
                      &lossy);
  if (!lossy) return fileName;
  std::wstring shortName(MAX_PATH, L'\0');
  const DWORD n = GetShortPathNameW(fileName.c_str(), shortName.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return fileName;
  shortName.resize(n);
  return shortName;
}

// Forwards MM_MCINOTIFY to the back end that owns the window.
LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

class TMciBackend : public TMediaBackend {
 public:
  TMciBackend();
  ~TMciBackend() override;
  TMciBackend(const TMciBackend&) = delete;
  TMciBackend& operator=(const TMciBackend&) = delete;

  void Open(const std::wstring& fileName) override;
  void Close() override;
  bool IsOpen() const override { return device_ != 0; }
  std::uint32_t DeviceId() const override { return device_; }
  bool CanPlay() override;
  std::uint32_t Position() override { return Status(MCI_STATUS_POSITION); }
  std::uint32_t Length() override { return Status(MCI_STATUS_LENGTH); }
  void SeekToStart(bool notify) override;
  void Seek(std::uint32_t position, bool notify) override;
  void Play(bool notify) override;
  void Stop(bool notify) override;
  bool PlayFallbackSound() override;
  void StopFallbackSound() override;

  // MM_MCINOTIFY: the code in wParam, the device in lParam. Some drivers
  // (Wine's for mp3) leave lParam 0, which names no device.
  void Notice(WPARAM code, LPARAM device) {
    DeliverNotice(static_cast<TMPNotifyValue>(code), static_cast<std::uint32_t>(LOWORD(device)));
  }

 private:
  std::uint32_t Status(DWORD item);
  // Sends a command to the open device; with notify, the notice comes to
  // the window. Throws EMCIDeviceError when the command fails.
  template <typename TParams>
  void Send(UINT command, DWORD flags, bool notify, TParams& params) {
    if (notify) {
      flags |= MCI_NOTIFY;
      params.dwCallback = reinterpret_cast<DWORD_PTR>(window_.Get());
    }
    const MCIERROR error =
        winmm::SendCommand(device_, command, flags, reinterpret_cast<DWORD_PTR>(&params));
    if (error != 0) ThrowMciError(error);
  }

  win32::TUniqueWindow window_;
  MCIDEVICEID device_ = 0;
};

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  return win32::WindowBoundary(window, message, [&] {
    if (message == MM_MCINOTIFY) {
      auto* backend = win32::HiddenWindowOwner<TMciBackend>(window);
      if (backend) backend->Notice(wParam, lParam);
      return LRESULT{0};
    }
    return DefWindowProcW(window, message, wParam, lParam);
  });
}

TMciBackend::TMciBackend() {
  window_.Reset(win32::CreateHiddenWindow(kNoticeWindowClass, NoticeWindowProc,
                                          win32::THiddenKind::MessageOnly, this));
  if (!window_) throw EAppError(L"Cannot create the media player's notice window");
}

TMciBackend::~TMciBackend() {
  Close();
  StopFallbackSound();
  // Notices already posted to the window die with it, as the member goes.
}

void TMciBackend::Open(const std::wstring& fileName) {
  const std::wstring name = SpellableName(fileName);
  MCI_OPEN_PARMSW params{};
  params.lpstrElementName = name.c_str();
  // No device type: the system picks one from the file's extension.
  const MCIERROR error = winmm::SendCommand(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                         reinterpret_cast<DWORD_PTR>(&params));
  if (error != 0) ThrowMciError(error);
  device_ = params.wDeviceID;
}

void TMciBackend::Close() {
  if (device_ == 0) return;
  MCI_GENERIC_PARMS params{};
  winmm::SendCommand(device_, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&params));
  device_ = 0;
}

bool TMciBackend::CanPlay() {
  if (device_ == 0) return false;
  MCI_GETDEVCAPS_PARMS params{};
  params.dwItem = MCI_GETDEVCAPS_CAN_PLAY;
  Send(MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT, false, params);
  return params.dwReturn != 0;
}

std::uint32_t TMciBackend::Status(DWORD item) {
  MCI_STATUS_PARMS params{};
  params.dwItem = item;
  Send(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, false, params);
  return static_cast<std::uint32_t>(params.dwReturn);
}

void TMciBackend::SeekToStart(bool notify) {
  MCI_SEEK_PARMS params{};
  Send(MCI_SEEK, MCI_SEEK_TO_START | MCI_WAIT, notify, params);
}

void TMciBackend::Seek(std::uint32_t position, bool notify) {
  MCI_SEEK_PARMS params{};
  params.dwTo = position;
  Send(MCI_SEEK, MCI_TO | MCI_WAIT, notify, params);
}

void TMciBackend::Play(bool notify) {
  MCI_PLAY_PARMS params{};
  Send(MCI_PLAY, 0, notify, params);
}

void TMciBackend::Stop(bool notify) {
  MCI_GENERIC_PARMS params{};
  Send(MCI_STOP, MCI_WAIT, notify, params);
}

bool TMciBackend::PlayFallbackSound() {
  // From the program's own resources, so that no sound scheme (not even "No
  // sounds") and no missing file can silence it; SND_NODEFAULT keeps the
  // system from swapping in its own sound.
  return winmm::PlaySound(MAKEINTRESOURCEW(IDR_ALARM_TONE), GetModuleHandleW(nullptr),
                    SND_RESOURCE | SND_ASYNC | SND_LOOP | SND_NODEFAULT) != FALSE;
}

void TMciBackend::StopFallbackSound() { winmm::PlaySound(nullptr, nullptr, 0); }

}  // namespace

std::unique_ptr<TMediaBackend> CreateMciBackend() { return std::make_unique<TMciBackend>(); }

std::wstring MciErrorText(std::uint32_t errorCode) {
  wchar_t text[MAXERRORLENGTH] = {};
  if (!winmm::GetErrorString(errorCode, text, MAXERRORLENGTH) || text[0] == L'\0') {
    return L"Unknown error code";
  }
  return text;
}
