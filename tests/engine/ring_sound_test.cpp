// What a ring sounds like and what it asks of the PC: the music and the
// tone that stands in for it, the window shown before either, the output
// raised and the music faded in, music that comes late after a resume, and
// the PC and its screen kept awake only while it rings.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "engine/alarm_volume.h"
#include "engine/ring_session_fixture.h"

namespace {

class RingSound : public RingSessionTest {
 protected:
  RingSound() { Start(); }
  using Log = std::vector<std::wstring>;
  long Plays() const { return std::count(player.log.begin(), player.log.end(), L"play"); }
};

TEST_F(RingSound, EachActionOnlyWhenItsTextIsSet) {
  struct Case {
    const char* name;
    std::wstring msg, exe, mus;
    Log commands;
  };
  const Case cases[] = {
      {"all empty", L"", L"", L"", {}},
      {"message only", L"Вставай!\rПора", L"", L"", {}},
      {"music only", L"", L"", L"C:\\m\\a.mp3", {L"open C:\\m\\a.mp3", L"play"}},
      {"file only", L"", L"C:\\notes.txt", L"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RingNow(c.msg, c.exe, c.mus);
    EXPECT_TRUE(view.ringShown);
    EXPECT_EQ(view.message, c.msg);
    EXPECT_EQ(player.Take(), c.commands);
    EXPECT_EQ(shell.opened, c.exe.empty() ? std::vector<std::wstring>{}
                                          : std::vector<std::wstring>{c.exe});
    session->Answer();
    EXPECT_FALSE(view.ringShown);
    player.Take();
    shell.opened.clear();
  }
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(RingSound, TheWindowShowsBeforeTheMusicAndTheFileAreOpened) {
  Log heardBefore;
  std::size_t openedBefore = 99;
  view.onShowRing = [&] {
    heardBefore = player.log;
    openedBefore = shell.opened.size();
  };
  RingNow(L"Подъём", L"C:\\plan.txt", L"a.wav");
  EXPECT_EQ(heardBefore, Log{}) << "the player was busy before the window stood";
  EXPECT_EQ(openedBefore, 0u);
  EXPECT_EQ(player.Take(), (Log{L"open a.wav", L"play"}));
  EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(RingSound, AnswerStopsTheMusicAndKeepsItOpenForTheNextRing) {
  RingNow(L"a", L"", L"a.wav");
  player.Take();
  session->Answer();
  EXPECT_EQ(player.Take(), (Log{L"stop"}));
  EXPECT_FALSE(view.ringShown);
  EXPECT_FALSE(player.playing);
  EXPECT_EQ(player.OpenFile(), L"a.wav");
}

TEST_F(RingSound, SnoozeAndTheEndOfARingSilenceAndHandOverEveryAlarmInIt) {
  signal = {15, 3};
  session->SetSignal(signal);
  // Two alarms in one showing: "Отложить" puts off both.
  RingNow(L"a", L"", L"a.wav");
  RingNow(L"b");
  EXPECT_EQ(view.freshRings, 1);
  EXPECT_EQ(view.joinedRings, 1);
  EXPECT_TRUE(RingEnd().Running());
  EXPECT_EQ(RingEnd().IntervalMs(), 3 * kMinute);
  player.Take();
  session->Snooze(15);
  EXPECT_EQ(player.Take(), (Log{L"stop"}));
  EXPECT_FALSE(view.ringShown);
  EXPECT_FALSE(RingEnd().Running());
  ASSERT_EQ(session->Snoozes().size(), 2u);
  EXPECT_EQ(session->Snoozes()[0].Alarm, RefOf(*store, akCountdown, 1));
  EXPECT_EQ(session->Snoozes()[1].Alarm, RefOf(*store, akCountdown, 2));
  for (const TSnooze& z : session->Snoozes()) {
    EXPECT_EQ(z.DueUtcMs, clock.UtcMs + 15 * kMinute);
    EXPECT_EQ(z.Unanswered, 0);
  }

  // "OK" forgets what rang: the next showing's end hands over its own
  // alarm only.
  RingNow(L"c", L"", L"a.wav");
  session->Answer();
  RingNow(L"d", L"", L"a.wav");
  player.Take();
  RingEnd().Tick();
  EXPECT_EQ(player.Take(), (Log{L"stop"}));
  EXPECT_FALSE(view.ringShown);
  ASSERT_EQ(session->Snoozes().size(), 3u);
  EXPECT_EQ(session->Snoozes()[2].Alarm, RefOf(*store, akCountdown, 4));
  EXPECT_EQ(session->Snoozes()[2].Unanswered, 1);
}

TEST_F(RingSound, ASnoozedAlarmRingsAgainWithoutOpeningItsFileOrItsMusicAnew) {
  Daily(EncodeTime(7, 5, 20, 0), L"a", L"C:\\notes.txt", L"a.mp3");
  session->StoreChanged();
  RunToWakeTimer();
  session->Snooze(5);
  player.Take();
  RunToWakeTimer();
  EXPECT_EQ(player.Take(), (Log{L"play"})) << "the device stays open from the first ring";
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_TRUE(view.ringShown);
  EXPECT_EQ(view.message, L"a");
  // Another alarm's music came in between: this one's is opened again.
  session->Snooze(5);
  RingNow(L"b", L"", L"b.mp3");
  session->Answer();
  player.Take();
  RunToWakeTimer();
  EXPECT_EQ(view.message, L"a");
  EXPECT_EQ(player.Take(), (Log{L"close", L"open a.mp3", L"play"}));
}

TEST_F(RingSound, OnlyAPlayThatEndedAtItsEndPlaysAgain) {
  const struct {
    TMusicEnd end;
    Log commands;
  } cases[] = {
      {TMusicEnd::Finished, {L"play"}},
      {TMusicEnd::Other, {}},
      {TMusicEnd::Failed, {L"tone"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.end));
    RingNow(L"loop", L"", L"song.mp3");
    Pass(1000);
    player.Take();
    session->MusicEnded(c.end);
    EXPECT_EQ(player.Take(), c.commands);
    session->Answer();
    player.Take();
  }
  // A notice that comes after the answer starts nothing.
  session->MusicEnded(TMusicEnd::Finished);
  EXPECT_EQ(player.Take(), Log{});
}

TEST_F(RingSound, ASecondAlarmWhileTheFirstRings) {
  RingNow(L"first", L"one.cmd", L"first.mp3");
  player.Take();
  RingNow(L"second", L"two.cmd", L"");
  EXPECT_EQ(view.message, L"second");
  EXPECT_EQ(player.Take(), Log{}) << "without music of its own the first music goes on";
  EXPECT_TRUE(player.playing);
  RingNow(L"third", L"", L"third.wav");
  EXPECT_EQ(view.message, L"third");
  EXPECT_EQ(player.Take(), (Log{L"close", L"open third.wav", L"play"}));
  EXPECT_EQ(shell.opened, (std::vector<std::wstring>{L"one.cmd", L"two.cmd"}));
  EXPECT_TRUE(view.ringShown);
}

TEST_F(RingSound, MusicThatCannotBeOpenedStillWakesTheUserAndIsTold) {
  player.FailOpen(L"gone.mp3", L"Cannot find the specified file.");
  RingNow(L"old", L"", L"old.mp3");
  RingNow(L"Подъём", L"run.cmd", L"gone.mp3");
  EXPECT_EQ(view.errors, std::vector<std::wstring>{L"Cannot find the specified file."});
  EXPECT_EQ(view.message, L"Подъём");
  EXPECT_EQ(shell.opened, std::vector<std::wstring>{L"run.cmd"});
  EXPECT_TRUE(view.ringShown);
  EXPECT_TRUE(player.tone);
  EXPECT_FALSE(player.playing);
  session->Answer();
  EXPECT_FALSE(player.tone);
  // The next alarm's music replaces the stand-in tone.
  RingNow(L"", L"", L"ok.wav");
  EXPECT_TRUE(player.playing);
  EXPECT_FALSE(player.tone);
}

TEST_F(RingSound, TheRingEndsEvenWhenTheMusicWillNotStopAndTheErrorFollowsIt) {
  RingNow(L"Подъём", L"", L"song.mp3");
  session->MusicEnded(TMusicEnd::Failed);  // the loop died: the tone took over
  ASSERT_TRUE(player.tone);
  player.FailNextStop(L"Устройство не отвечает");
  bool hiddenWhenTold = false;
  view.onReport = [&] { hiddenWhenTold = !view.ringShown; };
  session->Answer();
  EXPECT_FALSE(view.ringShown);
  EXPECT_FALSE(player.tone);
  EXPECT_FALSE(power.display);
  EXPECT_EQ(view.errors, std::vector<std::wstring>{L"Устройство не отвечает"});
  EXPECT_TRUE(hiddenWhenTold) << "the error was told while the window still stood";
}

TEST_F(RingSound, MusicThatEndsAtOnceGivesWayToTheAlarmTone) {
  // A zero-length file: each play ends as soon as it starts.
  RingNow(L"", L"", L"empty.wav");
  for (int i = 0; i < 5; ++i) session->MusicEnded(TMusicEnd::Finished);
  EXPECT_EQ(Plays(), 2) << "the empty file was replayed in a loop";
  EXPECT_TRUE(player.tone);
  session->Answer();
  EXPECT_FALSE(player.tone);

  // Music that lasts loops on however many times it ends.
  player.Take();
  RingNow(L"", L"", L"song.mp3");
  for (int i = 0; i < 5; ++i) {
    clock.Advance(TRingSound::kQuickEndMs);
    session->MusicEnded(TMusicEnd::Finished);
  }
  EXPECT_EQ(Plays(), 6);
  EXPECT_FALSE(player.tone);
}

TEST_F(RingSound, TheToneStandsInWheneverTheMusicCannotPlay) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"music that is not there",
       [&] {
         player.FailOpen(L"gone.mp3", L"Cannot find the specified file.");
         RingNow(L"", L"", L"gone.mp3");
       }},
      {"music its device cannot play",
       [&] {
         player.MarkUnplayable(L"odd.mid");
         RingNow(L"", L"", L"odd.mid");
       }},
      {"the loop's restart fails",
       [&] {
         RingNow(L"", L"", L"song.mp3");
         clock.Advance(60000);
         player.MarkUnplayable(L"song.mp3");
         session->MusicEnded(TMusicEnd::Finished);
       }},
      {"the device gives up while playing",
       [&] {
         RingNow(L"", L"", L"fine.mp3");
         session->MusicEnded(TMusicEnd::Failed);
       }},
  };
  // Only what went wrong with the file itself is told; a device that gave
  // up has nothing for the user to mend.
  const std::size_t told[] = {1, 0, 1, 0};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].first);
    view.errors.clear();
    cases[i].second();
    EXPECT_TRUE(player.tone);
    EXPECT_TRUE(view.ringShown);
    EXPECT_EQ(view.errors.size(), told[i]);
    session->Answer();
    EXPECT_FALSE(player.tone);
  }
}

