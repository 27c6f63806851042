// The wake-up window with the real media player, power and timers.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "controls/win32/mci_backend.h"
#include "fakes/fake_audio_output.h"
#include "platform/win32/audio_output_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/power_win32.h"
#include "platform/win32/tickers_win32.h"
#include "ui/wake_up_rig.h"

namespace {

bool Shows(TForm& form) { return IsWindowVisible(static_cast<HWND>(form.Peer().Handle())); }

// With the real media player: a missing file, or a section's folder with
// no music in it (a random tune with nothing to pick), is told in the
// system's own text once the window shows the message.
TEST(WakeUpFormMci, MissingMusicShowsTheSystemTextAndTheWindow) {
  TWin32Clock clock;
  TWin32Tickers tickers;
  TFakePower power;
  TFakeAudioOutput audio;
  const std::filesystem::path temp = std::filesystem::temp_directory_path();
  const struct {
    const char* name;
    std::wstring music;
  } cases[] = {
      {"a missing file", (temp / L"tivorra-no-such-file.mp3").wstring()},
      {"a section without music", (temp / L"tivorra-empty-section").wstring() + L"\\"},
  };
  std::filesystem::create_directories(temp / L"tivorra-empty-section");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TWakeUpRig rig(CreateMciBackend(), clock, tickers, power, audio);
    rig.RingNow(L"Подъём", L"", c.music);
    ASSERT_EQ(rig.boxes.shown.size(), 1u) << "the failed open was not told";
    EXPECT_FALSE(rig.boxes.shown[0].text.empty());
    EXPECT_TRUE(Shows(rig.window));
    EXPECT_EQ(rig.window.Memo.Text(), L"Подъём");
    rig.window.OK.Click();
    EXPECT_FALSE(Shows(rig.window));
  }
  std::filesystem::remove(temp / L"tivorra-empty-section");
}

// The thread's execution state, read without changing it.
EXECUTION_STATE ExecutionState() { return SetThreadExecutionState(0) & ~ES_USER_PRESENT; }

TEST(WakeUpFormMci, TheRealWindowHoldsThePcAndItsScreenUntilOK) {
  TWin32Clock clock;
  TWin32Tickers tickers;
  TWin32Power power;
  TWin32AudioOutput audio;
  TWakeUpRig rig(CreateMciBackend(), clock, tickers, power, audio);
  TSignalSettings signal;
  signal.FadeSeconds = 5;  // the program's volume, through the real session
  rig.session.SetSignal(signal);
  rig.RingNow(L"Подъём");
  ASSERT_TRUE(Shows(rig.window));
  EXPECT_EQ(ExecutionState(), ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  rig.window.OK.Click();
  EXPECT_FALSE(Shows(rig.window));
  EXPECT_EQ(ExecutionState(), ES_CONTINUOUS);
}

}  // namespace
