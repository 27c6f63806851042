#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "engine/alarm_volume.h"
#include "engine/awake_hold.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_power.h"
#include "platform/power.h"

namespace {

TEST(VolumeGuard, RaisesWhatIsTooQuietAndGivesItBack) {
  struct Case {
    const char* name;
    std::optional<TOutputVolume> before;
    int minPercent;
    std::optional<TOutputVolume> whileRinging;
  };
  const std::vector<Case> cases = {
      {"muted and quiet", TOutputVolume{true, 5}, 50, TOutputVolume{false, 50}},
      {"muted but loud", TOutputVolume{true, 80}, 50, TOutputVolume{false, 80}},
      {"quiet", TOutputVolume{false, 20}, 50, TOutputVolume{false, 50}},
      {"at the minimum", TOutputVolume{false, 50}, 50, TOutputVolume{false, 50}},
      {"loud enough", TOutputVolume{false, 90}, 50, TOutputVolume{false, 90}},
      {"full minimum", TOutputVolume{false, 99}, 100, TOutputVolume{false, 100}},
      {"no device", std::nullopt, 50, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFakeAudioOutput out;
    out.device = c.before;
    {
      TVolumeGuard guard(out);
      guard.Raise(c.minPercent);
      EXPECT_EQ(out.device, c.whileRinging);
      // Nothing written where nothing needed changing.
      EXPECT_EQ(out.writes.size(), c.before == c.whileRinging ? 0u : 1u);
      guard.Raise(c.minPercent);  // a second ring while raised
      guard.Restore();
      EXPECT_EQ(out.device, c.before);
      EXPECT_FALSE(guard.Raised());
    }
    EXPECT_EQ(out.device, c.before) << "the guard's end changed the output again";
  }
}

TEST(VolumeGuard, LeavesAVolumeTheUserSetWhileItRang) {
  TFakeAudioOutput out;
  out.device = TOutputVolume{true, 10};
  TVolumeGuard guard(out);
  guard.Raise(50);
  out.device = TOutputVolume{false, 70};  // the user turns it up meanwhile
  guard.Restore();
  EXPECT_EQ(out.device, (TOutputVolume{false, 70}));
}

TEST(VolumeGuard, GivesBackWhenItEnds) {
  TFakeAudioOutput out;
  out.device = TOutputVolume{true, 30};
  {
    TVolumeGuard guard(out);
    guard.Raise(60);
    EXPECT_EQ(out.device, (TOutputVolume{false, 60}));
  }
  EXPECT_EQ(out.device, (TOutputVolume{true, 30}));
}

TEST(FadeGain, RisesEvenlyInDecibelsFromQuietToFull) {
  struct Case {
    std::int64_t elapsedMs;
    int fadeSeconds;
    double gain;
  };
  const std::vector<Case> cases = {
      {0, 0, 1.0},          // no fade
      {5000, 0, 1.0},       //
      {0, 10, 0.01},        // -40 dB at the start
      {-100, 10, 0.01},     // a clock read before the start
      {2500, 10, 0.0316227766016838},  // -30 dB a quarter in
      {5000, 10, 0.1},      // -20 dB half way
      {10000, 10, 1.0},     // full at the end
      {60000, 10, 1.0},     // and after
      {60000, 120, 0.1},    // half of two minutes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.elapsedMs << " ms of " << c.fadeSeconds << " s");
    EXPECT_NEAR(FadeGain(c.elapsedMs, c.fadeSeconds), c.gain, 1e-9);
  }
}

TEST(FadeGain, EachEqualStepOfTimeIsAnEqualStepInDecibels) {
  double last = 20 * std::log10(FadeGain(0, 30));
  const double step = kFadeRangeDb / 30;
  for (int s = 1; s <= 30; ++s) {
    const double db = 20 * std::log10(FadeGain(s * 1000, 30));
    EXPECT_NEAR(db - last, step, 1e-9) << "second " << s;
    last = db;
  }
  EXPECT_NEAR(last, 0.0, 1e-9);
}

TEST(AwakeHold, HoldsWhileNearOrRingingAndNeverStaysHeld) {
  // Each step: what happens, then the system and display holds expected.
  struct Step {
    const char* what;
    bool near;
    bool ringing;
    bool system;
    bool display;
  };
  const std::vector<std::vector<Step>> roads = {
      {{"early wake", true, false, true, false},
       {"rings", false, true, true, true},
       {"answered", false, false, false, false}},
      {{"rings with no early wake", false, true, true, true},
       {"snoozed", false, false, false, false},
       {"snooze near", true, false, true, false},
       {"rings again", false, true, true, true},
       {"stops by itself", false, false, false, false}},
      {{"early wake", true, false, true, false},
       {"alarm deleted before its moment", false, false, false, false}},
      {{"rings", false, true, true, true},
       {"next alarm near while ringing", true, true, true, true},
       {"answered", true, false, true, false},
       {"the next one rang and was answered", false, false, false, false}},
  };
  for (const auto& road : roads) {
    TFakePower power;
    {
      TAwakeHold hold(power);
      for (const Step& s : road) {
        SCOPED_TRACE(s.what);
        hold.SetAlarmNear(s.near);
        hold.SetRinging(s.ringing);
        EXPECT_EQ(power.system, s.system);
        EXPECT_EQ(power.display, s.display);
      }
    }
    EXPECT_FALSE(power.system);
    EXPECT_FALSE(power.display);
  }
}

TEST(AwakeHold, ReleasesWhenTheProgramEndsWhileRinging) {
  TFakePower power;
  {
    TAwakeHold hold(power);
    hold.SetRinging(true);
    hold.SetRinging(true);
    EXPECT_EQ(power.calls.size(), 1u) << "the same state asked for twice";
  }
  EXPECT_EQ(power.calls.back(), std::make_pair(false, false));
}

TEST(WakeTimersAllowed, ReadsThePlanForTheCurrentSource) {
  struct Case {
    std::optional<std::uint32_t> mains, battery;
    TPowerSource source;
    std::optional<bool> allowed;
  };
  const std::vector<Case> cases = {
      {1, 1, TPowerSource::Mains, true},
      {1, 0, TPowerSource::Mains, true},
      {1, 0, TPowerSource::Battery, false},
      {0, 1, TPowerSource::Mains, false},
      {0, 1, TPowerSource::Battery, true},
      {2, 2, TPowerSource::Mains, false},  // important wake timers only
      {2, 1, TPowerSource::Battery, true},
      {7, 1, TPowerSource::Mains, std::nullopt},  // a value Windows does not document
      {std::nullopt, 0, TPowerSource::Mains, std::nullopt},
      {1, std::nullopt, TPowerSource::Battery, std::nullopt},
      {0, 0, TPowerSource::Unknown, std::nullopt},
      {std::nullopt, std::nullopt, TPowerSource::Mains, std::nullopt},  // no plan
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mains " << c.mains.value_or(99) << ", battery "
                                    << c.battery.value_or(99) << ", source "
                                    << static_cast<int>(c.source));
    EXPECT_EQ(WakeTimersAllowed({c.mains, c.battery}, c.source), c.allowed);
  }
}

}  // namespace