TEST_F(RingSound, AFailingAlarmDoesNotStopTheLaterOnes) {
  session.reset();
  for (int i = 0; i < 3; ++i) Daily(EncodeTime(7, 6, 0, 0), L"daily " + std::to_wstring(i + 1));
  ToShortString(L"broken.mp3", store->DailyAlarms[1].Mus);
  store->WeeklyCount = 1;
  std::fill(std::begin(store->WeeklyAlarms[0].Days), std::end(store->WeeklyAlarms[0].Days), 1);
  store->WeeklyAlarms[0].AlarmTime = EncodeTime(7, 6, 0, 0);
  ToShortString(L"weekly", store->WeeklyAlarms[0].Msg);
  ToShortString(L"week.mp3", store->WeeklyAlarms[0].Mus);
  player.FailOpen(L"broken.mp3", L"no such file");
  Start();
  RunToWakeTimer();
  EXPECT_EQ(view.errors, std::vector<std::wstring>{L"no such file"});
  EXPECT_EQ(view.message, L"weekly");
  EXPECT_EQ(player.OpenFile(), L"week.mp3");
  EXPECT_TRUE(player.playing);
  EXPECT_EQ(session->Rings().size(), 4u) << "every alarm of the second rings";
}

TEST_F(RingSound, HoldsThePcAndItsScreenAwakeOnlyWhileItRings) {
  signal = {10, 3};
  session->SetSignal(signal);
  const std::vector<std::pair<const char*, std::function<void()>>> ends = {
      {"OK", [&] { session->Answer(); }},
      {"Отложить", [&] { session->Snooze(10); }},
      {"the ring ends by itself", [&] { Pass(3 * kMinute); }},
  };
  for (const auto& [what, end] : ends) {
    SCOPED_TRACE(what);
    RingNow(L"a", L"", L"a.wav");
    EXPECT_TRUE(power.system);
    EXPECT_TRUE(power.display);
    end();
    EXPECT_FALSE(view.ringShown);
    EXPECT_FALSE(power.system);
    EXPECT_FALSE(power.display);
  }
  // An alarm near keeps the system, not the screen, and outlasts a ring.
  store->DailyAlarms[store->DailyCount].AlarmTime =
      static_cast<double>(clock.LocalMs % kMsPerDay + 30000) / kMsPerDay;
  ToShortString(L"near", store->DailyAlarms[store->DailyCount++].Msg);
  session->StoreChanged();
  EXPECT_TRUE(power.system);
  EXPECT_FALSE(power.display);
  RingNow(L"now");
  session->Answer();
  EXPECT_TRUE(power.system);
  EXPECT_FALSE(power.display);
  DeleteAlarm(*store, akDaily, 1);
  session->StoreChanged();
  EXPECT_FALSE(power.system);
}

