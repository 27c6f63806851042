// Every road from the system into the program ends at one boundary: an error
// that reaches it is shown in the error report, and the program goes on.
// These are the roads that need no window, here and under Wine alike;
// tests/controls/win32/callback_errors_test.cpp drives the real window
// procedures.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "controls/dispatcher.h"
#include "controls/thrown_errors.h"
#include "fakes/fake_services.h"
#include "fakes/fake_wake_timer.h"
#include "platform/callback_boundary.h"

namespace {

using TBody = std::function<void()>;

// Each road runs a body as its entry runs what the system asked for.
struct TRoad {
  const char* name;
  void (*run)(const TBody& body);
};

const TRoad kRoads[] = {
    {"a window procedure's body", [](const TBody& body) { Guarded(body); }},
    {"an event handler", [](const TBody& body) { DispatchEvent(body); }},
    {"a wake timer's event",
     [](const TBody& body) {
       TFakeWakeTimer timer;
       timer.OnDue = body;
       timer.Fire();
     }},
    {"another thread, told on the window thread",
     [](const TBody& body) {
       TPostedError error;
       std::thread([&] { error.Guarded(body); }).join();
       error.Report();
       error.Report();  // a kept error is told once
     }},
};

TEST(ErrorBoundary, AnErrorOnAnyRoadIsReportedOnceAndTheProgramGoesOn) {
  for (const TRoad& road : kRoads) {
    for (const TThrown& thrown : kThrownErrors) {
      SCOPED_TRACE(std::string(road.name) + ", " + thrown.name);
      TFakeMessageBoxes boxes;
      SetErrorReport(&boxes);
      int finished = 0;
      road.run([&] {
        thrown.raise();
        ++finished;
      });
      road.run([&] { ++finished; });
      SetErrorReport(nullptr);
      ASSERT_EQ(boxes.shown.size(), 1u);
      EXPECT_EQ(boxes.shown[0].kind, TFakeMessageBoxes::Kind::Error);
      EXPECT_EQ(boxes.shown[0].text, thrown.text);
      EXPECT_EQ(finished, 1) << "the error ends its own body, and only that";
    }
  }
}

TEST(ErrorBoundary, BeforeTheReportIsSetAnErrorIsDroppedAndTheBodySaysSo) {
  SetErrorReport(nullptr);
  EXPECT_FALSE(Guarded([] { throw std::runtime_error("no report yet"); }));
  EXPECT_TRUE(Guarded([] {}));
  // An error kept by another thread waits for the window thread.
  TPostedError error;
  std::thread([&] { error.Guarded([] { throw std::runtime_error("kept"); }); }).join();
  TFakeMessageBoxes boxes;
  SetErrorReport(&boxes);
  error.Report();
  SetErrorReport(nullptr);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, L"kept");
}

}  // namespace
