// Every service the program's windows take, as fakes, and the bundle that
// hands them to the windows. The window tests' fixtures derive from it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_audio_output.h"
#include "fakes/fake_clock.h"
#include "fakes/fault_file_system.h"
#include "fakes/fake_media_backend.h"
#include "fakes/fake_power.h"
#include "fakes/fake_random.h"
#include "fakes/fake_services.h"
#include "fakes/fake_tickers.h"
#include "fakes/fake_wake_timer.h"
#include "ui/services.h"

struct TFakeProgramServices {
  using TMediaFactory = std::function<std::unique_ptr<TMediaBackend>()>;

  // The players come from `media`; by default each is a fresh fake.
  std::unique_ptr<TServices> MakeServices(std::wstring exe, std::vector<std::wstring> params,
                                          TMediaFactory media = [] {
                                            return std::unique_ptr<TMediaBackend>(
                                                std::make_unique<TFakeMediaBackend>());
                                          }) {
    return std::make_unique<TServices>(TServices{boxes, clock, shell, runValue, formats, app,
                                                 std::move(exe), std::move(params),
                                                 std::move(media), wakeTimer, fileDialogs, power,
                                                 audio, files, tickers, random});
  }

  TFakeMessageBoxes boxes;
  // The real files, one call made to fail where a test asks.
  TFaultFileSystem files;
  TFakeClock clock;
  TFakeShell shell;
  TFakeRunValue runValue;
  TFakeRegionalFormats formats;
  TFakeApplicationWindow app;
  TFakeWakeTimer wakeTimer;
  TFakeFileDialogs fileDialogs;
  TFakePower power;
  TFakeAudioOutput audio;
  TFakeTickers tickers{clock};
  TFakeRandom random;
};
