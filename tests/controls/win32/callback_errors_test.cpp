// Needs Windows itself: every window procedure and the roads the system
// takes through it, with an error planted at the end of each road.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "controls/controls.h"
#include "controls/dispatcher.h"
#include "controls/thrown_errors.h"
#include "controls/win32/mci_backend.h"
#include "fakes/fake_services.h"
#include "fakes/fault_control.h"
#include "platform/win32/single_instance_win32.h"
#include "platform/win32/wake_timer_win32.h"
#include "test_support.h"

namespace {

using namespace std::chrono_literals;

HWND H(const TControl& c) { return static_cast<HWND>(c.Peer().Handle()); }

std::int64_t UtcNowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Stands at the end of a road: a message that reaches it raises the error
// armed for that message, if any, and one that gets through is counted.
class TProbe {
 public:
  void operator()() {
    const auto fault = std::exchange(fault_, nullptr);
    if (fault) fault();
    ++passed;
  }
  // Sends the message once with each kind of error armed, then once more
  // with none.
  void Drive(const std::function<void()>& send) {
    for (const TThrown& thrown : kThrownErrors) {
      fault_ = thrown.raise;
      send();
    }
    fault_ = nullptr;
    send();
  }
  int passed = 0;

 private:
  void (*fault_)() = nullptr;
};

class TFaultForm : public TForm {
 public:
  TFaultForm() : TForm(L"Ошибки", 100, 100, 200, 120, TBorderStyle::Single) { ShowNormal(); }
  ~TFaultForm() override { Hide(); }
};

struct TRoad {
  const char* name;
  // Builds the entry with the probe at the end of its road and drives it.
  std::function<void(TProbe& probe)> run;
};

const TRoad kRoads[] = {
    {"form: WM_DPICHANGED rescales its controls",
     [](TProbe& probe) {
       TFaultForm form;
       TFaultControl c(&form, TFaultControl::TWindow::Ours);
       c.OnReached = [&] { probe(); };
       probe.Drive([&] {
         RECT r;
         GetWindowRect(H(form), &r);
         SendMessageW(H(form), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&r));
       });
     }},
    {"panel: a notification handed back to its control",
     [](TProbe& probe) {
       TFaultForm form;
       TPanel panel(&form, 0, 0, 200, 120);
       TFaultControl c(&panel, TFaultControl::TWindow::Standard);
       c.OnReached = [&] { probe(); };
       probe.Drive([&] {
         SendMessageW(H(panel), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                      reinterpret_cast<LPARAM>(c.Hwnd()));
       });
     }},
    {"a control of ours: its own click",
     [](TProbe& probe) {
       TFaultForm form;
       TFaultControl c(&form, TFaultControl::TWindow::Ours);
       c.OnReached = [&] { probe(); };
       probe.Drive([&] { SendMessageW(c.Hwnd(), WM_LBUTTONUP, 0, 0); });
     }},
    {"a control of ours: a paint that fails before it begins",
     [](TProbe& probe) {
       TFaultForm form;
       TFaultControl c(&form, TFaultControl::TWindow::Ours);
       c.OnReached = [&] { probe(); };
       probe.Drive([&] {
         InvalidateRect(c.Hwnd(), nullptr, FALSE);
         UpdateWindow(c.Hwnd());
         // Left to be painted, the window would ask again at once, and fail
         // again, for ever.
         EXPECT_FALSE(GetUpdateRect(c.Hwnd(), nullptr, FALSE));
       });
     }},
    {"a standard control, subclassed: its own click",
     [](TProbe& probe) {
       TFaultForm form;
       TFaultControl c(&form, TFaultControl::TWindow::Standard);
       c.OnReached = [&] { probe(); };
       probe.Drive([&] { SendMessageW(c.Hwnd(), WM_LBUTTONUP, 0, 0); });
     }},
    {"timer: a tick's handler",
     [](TProbe& probe) {
       TTimer timer(10, false);
       int ticks = 0;
       timer.OnTimer = [&] {
         ++ticks;
         probe();
       };
       probe.Drive([&] {
         const int before = ticks;
         timer.SetEnabled(true);
         EXPECT_TRUE(PumpUntil([&] { return ticks > before; }, 2s));
         timer.SetEnabled(false);
       });
     }},
    {"tray icon: a click's handler",
     [](TProbe& probe) {
       TTrayIcon icon;
       icon.SetHint(L"Tivorra");
       icon.SetVisible(true);
       icon.OnMouseDown = [&](TMouseButton) { probe(); };
       probe.Drive([&] { icon.Press(TMouseButton::Left); });
       icon.SetVisible(false);
     }},
    {"media player: a completion notice's handler",
     [](TProbe& probe) {
       TempDir dir;
       WriteBytes(dir.Path(L"tone.wav"), ToneWav(160));
       TMediaPlayer player(CreateMciBackend());
       player.FileName = dir.Path(L"tone.wav").wstring();
       player.Open();
       int notices = 0;
       player.OnNotify = [&] {
         ++notices;
         probe();
       };
       probe.Drive([&] {
         const int before = notices;
         player.Play();
         EXPECT_TRUE(PumpUntil([&] { return notices > before; }, 5s));
       });
       player.Close();
     }},
    {"wake timer: the due time's handler",
     [](TProbe& probe) {
       TWin32WakeTimer timer;
       int due = 0;
       timer.OnDue = [&] {
         ++due;
         probe();
       };
       probe.Drive([&] {
         const int before = due;
         timer.SetAt(UtcNowMs() - 1000);
         EXPECT_TRUE(PumpUntil([&] { return due > before; }, 3s));
       });
     }},
    {"single instance: a later start asks the first to come forward",
     [](TProbe& probe) {
       TempDir dir;
       TSingleInstance first(dir.ProgramDir());
       ASSERT_TRUE(first.First());
       int asked = 0;
       first.OnComeForward([&] {
         ++asked;
         probe();
       });
       probe.Drive([&] {
         const int before = asked;
         TSingleInstance later(dir.ProgramDir());
         ASSERT_TRUE(later.AskFirstToComeForward());
         EXPECT_TRUE(PumpUntil([&] { return asked > before; }, 3s));
       });
     }},
};