TEST_F(RingSound, RaisesAQuietOutputWhileItRingsAndGivesItBack) {
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
    signal.RaiseVolume = c.raise;
    signal.MinVolume = c.minVolume;
    session->SetSignal(signal);
    audio.device = c.before;
    RingNow(L"a", L"", L"a.wav");
    EXPECT_EQ(audio.device, c.ringing);
    RingNow(L"b");  // a second alarm in the same showing
    SnoozeAsOffered();
    EXPECT_EQ(audio.device, c.before);
  }
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(RingSound, MusicFadesInEvenlyAndAgainWhenASnoozeRings) {
  signal.FadeSeconds = 10;
  session->SetSignal(signal);
  const TTicker& fade = session->Sound().FadeTicker();
  RingNow(L"a", L"", L"a.wav");
  ASSERT_FALSE(audio.gains.empty());
  EXPECT_NEAR(audio.gains.front(), 0.01, 1e-9) << "the music starts quiet";
  EXPECT_TRUE(fade.Running());
  for (int step = 1; step <= 10; ++step) {
    Pass(1000);
    EXPECT_NEAR(audio.gains.back(), FadeGain(step * 1000, 10), 1e-9);
  }
  EXPECT_EQ(audio.gains.back(), 1.0);
  EXPECT_FALSE(fade.Running()) << "nothing ticks once it is full";
  // A second alarm while it rings does not start the fade over.
  const std::size_t steps = audio.gains.size();
  RingNow(L"b");
  EXPECT_EQ(audio.gains.size(), steps);
  session->Snooze(5);
  RunToWakeTimer();
  ASSERT_TRUE(view.ringShown);
  EXPECT_NEAR(audio.gains.back(), 0.01, 1e-9) << "the snoozed ring fades in again";
  Pass(3000);
  session->Answer();
  EXPECT_EQ(audio.gains.back(), 1.0) << "answered half way, the program's volume is whole again";
  EXPECT_FALSE(fade.Running());
  // Without a fade nothing touches the program's volume.
  audio.gains.clear();
  session->SetSignal({});
  RingNow(L"a", L"", L"a.wav");
  session->Answer();
  EXPECT_TRUE(audio.gains.empty());
}

