// The wake-up window with the real media player, power and sound output.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "controls/message_boxes.h"
#include "controls/win32/mci_backend.h"
#include "ui/wake_up_window.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_power.h"
#include "fakes/fake_services.h"
#include "platform/win32/audio_output_win32.h"
#include "platform/win32/power_win32.h"

namespace {

// With the real media player: a missing file gives the system's own text,
// and the window still shows the message.
TEST(WakeUpFormMci, MissingMusicShowsTheSystemTextAndTheWindow) {
  TFakeShell shell;
  TFakeClock clock;
  TFakePower power;
  TFakeAudioOutput audio;
  TWakeUpWindow form(shell, clock, CreateMciBackend(), power, audio);
  const std::wstring missing =
      (std::filesystem::temp_directory_path() / L"tivorra-no-such-file.mp3").wstring();
  std::wstring text;
  try {
    form.WakeUp(L"Подъём", L"", missing);
  } catch (const EMCIDeviceError& e) {
    text = e.Message();
    EXPECT_EQ(text, MciErrorText(e.ErrorCode()));
  }
  EXPECT_FALSE(text.empty()) << "the failed open was not reported";
  EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(form.Peer().Handle())));
  EXPECT_EQ(form.Memo.Text(), L"Подъём");
  form.OK.Click();
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(form.Peer().Handle())));
}

// The thread's execution state, read without changing it.
EXECUTION_STATE ExecutionState() { return SetThreadExecutionState(0) & ~ES_USER_PRESENT; }

TEST(WakeUpFormMci, TheRealWindowHoldsThePcAndItsScreenUntilOK) {
  TFakeShell shell;
  TFakeClock clock;
  TWin32Power power;
  TWin32AudioOutput audio;
  TWakeUpWindow form(shell, clock, CreateMciBackend(), power, audio);
  TSignalSettings signal;
  signal.FadeSeconds = 5;  // the program's volume, through the real session
  form.SetSignal(signal);
  form.WakeUp(L"Подъём", L"", L"");
  ASSERT_TRUE(IsWindowVisible(static_cast<HWND>(form.Peer().Handle())));
  EXPECT_EQ(ExecutionState(), ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
  form.OK.Click();
  EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(form.Peer().Handle())));
  EXPECT_EQ(ExecutionState(), ES_CONTINUOUS);
}

}  // namespace
