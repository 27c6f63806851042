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
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "controls/win32/resources.h"
#include "platform/win32/tickers_win32.h"
#include "ui/wake_up_rig.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_power.h"
#include "fakes/counting_media_backend.h"
#include "fakes/fake_services.h"
#include "platform/win32/clock_win32.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;

// Copied beside the test program by the build.
std::wstring ChimeMp3() {
  wchar_t exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  return (std::filesystem::path(exe).parent_path() / L"chime.mp3").wstring();
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

// Music sections are named by their users, in Russian as often as not,
// whatever the system's ANSI code page is.
TEST(MediaPlayerMci, OpensMusicWhoseNameTheAnsiCodePageCannotSpell) {
  for (const std::wstring name : {L"Утро\\звонок.wav", L"Ünïcödé ✓\\tone.wav"}) {
    TempDir dir;
    const auto file = dir.Path(name);
    std::filesystem::create_directories(file.parent_path());
    WriteBytes(file, ToneWav(1600));
    TRecordingPlayer p;
    p.player.FileName = file.wstring();
    EXPECT_NO_THROW(p.player.Open());
    EXPECT_TRUE(p.player.CanPlay());
  }
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
    // Long enough for the chime to end if it still plays. The aborted
    // notice of a stopped play comes late and is dropped.
    PumpUntil([&] { return !p.notices.empty() && !stop; }, 1200ms);
    EXPECT_EQ(p.notices,
              stop ? std::vector<TMPNotifyValue>{} : std::vector<TMPNotifyValue>{nvSuccessful});
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

// The alarm tone is the program's own: a WAVE resource of Tivorra.exe (and
// of this test program, which links the same resource script).
TEST(AlarmTone, IsAShortWaveBuiltIntoTheProgram) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const auto program = std::filesystem::path(self).parent_path().parent_path() / L"Tivorra.exe";
  HMODULE module = LoadLibraryExW(program.wstring().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(IDR_ALARM_TONE), L"WAVE");
  ASSERT_NE(res, nullptr);
  const DWORD size = SizeofResource(module, res);
  const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, res)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(std::string(bytes, 4), "RIFF");
  EXPECT_EQ(std::string(bytes + 8, 8), "WAVEfmt ");
  EXPECT_GT(size, 1000u);
  EXPECT_LT(size, 8192u);
  std::printf("alarm tone resource: %lu bytes\n", static_cast<unsigned long>(size));
  FreeLibrary(module);

  TMediaPlayer player(CreateMciBackend());
  EXPECT_TRUE(player.PlayFallbackSound()) << "the built-in tone did not play";
  player.StopFallbackSound();
}

// A wav that ends as soon as it starts (one sample; under Wine a wav of no
// samples sends no notice at all): the wake-up window plays it twice, then
// the alarm tone takes over instead of a tight loop.
TEST(AlarmTone, TakesOverFromAWavThatEndsAtOnce) {
  TempDir dir;
  WriteBytes(dir.Path(L"empty.wav"), ToneWav(1));
  TWin32Clock clock;
  TWin32Tickers tickers;
  auto counting = std::make_unique<TCountingMediaBackend>(CreateMciBackend());
  TCountingMediaBackend& media = *counting;
  TFakePower power;
  TFakeAudioOutput audio;
  TWakeUpRig rig(std::move(counting), clock, tickers, power, audio);
  rig.RingNow(L"", L"", dir.Path(L"empty.wav").wstring());
  PumpUntil([] { return false; }, 1500ms);
  EXPECT_EQ(media.Plays, 2);
  EXPECT_TRUE(media.FallbackPlaying);
  EXPECT_TRUE(media.FallbackStarted);
  rig.window.OK.Click();
  EXPECT_FALSE(media.FallbackPlaying);
}

}  // namespace

#endif  // _WIN32
