// The wake-up window and what a ring asks of the PC: kept awake, heard
// (the output raised, the music faded in), and music that comes late after
// a resume.
#include <gtest/gtest.h>

#include "engine/alarm_volume.h"
#include "ui/wake_up_window_fixture.h"

namespace {

TEST_F(WakeUpForm, HoldsThePcAndItsScreenAwakeOnlyWhileItRings) {
  form->SetSignal({10, 3});
  // Every way a ring ends lets the PC sleep again.
  const std::vector<std::pair<const char*, std::function<void()>>> ends = {
      {"OK", [&] { form->OK.Click(); }},
      {"Отложить", [&] { form->SnoozeBut.Click(); }},
      {"the ring ends by itself", [&] { form->RingTimer.Tick(); }},
      {"the window closed", [&] { form->Close(); }},
  };
  for (const auto& [what, end] : ends) {
    SCOPED_TRACE(what);
    form->Ringing({{akDaily, 1, 1}, 0, 100});
    form->WakeUp(L"a", L"", L"a.wav");
    EXPECT_TRUE(power.system);
    EXPECT_TRUE(power.display);
    end();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(power.system);
    EXPECT_FALSE(power.display);
  }
  // An alarm near keeps the system, not the screen, and outlasts a ring.
  form->Awake().SetAlarmNear(true);
  form->WakeUp(L"a", L"", L"");
  form->OK.Click();
  EXPECT_TRUE(power.system);
  EXPECT_FALSE(power.display);
  form->Awake().SetAlarmNear(false);
  EXPECT_FALSE(power.system);
}

TEST_F(WakeUpForm, RaisesAQuietOutputWhileItRingsAndGivesItBack) {
  struct Case {
    int raise, minVolume;
    std::optional<TOutputVolume> before, ringing;
  };
  const Case cases[] = {
      {1, 50, TOutputVolume{true, 20}, TOutputVolume{false, 50}},
      {1, 50, TOutputVolume{false, 80}, TOutputVolume{false, 80}},
      {1, 90, TOutputVolume{false, 80}, TOutputVolume{false, 90}},
      {0, 50, TOutputVolume{true, 20}, TOutputVolume{true, 20}},  // the user said no
      {1, 50, std::nullopt, std::nullopt},                        // no output device
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.raise << "/" << c.minVolume);
    TSignalSettings signal;
    signal.RaiseVolume = c.raise;
    signal.MinVolume = c.minVolume;
    form->SetSignal(signal);
    audio.device = c.before;
    form->WakeUp(L"a", L"", L"a.wav");
    EXPECT_EQ(audio.device, c.ringing);
    form->WakeUp(L"b", L"", L"");  // a second alarm in the same showing
    form->SnoozeBut.Click();
    EXPECT_EQ(audio.device, c.before);
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WakeUpForm, MusicFadesInEvenlyAndAgainWhenASnoozeRings) {
  TSignalSettings signal;
  signal.FadeSeconds = 10;
  form->SetSignal(signal);
  form->WakeUp(L"a", L"", L"a.wav");
  ASSERT_FALSE(audio.gains.empty());
  EXPECT_NEAR(audio.gains.front(), 0.01, 1e-9) << "the music starts quiet";
  EXPECT_TRUE(form->FadeTimer.Enabled());
  for (int step = 1; step <= 10; ++step) {
    clock.Advance(1000);
    form->FadeTimer.Tick();
    EXPECT_NEAR(audio.gains.back(), FadeGain(step * 1000, 10), 1e-9);
  }
  EXPECT_EQ(audio.gains.back(), 1.0);
  EXPECT_FALSE(form->FadeTimer.Enabled()) << "nothing ticks once it is full";
  // A second alarm while it rings does not start the fade over.
  const std::size_t steps = audio.gains.size();
  form->WakeUp(L"b", L"", L"");
  EXPECT_EQ(audio.gains.size(), steps);
  form->SnoozeBut.Click();
  form->WakeUpAgain(L"a", L"a.wav");
  EXPECT_NEAR(audio.gains.back(), 0.01, 1e-9) << "the snoozed ring fades in again";
  clock.Advance(3000);
  form->OK.Click();
  EXPECT_EQ(audio.gains.back(), 1.0) << "answered half way, the program's volume is whole again";
  EXPECT_FALSE(form->FadeTimer.Enabled());
  // Without a fade nothing touches the program's volume.
  audio.gains.clear();
  form->SetSignal({});
  form->WakeUp(L"a", L"", L"a.wav");
  form->OK.Click();
  EXPECT_TRUE(audio.gains.empty());
}

TEST_F(WakeUpForm, MusicThatOpensLateAfterAResumeTakesOverFromTheTone) {
  media->FailOpen(L"a.mp3", L"device not ready");
  form->Resumed();
  clock.Advance(2000);
  form->WakeUp(L"a", L"", L"a.mp3");
  EXPECT_TRUE(media->FallbackSoundPlaying()) << "the tone at once";
  EXPECT_TRUE(boxes.shown.empty()) << "no error while the device may still come back";
  EXPECT_TRUE(form->RetryTimer.Enabled());
  Commands();
  clock.Advance(1000);
  form->RetryTimer.Tick();
  EXPECT_EQ(Commands(), (Log{L"open a.mp3"}));
  media->AllowOpen(L"a.mp3");
  clock.Advance(1000);
  form->RetryTimer.Tick();
  EXPECT_EQ(Commands(), (Log{L"open a.mp3", L"play(notify)"}));
  EXPECT_FALSE(media->FallbackSoundPlaying());
  EXPECT_FALSE(form->RetryTimer.Enabled());
  EXPECT_TRUE(boxes.shown.empty());
  form->OK.Click();
}

TEST_F(WakeUpForm, MusicThatNeverOpensAfterAResumeIsReportedOnceAtTheEnd) {
  media->FailOpen(L"a.mp3", L"device not ready");
  form->Resumed();
  form->WakeUp(L"a", L"", L"a.mp3");
  for (std::uint64_t t = 1000; t < TWakeUpWindow::kResumeRetryMs; t += 1000) {
    clock.Advance(1000);
    form->RetryTimer.Tick();
  }
  EXPECT_TRUE(boxes.shown.empty());
  clock.Advance(1000);
  form->RetryTimer.Tick();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"device not ready");
  EXPECT_FALSE(form->RetryTimer.Enabled());
  EXPECT_TRUE(media->FallbackSoundPlaying()) << "the tone goes on";
  // Long after a resume, a failed open is reported at once, as always.
  form->OK.Click();
  clock.Advance(60000);
  EXPECT_THROW(form->WakeUp(L"a", L"", L"a.mp3"), EMCIDeviceError);
  EXPECT_FALSE(form->RetryTimer.Enabled());
}

}  // namespace
