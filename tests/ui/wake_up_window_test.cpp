// The wake-up window as the ring session's view and player: what it shows,
// how the user's answers and the player's notices reach the session, and
// what it asks of the media player. Headless natively, real windows under
// Windows; the rules of the ring are the session's own tests'.
#include "ui/wake_up_window.h"

#include <gtest/gtest.h>

#include <memory>

#ifndef _WIN32
#include "fakes/recording_backend.h"
#endif
#include "fakes/fake_clock.h"
#include "fakes/fake_media_backend.h"
#include "fakes/fake_tickers.h"
#include "platform/date_time.h"
#include "ui/wake_up_rig.h"

namespace {

using Log = std::vector<std::wstring>;

class WakeUpWindow : public testing::Test {
 protected:
  WakeUpWindow() {
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    auto backend = std::make_unique<TFakeMediaBackend>();
    media = backend.get();
    rig = std::make_unique<TWakeUpRig>(std::move(backend), clock, tickers, power, audio);
  }
  // The player's commands since the last call, without the idle stops of
  // the alarm tone.
  Log Commands() {
    Log out;
    for (const auto& e : media->Log) {
      if (e != L"fallback sound stop") out.push_back(e);
    }
    media->Log.clear();
    return out;
  }
  TWakeUpWindow& window() { return rig->window; }

  TFakeClock clock;
  TFakeTickers tickers{clock};
  TFakePower power;
  TFakeAudioOutput audio;
  TFakeMediaBackend* media = nullptr;
  std::unique_ptr<TWakeUpRig> rig;
};

TEST_F(WakeUpWindow, LooksAsDesigned) {
  EXPECT_EQ(window().Caption(), L"Будильник");
  EXPECT_EQ(window().ClientWidth(), 225);
  EXPECT_EQ(window().ClientHeight(), 264);
  EXPECT_EQ(window().OK.Caption(), L"OK");
  EXPECT_EQ(window().SnoozeBut.Caption(), L"Отложить");
  EXPECT_FALSE(window().Visible());
}

TEST_F(WakeUpWindow, ARingShowsItsMessageInFrontAndPlaysItsMusicThroughThePlayer) {
  rig->RingNow(L"Вставай!\r\nПора", L"C:\\plan.txt", L"C:\\m\\a.mp3");
  EXPECT_TRUE(window().Visible());
  EXPECT_TRUE(window().IsForeground());
  EXPECT_EQ(window().Memo.Text(), L"Вставай!\r\nПора");
#ifndef _WIN32
  EXPECT_GE(Recorder().Count(window().Memo, TChange::Repaint), 1) << "drawn at once";
#endif
  EXPECT_EQ(Commands(), (Log{L"open C:\\m\\a.mp3", L"play(notify)"}));
  EXPECT_EQ(rig->shell.opened, Log{L"C:\\plan.txt"});
  // "OK" stops the music and goes back to its start; the device stays
  // open for the next ring.
  window().OK.Click();
  EXPECT_FALSE(window().Visible());
  EXPECT_FALSE(rig->session.Ringing());
  EXPECT_EQ(Commands(), (Log{L"stop", L"seek 0"}));
  EXPECT_EQ(media->OpenFile(), L"C:\\m\\a.mp3");
  EXPECT_TRUE(rig->boxes.shown.empty());
}

TEST_F(WakeUpWindow, EveryWayToAnswerEndsTheRingInTheSession) {
  const struct {
    const char* name;
    std::function<void(TWakeUpWindow&)> answer;
    std::size_t snoozes;
  } answers[] = {
      {"OK", [](TWakeUpWindow& w) { w.OK.Click(); }, 0},
      {"the close box", [](TWakeUpWindow& w) { w.Close(); }, 0},
      {"Отложить", [](TWakeUpWindow& w) { w.SnoozeBut.Click(); }, 1},
  };
  for (const auto& a : answers) {
    SCOPED_TRACE(a.name);
    rig->session.CancelSnoozes();
    rig->RingNow(L"a", L"", L"a.wav");
    ASSERT_TRUE(rig->session.Ringing());
    EXPECT_TRUE(power.display);
    a.answer(window());
    EXPECT_FALSE(window().Visible());
    EXPECT_FALSE(rig->session.Ringing());
    EXPECT_FALSE(power.display);
    EXPECT_EQ(rig->session.Snoozes().size(), a.snoozes);
    clock.Advance(1000);
  }
}

TEST_F(WakeUpWindow, AtTheUnlockTheRingComesBackToTheFrontWithTheFocusOnOK) {
  rig->wakeTimer.Lock();
  rig->RingNow(L"a", L"", L"a.wav");
  ASSERT_TRUE(window().Visible());
  // While locked the user could not see it; something else took the front
  // and the window's own focus is on the snooze choice.
  window().SnoozeChoice.SetFocus();
  TForm other(L"Другое окно", 40, 40, 200, 100, TBorderStyle::Single);
  other.ShowNormal();
  other.BringToForeground();
  ASSERT_FALSE(window().IsForeground());
  rig->wakeTimer.Unlock();
  EXPECT_TRUE(window().IsForeground());
  EXPECT_TRUE(window().OK.Focused());
  EXPECT_TRUE(rig->session.Ringing()) << "coming to the front answers nothing";
  window().OK.Click();
  EXPECT_FALSE(rig->session.Ringing());
  // Nothing rings at the next unlock: the window stays hidden.
  rig->wakeTimer.Lock();
  rig->wakeTimer.Unlock();
  EXPECT_FALSE(window().Visible());
  other.Hide();
}

TEST_F(WakeUpWindow, TheSnoozeChoiceOffersItsTimesWithSnoozeMinutesSelected) {
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
    window().ShowRing(L"a", true, c.snooze);
    EXPECT_EQ(window().SnoozeChoice.Items(), c.items);
    EXPECT_EQ(window().SnoozeChoice.ItemIndex(), c.selected);
    EXPECT_EQ(window().ChosenSnoozeMinutes(c.snooze), c.snooze);
    window().Hide();
  }
  // A choice made while the window shows is kept when another alarm joins.
  window().ShowRing(L"a", true, 10);
  window().SnoozeChoice.PickItem(3);
  window().ShowRing(L"b", false, 10);
  EXPECT_EQ(window().ChosenSnoozeMinutes(10), 30);
  // Typed texts: minutes, hours, and anything else means SnoozeMinutes.
  const struct {
    const wchar_t* text;
    int minutes;
  } typed[] = {{L"7", 7}, {L"7 мин", 7}, {L" 20мин", 20}, {L"2 часа", 120}, {L"1 ч", 60},
               {L"3 часа", 10}, {L"0", 10}, {L"121", 10}, {L"мин", 10}, {L"", 10},
               {L"99999999999", 10}};
  for (const auto& t : typed) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(t.text)));
    window().SnoozeChoice.TypeText(t.text);
    EXPECT_EQ(window().ChosenSnoozeMinutes(10), t.minutes);
  }
  window().Hide();
}