TEST(CallbackErrors, AnErrorOnARoadFromWindowsIsReportedAndTheProgramGoesOn) {
  for (const TRoad& road : kRoads) {
    SCOPED_TRACE(road.name);
    TFakeMessageBoxes boxes;
    SetErrorReport(&boxes);
    TProbe probe;
    road.run(probe);
    SetErrorReport(nullptr);
    ASSERT_EQ(boxes.shown.size(), std::size(kThrownErrors));
    for (std::size_t i = 0; i < boxes.shown.size(); ++i) {
      EXPECT_EQ(boxes.shown[i].kind, TFakeMessageBoxes::Kind::Error);
      EXPECT_EQ(boxes.shown[i].text, kThrownErrors[i].text) << kThrownErrors[i].name;
    }
    EXPECT_EQ(probe.passed, 1) << "the message after the errors gets through";
  }
}

// A subclassed control whose peer cannot be found (its property lost) is
// still served by its class's own procedure.
TEST(CallbackErrors, ASubclassedControlWithoutItsPeerKeepsItsOwnProcedure) {
  TFaultForm form;
  TListBox list(&form, 8, 8, 100, 80);
  list.SetItems({L"раз", L"два", L"три"});
  ASSERT_TRUE(RemovePropW(H(list), win32::kPeerProp));
  EXPECT_EQ(SendMessageW(H(list), LB_GETCOUNT, 0, 0), 3) << "DefWindowProc would answer 0";
  EXPECT_EQ(SendMessageW(H(list), LB_SETCURSEL, 1, 0), 1);
  EXPECT_EQ(SendMessageW(H(list), LB_GETCURSEL, 0, 0), 1);
}

}  // namespace
