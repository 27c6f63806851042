#include "controls/media_player.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "fakes/fake_media_backend.h"
#include "fakes/fake_services.h"

namespace {

using CommandLog = std::vector<std::wstring>;

// Hands its log out when the player destroys it.
struct TLogKeepingBackend : TFakeMediaBackend {
  explicit TLogKeepingBackend(CommandLog* out = nullptr) : out(out) {}
  ~TLogKeepingBackend() override {
    if (out) *out = Log;
  }
  CommandLog* out;
};

struct Fixture {
  explicit Fixture(CommandLog* logAtEnd = nullptr)
      : media(new TLogKeepingBackend(logAtEnd)), player(std::unique_ptr<TMediaBackend>(media)) {}
  void Open(const std::wstring& name) {
    player.FileName = name;
    player.Open();
  }
  TLogKeepingBackend* media;
  TMediaPlayer player;
};

TEST(MediaPlayer, OpenClosesThePreviousDeviceAndAFailedOpenLeavesNoneOpen) {
  Fixture f;
  f.media->FailOpen(L"gone.mp3", L"Cannot find the file");
  f.Open(L"a.wav");
  f.Open(L"b.mp3");
  EXPECT_EQ(f.media->OpenFile(), L"b.mp3");
  try {
    f.Open(L"gone.mp3");
    ADD_FAILURE() << "the open of a missing file succeeded";
  } catch (const EMCIDeviceError& e) {
    EXPECT_EQ(e.Message(), L"Cannot find the file");
  }
  EXPECT_FALSE(f.player.DeviceOpen());
  EXPECT_FALSE(f.player.CanPlay());
  // With nothing open, the next open has nothing to close.
  f.Open(L"a.wav");
  EXPECT_EQ(f.media->Log, (CommandLog{L"open a.wav", L"close", L"open b.mp3", L"close",
                                      L"open gone.mp3", L"open a.wav"}));
}

TEST(MediaPlayer, PlayRewindsOnlyFromTheEndAndOnlyWithAutoRewind) {
  struct Case {
    bool autoRewind;
    std::uint32_t position;
    std::uint32_t length;
    CommandLog log;
  };
  const std::vector<Case> cases = {
      {true, 1000, 1000, {L"seek start", L"play(notify)"}},
      {true, 999, 1000, {L"play(notify)"}},
      {true, 0, 1000, {L"play(notify)"}},
      {true, 0, 0, {L"seek start", L"play(notify)"}},
      {false, 1000, 1000, {L"play(notify)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoRewind << " " << c.position << "/" << c.length);
    Fixture f;
    f.Open(L"a.wav");
    f.player.AutoRewind = c.autoRewind;
    f.media->MediaLength = c.length;
    f.media->MediaPosition = c.position;
    f.media->Log.clear();
    f.player.Play();
    EXPECT_EQ(f.media->Log, c.log);
  }
}

TEST(MediaPlayer, NotifyAsksOnceOnTheNextCommand) {
  Fixture f;
  f.Open(L"a.wav");
  f.media->Log.clear();
  f.player.Notify = true;
  f.player.Stop();
  f.player.Stop();
  f.player.Notify = true;
  f.player.Seek(0);
  f.player.Rewind();
  EXPECT_EQ(f.media->Log, (CommandLog{L"stop(notify)", L"stop", L"seek 0(notify)", L"seek start"}));
}

// The loop the wake-up window builds on the player: replaying on a
// successful notice starts over, because that play ended at the end.
TEST(MediaPlayer, ASuccessfulNoticeOfThePlayLoops) {
  Fixture f;
  std::vector<TMPNotifyValue> seen;
  f.player.OnNotify = [&] {
    seen.push_back(f.player.NotifyValue);
    if (f.player.NotifyValue == nvSuccessful) f.player.Play();
  };
  f.Open(L"a.wav");
  f.player.Play();
  f.media->MediaPosition = 400;
  f.media->Complete(nvSuccessful);
  f.media->Complete(nvSuccessful);
  EXPECT_EQ(seen, (std::vector<TMPNotifyValue>{nvSuccessful, nvSuccessful}));
  EXPECT_EQ(f.media->Log, (CommandLog{L"open a.wav", L"play(notify)", L"seek start",
                                      L"play(notify)", L"seek start", L"play(notify)"}));
}

// Notices belong to one play of the current device: whatever comes from
// another device, after the play ended, or after it was stopped, is late and
// starts nothing.
TEST(MediaPlayer, OnlyNoticesOfTheCurrentPlayAreRaised) {
  struct Case {
    const char* name;
    std::function<void(Fixture&)> act;
    std::vector<TMPNotifyValue> raised;
  };
  const auto play = [](Fixture& f) {
    f.Open(L"a.wav");
    f.player.Play();
  };
  const std::vector<Case> cases = {
      {"its own end",
       [&](Fixture& f) { play(f), f.media->Complete(nvSuccessful); },
       {nvSuccessful}},
      {"another device",
       [&](Fixture& f) {
         play(f);
         f.media->CompleteFrom(f.media->DeviceId() + 7, nvSuccessful);
       },
       {}},
      {"a driver that names no device",
       [&](Fixture& f) { play(f), f.media->CompleteFrom(0, nvSuccessful); },
       {nvSuccessful}},
      {"the device that was closed by the next open",
       [&](Fixture& f) {
         play(f);
         const std::uint32_t old = f.media->DeviceId();
         play(f);
         f.media->CompleteFrom(old, nvSuccessful);
       },
       {}},
      {"a second end of one play",
       [&](Fixture& f) {
         play(f);
         f.media->Complete(nvSuccessful);
         f.media->Complete(nvSuccessful);
       },
       {nvSuccessful}},
      {"after a stop",
       [&](Fixture& f) {
         play(f);
         f.player.Stop();
         f.media->Complete(nvSuccessful);
       },
       {}},
      {"a stop that asked for its own notice",
       [&](Fixture& f) {
         play(f);
         f.player.Notify = true;
         f.player.Stop();
         f.media->Complete(nvSuccessful);
       },
       {nvSuccessful}},
      {"superseded, then the new play's end",
       [&](Fixture& f) {
         play(f);
         f.player.Play();
         f.media->Complete(nvSuperseded);
         f.media->Complete(nvSuccessful);
       },
       {nvSuperseded, nvSuccessful}},
      {"failed ends the play",
       [&](Fixture& f) {
         play(f);
         f.media->Complete(nvFailed);
         f.media->Complete(nvSuccessful);
       },
       {nvFailed}},
      {"nothing was asked", [](Fixture& f) { f.media->Complete(nvSuccessful); }, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    std::vector<TMPNotifyValue> seen;
    f.player.OnNotify = [&] { seen.push_back(f.player.NotifyValue); };
    c.act(f);
    EXPECT_EQ(seen, c.raised);
  }
}

TEST(MediaPlayer, AnErrorInOnNotifyGoesToTheErrorReport) {
  TFakeMessageBoxes boxes;
  SetErrorReport(&boxes);
  Fixture f;
  f.player.OnNotify = [] { throw EAppError(L"Устройство занято"); };
  f.Open(L"a.wav");
  f.player.Play();
  f.media->Complete(nvFailed);
  SetErrorReport(nullptr);
  EXPECT_EQ(f.player.NotifyValue, nvFailed);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
  EXPECT_EQ(boxes.shown[0].text, L"Устройство занято");
}

TEST(MediaPlayer, DestructionClosesAnOpenDevice) {
  CommandLog atEnd;
  {
    Fixture f(&atEnd);
    f.Open(L"a.mp3");
    f.player.Play();
  }
  EXPECT_EQ(atEnd, (CommandLog{L"open a.mp3", L"play(notify)", L"close"}));
}

}  // namespace
