// The ring session over fake services, a fake view and a fake player, in
// a throw-away program folder. No window and no control: the control
// library has no backend while these tests run.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "controls/backend.h"
#include "engine/ring_session.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_power.h"
#include "fakes/fake_random.h"
#include "fakes/fake_ring_player.h"
#include "fakes/fake_ring_view.h"
#include "fakes/fake_services.h"
#include "fakes/fake_tickers.h"
#include "fakes/fake_wake_timer.h"
#include "fakes/fault_file_system.h"
#include "platform/date_time.h"
#include "store/program_state.h"
#include "test_support.h"

class RingSessionTest : public testing::Test {
 protected:
  static constexpr std::int64_t kMinute = 60000;

  RingSessionTest() : backend_(&Backend()) {
    // Tuesday 08.12.2026 07:05:09.400.
    clock.SetLocal(EncodeDate(2026, 12, 8) + EncodeTime(7, 5, 9, 400));
    std::memset(store.get(), 0, sizeof(TAlarmStore));
    SetBackend(nullptr);
  }
  ~RingSessionTest() override {
    session.reset();
    SetBackend(backend_);
  }

  // The program starts: Tivorra.ini's values, the state in the folder, and
  // the timer aimed at what the store holds.
  void Start() {
    session = std::make_unique<TRingSession>(
        *store, file, TRingServices{clock, wakeTimer, power, audio, shell, tickers, files, random},
        view, player);
    session->SetSignal(signal);
    session->Start(dir.ProgramDir());
    session->StoreChanged();
  }
  // The program ends (cleanly, or killed) and starts again in the folder;
  // its windows start empty.
  void Restart(bool endsCleanly = true) {
    if (endsCleanly) session->ProgramEnds();
    session.reset();
    view = TFakeRingView{};
    Start();
  }
  // Real time passes up to the wake timer's moment, and it fires.
  void RunToWakeTimer() {
    ASSERT_TRUE(wakeTimer.at);
    Pass(*wakeTimer.at - clock.UtcMs);
    wakeTimer.Fire();
  }
  // Real time passes; the session's own timers tick as it does.
  void Pass(std::int64_t ms) {
    clock.Advance(ms);
    tickers.RunDue();
  }
  // The user answers the ring with the snooze the window offers first.
  void SnoozeAsOffered() { session->Snooze(session->Signal().SnoozeMinutes); }

  std::int64_t LocalSecondAt(int h, int m, int s) {
    return RoundedMs(EncodeDate(2026, 12, 8) + EncodeTime(h, m, s, 0)).value() / 1000;
  }
  void Daily(TDateTime time, const std::wstring& msg, const std::wstring& exe = L"",
             const std::wstring& mus = L"") {
    TTimeAlarm& r = store->DailyAlarms[store->DailyCount++];
    r.AlarmTime = time;
    ToShortString(msg, r.Msg);
    ToShortString(exe, r.Exe);
    ToShortString(mus, r.Mus);
  }
  // A countdown that rings at the next whole second; it rings now.
  void RingNow(const std::wstring& msg, const std::wstring& exe = L"",
               const std::wstring& mus = L"") {
    TTimeAlarm& r = store->CountdownAlarms[store->CountdownCount++];
    r.AlarmTime = static_cast<double>((clock.LocalMs / 1000 + 1) * 1000) / kMsPerDay;
    ToShortString(msg, r.Msg);
    ToShortString(exe, r.Exe);
    ToShortString(mus, r.Mus);
    session->StoreChanged();
    RunToWakeTimer();
  }
  TProgramState SavedState() { return LoadProgramState(dir.ProgramDir()).State; }
  void WriteState(std::int64_t lastExamined) {
    TProgramState s;
    s.LastExamined = lastExamined;
    ASSERT_EQ(SaveProgramState(s, dir.ProgramDir()), 0);
  }
  // The missed list as (kind, latest second, count, message).
 public:
  struct TLine {
    TAlarmKind Kind;
    std::int64_t Second;
    int Count;
    std::wstring Message;
    bool operator==(const TLine&) const = default;
  };
 protected:
  std::vector<TLine> Missed() {
    std::vector<TLine> out;
    for (const TMissedAlarm& m : session->Missed()) {
      out.push_back({m.Alarm.Kind, m.LatestSecond, m.Count, m.Message});
    }
    return out;
  }
  TFakeTicker& RingEnd() {
    return const_cast<TFakeTicker&>(static_cast<const TFakeTicker&>(session->RingTicker()));
  }

  TempDir dir;
  std::unique_ptr<TAlarmStore> store = std::make_unique<TAlarmStore>();
  TAlarmFileState file;
  TSignalSettings signal;
  TFakeClock clock;
  TFakeWakeTimer wakeTimer;
  TFakePower power;
  TFakeAudioOutput audio;
  TFakeShell shell;
  TFakeTickers tickers{clock};
  TFaultFileSystem files;
  TFakeRandom random;
  TFakeRingView view;
  TFakeRingPlayer player;
  std::unique_ptr<TRingSession> session;

 private:
  TBackend* backend_;
};

inline void PrintTo(const RingSessionTest::TLine& l, std::ostream* os) {
  *os << "{kind " << l.Kind << ", second " << l.Second << ", count " << l.Count << ", "
      << testing::PrintToString(l.Message) << "}";
}