TEST_F(WakeUpWindow, TheSnoozeButtonPutsTheRingOffForTheChosenMinutes) {
  rig->RingNow(L"a");
  window().SnoozeChoice.PickItem(0);  // "5 мин"
  window().SnoozeBut.Click();
  ASSERT_EQ(rig->session.Snoozes().size(), 1u);
  EXPECT_EQ(rig->session.Snoozes()[0].DueUtcMs, clock.UtcMs + 5 * 60000);
}

TEST_F(WakeUpWindow, ThePlayersNoticesReachTheSessionAndLateOnesStartNothing) {
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
    rig->RingNow(L"loop", L"", L"song.mp3");
    clock.Advance(1000);
    Commands();
    media->Complete(c.notice);
    EXPECT_EQ(Commands(), c.commands);
    window().OK.Click();
    Commands();
  }
  // A notice of music that was replaced, or that comes after "OK".
  rig->RingNow(L"", L"", L"first.mp3");
  const std::uint32_t first = media->DeviceId();
  rig->RingNow(L"", L"", L"second.mp3");
  Commands();
  media->CompleteFrom(first, nvSuccessful);
  EXPECT_EQ(Commands(), Log{}) << "a notice of the replaced music played";
  clock.Advance(5000);
  window().OK.Click();
  Commands();
  media->Complete(nvSuccessful);
  EXPECT_EQ(Commands(), Log{});
  EXPECT_FALSE(media->Playing());
}

TEST_F(WakeUpWindow, MusicThatCannotBeOpenedIsToldAfterTheWindowShows) {
  media->FailOpen(L"gone.mp3", L"Cannot find the specified file.");
  bool shownWhenTold = false;
  rig->boxes.onShow = [&] { shownWhenTold = window().Visible(); };
  rig->RingNow(L"Подъём", L"", L"gone.mp3");
  rig->boxes.onShow = nullptr;
  ASSERT_EQ(rig->boxes.shown.size(), 1u);
  EXPECT_EQ(rig->boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(rig->boxes.shown[0].text, L"Cannot find the specified file.");
  EXPECT_TRUE(shownWhenTold);
  EXPECT_TRUE(media->FallbackSoundPlaying());
  window().OK.Click();
  EXPECT_FALSE(media->FallbackSoundPlaying());
}

}  // namespace
