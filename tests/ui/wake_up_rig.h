// The wake-up window with a ring session behind it, shown by the program's
// presenter over fake services: headless natively, a real window under
// Windows. The media back end and the clock are the test's.
#pragma once

#include <cstring>
#include <memory>
#include <string>

#include "controls/dispatcher.h"
#include "engine/ring_session.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_power.h"
#include "fakes/fake_random.h"
#include "fakes/fake_services.h"
#include "fakes/fake_wake_timer.h"
#include "fakes/fault_file_system.h"
#include "platform/date_time.h"
#include "test_support.h"
#include "ui/missed_window.h"
#include "ui/ring_presenter.h"
#include "ui/wake_up_window.h"

struct TWakeUpRig {
  TWakeUpRig(std::unique_ptr<TMediaBackend> media, TClock& clock, TTickers& tickers,
             TPower& power, TAudioOutput& audio)
      : clock(clock),
        window(std::move(media)),
        presenter(window, missed, icon, clock, formats, boxes),
        session(*store, file, {clock, wakeTimer, power, audio, shell, tickers, files, random},
                presenter, window) {
    SetErrorReport(&boxes);
    presenter.Attach(session);
    session.Start(dir.ProgramDir());
    session.StoreChanged();
  }
  ~TWakeUpRig() { SetErrorReport(nullptr); }

  // A countdown due at the second the clock reads now rings at once.
  void RingNow(const std::wstring& msg, const std::wstring& exe = L"",
               const std::wstring& mus = L"") {
    TTimeAlarm& r = store->CountdownAlarms[store->CountdownCount++];
    const std::int64_t second = RoundedMs(clock.Now().Local).value() / 1000;
    r.AlarmTime = static_cast<double>(second) / 86400.0;
    ToShortString(msg, r.Msg);
    ToShortString(exe, r.Exe);
    ToShortString(mus, r.Mus);
    session.StoreChanged();
    // As the program's wake timer, aimed at that second, fires.
    wakeTimer.Fire();
  }

  TClock& clock;
  TempDir dir;
  std::unique_ptr<TAlarmStore> store = [] {
    auto s = std::make_unique<TAlarmStore>();
    std::memset(s.get(), 0, sizeof(TAlarmStore));
    return s;
  }();
  TAlarmFileState file;
  TFakeMessageBoxes boxes;
  TFakeShell shell;
  TFakeRegionalFormats formats;
  TFakeWakeTimer wakeTimer;
  TFaultFileSystem files;
  TFakeRandom random;
  TWakeUpWindow window;
  TMissedWindow missed{formats};
  TTrayIcon icon;
  TRingPresenter presenter;
  TRingSession session;
};