TEST_F(RingSound, MusicThatOpensLateAfterAResumeTakesOverFromTheTone) {
  player.FailOpen(L"a.mp3", L"device not ready");
  wakeTimer.Resume();
  RingNow(L"a", L"", L"a.mp3");
  const TTicker& retry = session->Sound().RetryTicker();
  EXPECT_TRUE(player.tone) << "the tone at once";
  EXPECT_TRUE(view.errors.empty()) << "no error while the device may still come back";
  EXPECT_TRUE(retry.Running());
  player.Take();
  Pass(1000);
  EXPECT_EQ(player.Take(), (Log{L"open a.mp3"}));
  player.AllowOpen(L"a.mp3");
  Pass(1000);
  EXPECT_EQ(player.Take(), (Log{L"open a.mp3", L"tone stop", L"play"}));
  EXPECT_FALSE(player.tone);
  EXPECT_FALSE(retry.Running());
  EXPECT_TRUE(view.errors.empty());
}

TEST_F(RingSound, MusicThatNeverOpensAfterAResumeIsToldOnceAtTheEnd) {
  player.FailOpen(L"a.mp3", L"device not ready");
  wakeTimer.Resume();
  const std::uint64_t resumed = clock.Uptime;
  RingNow(L"a", L"", L"a.mp3");
  while (view.errors.empty() && clock.Uptime - resumed < 60000) Pass(1000);
  ASSERT_EQ(view.errors, std::vector<std::wstring>{L"device not ready"});
  EXPECT_GE(clock.Uptime - resumed, TRingSound::kResumeRetryMs) << "told while it could come back";
  EXPECT_LE(clock.Uptime - resumed, TRingSound::kResumeRetryMs + 1000);
  EXPECT_FALSE(session->Sound().RetryTicker().Running());
  EXPECT_TRUE(player.tone) << "the tone goes on";
  Pass(5000);
  EXPECT_EQ(view.errors.size(), 1u);
  // Long after a resume, a failed open is told at once, as always.
  session->Answer();
  Pass(60000);
  RingNow(L"a", L"", L"a.mp3");
  EXPECT_EQ(view.errors.size(), 2u);
  EXPECT_FALSE(session->Sound().RetryTicker().Running());
}

}  // namespace
