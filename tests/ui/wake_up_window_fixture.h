// The wake-up window over a fake player, clock, power and sound output:
// headless natively, with a real window under Windows.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

#ifndef _WIN32
#include "fakes/recording_backend.h"
#endif
#include "controls/dispatcher.h"
#include "controls/message_boxes.h"
#include "engine/alarm_check.h"
#include "engine/alarm_volume.h"
#include "platform/date_time.h"
#include "fakes/fake_audio_output.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_media_backend.h"
#include "fakes/fake_power.h"
#include "fakes/fake_services.h"
#include "ui/wake_up_window.h"
#include "platform/shell.h"

// Runs natively with headless windows and under Windows with real ones.
class WakeUpForm : public testing::Test {
 protected:
  WakeUpForm() {
    auto backend = std::make_unique<TFakeMediaBackend>();
    media = backend.get();
    form = std::make_unique<TWakeUpWindow>(shell, clock, std::move(backend), power, audio);
    SetErrorReport(&boxes);
  }
  ~WakeUpForm() override { SetErrorReport(nullptr); }

  // The player's commands since the last call, without the idle stops of
  // the alarm tone.
  std::vector<std::wstring> Commands() {
    std::vector<std::wstring> out;
    for (const auto& e : media->Log) {
      if (e != L"fallback sound stop") out.push_back(e);
    }
    media->Log.clear();
    return out;
  }

  TFakeShell shell;
  TFakeClock clock;
  TFakeMessageBoxes boxes;
  TFakeMediaBackend* media;
  TFakePower power;
  TFakeAudioOutput audio;
  std::unique_ptr<TWakeUpWindow> form;

  void MediaPlayerStopsFailing(const std::wstring& text) { media->FailNextStop(text); }
};

using Log = std::vector<std::wstring>;
