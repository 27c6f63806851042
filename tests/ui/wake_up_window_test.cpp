#include "ui/wake_up_window.h"

#include "ui/wake_up_window_fixture.h"

namespace {

TEST_F(WakeUpForm, LooksAsDesigned) {
  EXPECT_EQ(form->Caption(), L"Будильник");
  EXPECT_EQ(form->ClientWidth(), 225);
  EXPECT_EQ(form->ClientHeight(), 264);
  EXPECT_EQ(form->OK.Caption(), L"OK");
  EXPECT_EQ(form->SnoozeBut.Caption(), L"Отложить");
  EXPECT_FALSE(form->Visible());
}

TEST_F(WakeUpForm, EachActionOnlyWhenItsTextIsSet) {
  struct Case {
    const char* name;
    std::wstring msg, exe, mus;
    Log commands;
  };
  const Case cases[] = {
      {"all empty", L"", L"", L"", {}},
      {"message only", L"Вставай!\rПора", L"", L"", {}},
      {"music only", L"", L"", L"C:\\m\\a.mp3", {L"open C:\\m\\a.mp3", L"play(notify)"}},
      {"file only", L"", L"C:\\notes.txt", L"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    form->WakeUp(c.msg, c.exe, c.mus);
    EXPECT_EQ(form->Memo.Text(), c.msg);
#ifndef _WIN32
    EXPECT_GE(Recorder().Count(form->Memo, TChange::Repaint), 1) << "drawn at once";
#endif
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(shell.opened, c.exe.empty() ? std::vector<std::wstring>{}
                                          : std::vector<std::wstring>{c.exe});
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(form->IsForeground());
    form->OK.Click();
    EXPECT_FALSE(form->Visible());
    Commands();
    shell.opened.clear();
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(WakeUpForm, OkStopsTheMusicAndSeeksToTheStart) {
  form->WakeUp(L"a", L"", L"a.wav");
  Commands();
  form->OK.Click();
  EXPECT_EQ(Commands(), (Log{L"stop", L"seek 0"}));
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(media->Playing());
  EXPECT_EQ(media->OpenFile(), L"a.wav") << "the device stays open until the next alarm";
}

TEST_F(WakeUpForm, TheSnoozeChoiceOffersItsTimesWithSnoozeMinutesSelected) {
  const struct {
    int snooze;
    std::vector<std::wstring> items;
    int selected;
  } cases[] = {
      {10, {L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час"}, 1},
      {5, {L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час"}, 0},
      {60, {L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час"}, 4},
      {1, {L"1 мин", L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час"}, 0},
      {45, {L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"45 мин", L"1 час"}, 4},
      {120, {L"5 мин", L"10 мин", L"15 мин", L"30 мин", L"1 час", L"120 мин"}, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.snooze);
    form->SetSignal({c.snooze, 10});
    form->WakeUp(L"a", L"", L"");
    EXPECT_EQ(form->SnoozeChoice.Items(), c.items);
    EXPECT_EQ(form->SnoozeChoice.ItemIndex(), c.selected);
    EXPECT_EQ(form->ChosenSnoozeMinutes(), c.snooze);
    form->OK.Click();
  }
  // A choice made while the window shows is kept by a second alarm.
  form->SetSignal({10, 10});
  form->WakeUp(L"a", L"", L"");
  form->SnoozeChoice.PickItem(3);
  form->WakeUp(L"b", L"", L"");
  EXPECT_EQ(form->ChosenSnoozeMinutes(), 30);
  // Typed texts: minutes, hours, and anything else means SnoozeMinutes.
  const struct {
    const wchar_t* text;
    int minutes;
  } typed[] = {{L"7", 7}, {L"7 мин", 7}, {L" 20мин", 20}, {L"2 часа", 120}, {L"1 ч", 60},
               {L"3 часа", 10}, {L"0", 10}, {L"121", 10}, {L"мин", 10}, {L"", 10},
               {L"99999999999", 10}};
  for (const auto& t : typed) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(t.text)));
    form->SnoozeChoice.TypeText(t.text);
    EXPECT_EQ(form->ChosenSnoozeMinutes(), t.minutes);
  }
}

TEST_F(WakeUpForm, SnoozeAndTheEndOfARingSilenceAndHandOverEveryRingingAlarm) {
  std::vector<std::vector<TWakeUpWindow::TRinging>> snoozed, ended;
  std::vector<int> minutes;
  form->OnSnooze = [&](const std::vector<TWakeUpWindow::TRinging>& r, int m) {
    snoozed.push_back(r);
    minutes.push_back(m);
  };
  form->OnRingEnded = [&](const std::vector<TWakeUpWindow::TRinging>& r) { ended.push_back(r); };
  const TAlarmRef a{akDaily, 1, 11}, b{akWeekly, 2, 22};
  form->SetSignal({15, 3});

  // Two alarms in one showing: "Отложить" puts off both.
  form->Ringing({a, 0, 100});
  form->WakeUp(L"a", L"", L"a.wav");
  form->Ringing({b, 1, 100});
  form->WakeUp(L"b", L"", L"");
  EXPECT_TRUE(form->RingTimer.Enabled());
  EXPECT_EQ(form->RingTimer.Interval(), 3 * 60 * 1000);
  Commands();
  form->SnoozeBut.Click();
  EXPECT_EQ(Commands(), (Log{L"stop", L"seek 0"}));
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(form->RingTimer.Enabled());
  ASSERT_EQ(snoozed.size(), 1u);
  ASSERT_EQ(snoozed[0].size(), 2u);
  EXPECT_EQ(snoozed[0][0].Alarm, a);
  EXPECT_EQ(snoozed[0][1].Alarm, b);
  EXPECT_EQ(snoozed[0][1].Unanswered, 1);
  EXPECT_EQ(minutes, std::vector<int>{15});

  // "OK" forgets what rang: the next showing rings for its own alarm only.
  form->Ringing({a, 0, 200});
  form->WakeUp(L"a", L"", L"a.wav");
  form->OK.Click();
  form->Ringing({b, 0, 300});
  form->WakeUp(L"b", L"", L"a.wav");
  Commands();
  form->RingTimer.Tick();
  EXPECT_EQ(Commands(), (Log{L"stop", L"seek 0"}));
  EXPECT_FALSE(form->Visible());
  ASSERT_EQ(ended.size(), 1u);
  ASSERT_EQ(ended[0].size(), 1u);
  EXPECT_EQ(ended[0][0].Alarm, b);
  EXPECT_EQ(ended[0][0].LocalSecond, 300);
  EXPECT_EQ(snoozed.size(), 1u) << "OK snoozes nothing";

  // RingMinutes 0 rings until answered.
  form->SetSignal({10, 0});
  form->WakeUp(L"c", L"", L"");
  EXPECT_FALSE(form->RingTimer.Enabled());
}

TEST_F(WakeUpForm, ASnoozedAlarmRingsAgainWithoutOpeningItsFileOrItsMusicAnew) {
  form->WakeUp(L"a", L"C:\\notes.txt", L"a.mp3");
  form->SnoozeBut.Click();
  Commands();
  form->WakeUpAgain(L"a", L"a.mp3");
  EXPECT_EQ(Commands(), (Log{L"play(notify)"})) << "the device stays open from the first ring";
  EXPECT_EQ(shell.opened.size(), 1u);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->Memo.Text(), L"a");
  // Another alarm's music came in between: this one's is opened again.
  form->WakeUp(L"b", L"", L"b.mp3");
  form->SnoozeBut.Click();
  Commands();
  form->WakeUpAgain(L"a", L"a.mp3");
  EXPECT_EQ(Commands(), (Log{L"close", L"open a.mp3", L"play(notify)"}));
}

TEST_F(WakeUpForm, OnlyASuccessfulNoticePlaysAgain) {
  const struct {
    TMPNotifyValue notice;
    Log commands;
  } cases[] = {
      {nvSuccessful, {L"seek start", L"play(notify)"}},
      {nvSuperseded, {}},
      {nvAborted, {}},
      {nvFailed, {L"fallback sound start"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.notice));
    form->WakeUp(L"loop", L"", L"song.mp3");
    Commands();
    media->Complete(c.notice);
    EXPECT_EQ(Commands(), c.commands);
    form->OK.Click();
    Commands();
  }
}

TEST_F(WakeUpForm, ASecondAlarmWhileTheFirstShows) {
  form->WakeUp(L"first", L"one.cmd", L"first.mp3");
  Commands();

  form->WakeUp(L"second", L"two.cmd", L"");
  EXPECT_EQ(form->Memo.Text(), L"second");
  EXPECT_EQ(Commands(), Log{}) << "without music of its own the first music goes on";
  EXPECT_TRUE(media->Playing());

  form->WakeUp(L"third", L"", L"third.wav");
  EXPECT_EQ(form->Memo.Text(), L"third");
  EXPECT_EQ(Commands(), (Log{L"close", L"open third.wav", L"play(notify)"}));
  EXPECT_EQ(shell.opened, (std::vector<std::wstring>{L"one.cmd", L"two.cmd"}));
  EXPECT_TRUE(form->Visible());
}

TEST_F(WakeUpForm, MusicThatCannotBeOpenedStillWakesTheUser) {
  media->FailOpen(L"gone.mp3", L"Cannot find the specified file.");
  form->WakeUp(L"old", L"", L"old.mp3");
  try {
    form->WakeUp(L"Подъём", L"run.cmd", L"gone.mp3");
    FAIL() << "the failure was not reported";
  } catch (const EMCIDeviceError& e) {
    EXPECT_EQ(e.Message(), L"Cannot find the specified file.");
  }
  EXPECT_EQ(form->Memo.Text(), L"Подъём");
  EXPECT_EQ(shell.opened, std::vector<std::wstring>{L"run.cmd"});
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(media->FallbackSoundPlaying());
  EXPECT_FALSE(media->Playing());

  form->OK.Click();
  EXPECT_FALSE(media->FallbackSoundPlaying());

  // The next alarm's music replaces the stand-in sound.
  form->WakeUp(L"", L"", L"ok.wav");
  EXPECT_TRUE(media->Playing());
  EXPECT_FALSE(media->FallbackSoundPlaying());
}

TEST_F(WakeUpForm, OkAndTheCloseBoxHideEvenWhenTheMusicWillNotStop) {
  for (const bool viaOk : {true, false}) {
    SCOPED_TRACE(viaOk ? "OK" : "close box");
    boxes.shown.clear();
    form->WakeUp(L"Подъём", L"", L"song.mp3");
    media->Complete(nvFailed);  // the loop died: the alarm tone took over
    ASSERT_TRUE(media->FallbackSoundPlaying());
    form->WakeUp(L"Подъём", L"", L"song.mp3");
    MediaPlayerStopsFailing(L"Устройство не отвечает");
    bool hiddenWhenReported = false;
    boxes.onShow = [&] { hiddenWhenReported = !form->Visible(); };
    if (viaOk) {
      form->OK.Click();
    } else {
      form->Close();
    }
    boxes.onShow = nullptr;
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(media->FallbackSoundPlaying());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
    EXPECT_EQ(boxes.shown[0].text, L"Устройство не отвечает");
    EXPECT_TRUE(hiddenWhenReported) << "the error was shown while the window still stood";
    // A notice of the music that would not stop comes late: nothing starts.
    Commands();
    media->Complete(nvSuccessful);
    EXPECT_EQ(Commands(), Log{});
  }
}

TEST_F(WakeUpForm, LateAndForeignNoticesStartNothing) {
  form->WakeUp(L"", L"", L"first.mp3");
  const std::uint32_t first = media->DeviceId();
  form->WakeUp(L"", L"", L"second.mp3");
  Commands();
  media->CompleteFrom(first, nvSuccessful);
  EXPECT_EQ(Commands(), Log{}) << "a notice of the replaced music played";

  clock.Advance(5000);
  form->OK.Click();
  Commands();
  media->Complete(nvSuccessful);  // posted just before "OK", handled after
  EXPECT_EQ(Commands(), Log{});
  EXPECT_FALSE(media->Playing());
}

TEST_F(WakeUpForm, MusicThatEndsAtOnceGivesWayToTheAlarmTone) {
  // A zero-length file: each play ends as soon as it starts.
  form->WakeUp(L"", L"", L"empty.wav");
  for (int i = 0; i < 5; ++i) media->Complete(nvSuccessful);
  const auto plays = std::count(media->Log.begin(), media->Log.end(), L"play(notify)");
  EXPECT_EQ(plays, 2) << "the empty file was replayed in a loop";
  EXPECT_TRUE(media->FallbackSoundPlaying());
  form->OK.Click();
  EXPECT_FALSE(media->FallbackSoundPlaying());

  // Music that lasts loops on as before, however many times it ends.
  media->Log.clear();
  form->WakeUp(L"", L"", L"song.mp3");
  for (int i = 0; i < 5; ++i) {
    clock.Advance(TWakeUpWindow::kQuickEndMs);
    media->Complete(nvSuccessful);
  }
  EXPECT_EQ(std::count(media->Log.begin(), media->Log.end(), L"play(notify)"), 6);
  EXPECT_FALSE(media->FallbackSoundPlaying());
}

TEST_F(WakeUpForm, TheAlarmToneStandsInWheneverTheMusicCannotPlay) {
  struct Case {
    const char* name;
    std::function<void()> act;
    bool reported;
  };
  const std::vector<Case> cases = {
      {"missing music",
       [&] {
         media->FailOpen(L"gone.mp3", L"Cannot find the specified file.");
         EXPECT_THROW(form->WakeUp(L"", L"", L"gone.mp3"), EMCIDeviceError);
       },
       false},
      {"music its device cannot play",
       [&] {
         media->MarkUnplayable(L"odd.mid");
         form->WakeUp(L"", L"", L"odd.mid");
       },
       false},
      {"the loop's restart fails",
       [&] {
         form->WakeUp(L"", L"", L"song.mp3");
         clock.Advance(60000);
         media->MarkUnplayable(L"song.mp3");  // the device fails from now on
         media->Complete(nvSuccessful);
       },
       true},
      {"the device gives up while playing",
       [&] {
         form->WakeUp(L"", L"", L"song.mp3");
         media->Complete(nvFailed);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.shown.clear();
    c.act();
    EXPECT_TRUE(media->FallbackSoundPlaying());
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(boxes.shown.size(), c.reported ? 1u : 0u);
    form->OK.Click();
    EXPECT_FALSE(media->FallbackSoundPlaying());
  }
}

// A failing alarm inside a tick: every due alarm still fires, and the error
// comes back to be shown once the tick is done.
TEST_F(WakeUpForm, AFailingAlarmDoesNotStopTheLaterOnes) {
  auto store = std::make_unique<TAlarmStore>();
  *store = {};
  store->DailyCount = 3;
  for (int i = 0; i < 3; ++i) store->DailyAlarms[i].AlarmTime = 7.0 / 24;
  ToShortString(L"daily 1", store->DailyAlarms[0].Msg);
  ToShortString(L"broken.mp3", store->DailyAlarms[1].Mus);
  ToShortString(L"daily 3", store->DailyAlarms[2].Msg);
  store->WeeklyCount = 1;
  std::fill(std::begin(store->WeeklyAlarms[0].Days), std::end(store->WeeklyAlarms[0].Days), 1);
  store->WeeklyAlarms[0].AlarmTime = 7.0 / 24;
  ToShortString(L"weekly", store->WeeklyAlarms[0].Msg);
  ToShortString(L"week.mp3", store->WeeklyAlarms[0].Mus);
  media->FailOpen(L"broken.mp3", L"no such file");

  clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(6, 59, 59, 500));
  TAlarmCheck check;
  check.Tick(*store, clock.Now(), clock.Uptime, *form);
  clock.Advance(1000);
  const auto errors = check.Tick(*store, clock.Now(), clock.Uptime, *form);

  EXPECT_EQ(errors, std::vector<std::wstring>{L"no such file"});
  EXPECT_EQ(form->Memo.Text(), L"weekly");
  EXPECT_EQ(media->OpenFile(), L"week.mp3");
  EXPECT_TRUE(media->Playing());
}

}  // namespace
