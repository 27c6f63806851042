// The media player over real MCI. Under Wine the wav device plays into
// ALSA's null device, which finishes at once; mp3 goes through GStreamer at
// real-time pace, so the mp3 here lasts half a second.
#ifdef _WIN32

#include "controls/win32/mci_backend.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

#include "test_support.h"

namespace {

using namespace std::chrono_literals;

// A 440 Hz tone as 8 kHz mono 16-bit PCM.
Bytes ToneWav(std::uint32_t samples) {
  Bytes b;
  const auto put = [&b](std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const auto tag = [&b](const char* text) { b.insert(b.end(), text, text + 4); };
  tag("RIFF"), put(36 + 2 * samples, 4), tag("WAVE"), tag("fmt "), put(16, 4);
  put(1, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
  tag("data"), put(2 * samples, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    put(static_cast<std::uint16_t>(std::lround(8000 * std::sin(i * 440 * 6.2832 / 8000))), 2);
  }
  return b;
}

// Copied beside the test program by the build.
std::wstring ChimeMp3() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  return (std::filesystem::path(exe).parent_path() / L"chime.mp3").wstring();
}

// Dispatches this thread's messages, where the notices arrive, until done()
// or the time is up.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (MSG msg; !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    if (!done() && std::chrono::steady_clock::now() >= end) return false;
  }
  return true;
}

struct TRecordingPlayer {
  TRecordingPlayer() {
    player.OnNotify = [this] { notices.push_back(player.NotifyValue); };
  }
  auto Count(TMPNotifyValue value) const {
    return std::count(notices.begin(), notices.end(), value);
  }
  TMediaPlayer player{CreateMciBackend()};
  std::vector<TMPNotifyValue> notices;
};

TEST(MediaPlayerMci, WavLoopsOnItsCompletionNotices) {
  TempDir dir;
  WriteBytes(dir.Path(L"tone.wav"), ToneWav(1600));
  TRecordingPlayer p;
  p.player.OnNotify = [&] {
    p.notices.push_back(p.player.NotifyValue);
    // Play rewinds only from the very end, so the loop depends on this.
    EXPECT_EQ(p.player.Position(), p.player.Length());
    if (p.player.NotifyValue == nvSuccessful) p.player.Play();
  };
  p.player.FileName = dir.Path(L"tone.wav").wstring();
  p.player.Open();
  ASSERT_TRUE(p.player.CanPlay());
  EXPECT_EQ(p.player.Length(), 200u);
  p.player.Play();
  // Three notices: the first play and two replays ran to their end.
  EXPECT_TRUE(PumpUntil([&] { return p.Count(nvSuccessful) >= 3; }, 5s));
  EXPECT_EQ(p.Count(nvFailed), 0);
  p.player.OnNotify = nullptr;
}

TEST(MediaPlayerMci, Mp3PlaysToItsEndAndStopCutsItShort) {
  for (const bool stop : {false, true}) {
    SCOPED_TRACE(stop ? "stopped" : "played to its end");
    TRecordingPlayer p;
    p.player.FileName = ChimeMp3();
    p.player.Open();
    ASSERT_TRUE(p.player.CanPlay());
    EXPECT_NEAR(p.player.Length(), 550, 150);
    p.player.Play();
    if (stop) p.player.Stop();
    // Long enough for the chime to end if it still plays.
    PumpUntil([&] { return !p.notices.empty() && !stop; }, 1200ms);
    EXPECT_EQ(p.notices, std::vector<TMPNotifyValue>{stop ? nvAborted : nvSuccessful});
  }
}

TEST(MediaPlayerMci, ErrorsCarryTheSystemsText) {
  TempDir dir;
  const std::vector<std::function<void(TMediaPlayer&)>> failures = {
      [&](TMediaPlayer& p) {
        p.FileName = dir.Path(L"gone.wav").wstring();
        p.Open();
      },
      [](TMediaPlayer& p) { p.Play(); },
  };
  for (const auto& fail : failures) {
    TMediaPlayer player(CreateMciBackend());
    try {
      fail(player);
      ADD_FAILURE() << "no error";
    } catch (const EMCIDeviceError& e) {
      wchar_t text[MAXERRORLENGTH] = {};
      ASSERT_TRUE(mciGetErrorStringW(e.ErrorCode(), text, MAXERRORLENGTH)) << e.ErrorCode();
      EXPECT_EQ(e.Message(), text);
    }
    EXPECT_FALSE(player.DeviceOpen());
  }
  wchar_t text[MAXERRORLENGTH] = {};
  ASSERT_FALSE(mciGetErrorStringW(0xFFFF, text, MAXERRORLENGTH));
  EXPECT_EQ(MciErrorText(0xFFFF), L"Unknown error code");
}

}  // namespace

#endif  // _WIN32
