// The dark app mode on the program's real windows: the main window, the
// wake-up window, the missed alarms and a dialog paint dark grounds with
// light texts, follow a change at once when Windows announces it, and give
// way to high contrast. Wine has no dark mode of its own, so the test
// reports it through the fake and samples what each window and control
// paints into a bitmap of the test's.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/win32/printed_pixels.h"
#include "fakes/fake_dark_apps.h"
#include "fakes/fake_high_contrast.h"
#include "fakes/ui_driver.h"
#include "ui/program_windows.h"

namespace {

// What a window paints, its ground included.
std::vector<COLORREF> Pixels(HWND hwnd) { return PrintedPixels(hwnd, true); }

int Brightness(COLORREF c) { return (GetRValue(c) * 2 + GetGValue(c) * 5 + GetBValue(c)) / 8; }

// How a window and the controls in it look: the share of dark pixels, of
// bright ones, and how many are light enough to be text on a dark ground.
struct TLook {
  long long pixels = 0, dark = 0, bright = 0;
  COLORREF ground = 0;
  int DarkShare() const { return pixels ? static_cast<int>(dark * 100 / pixels) : 0; }
  int BrightShare() const { return pixels ? static_cast<int>(bright * 100 / pixels) : 0; }
};

void Add(TLook& look, const std::vector<COLORREF>& pixels) {
  for (COLORREF p : pixels) {
    ++look.pixels;
    if (Brightness(p) < 64) ++look.dark;
    if (Brightness(p) > 170) ++look.bright;
  }
}

// The form's ground and every visible control of ours in it. A combo box
// is left out: its arrow button keeps the system's colours under Wine.
TLook LookOf(const TForm& form) {
  const HWND hwnd = static_cast<HWND>(form.Peer().Handle());
  TLook look;
  const std::vector<COLORREF> ground = Pixels(hwnd);
  look.ground = ground.empty() ? 0 : ground[2];
  Add(look, ground);
  std::vector<HWND> children;
  EnumChildWindows(
      hwnd,
      [](HWND h, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  for (HWND h : children) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (!IsWindowVisible(h) || lstrcmpiW(cls, L"ComboBox") == 0 || GetParent(h) != hwnd) continue;
    Add(look, Pixels(h));
  }
  return look;
}

class TDarkOn {
 public:
  explicit TDarkOn(const TForm& any) : hwnd_(static_cast<HWND>(any.Peer().Handle())) { Set(true); }
  ~TDarkOn() { Set(false); }
  TDarkOn(const TDarkOn&) = delete;
  TDarkOn& operator=(const TDarkOn&) = delete;
  // As Windows announces a change of the app mode to every top-level window.
  void Set(bool on) {
    TestDarkApps().on = on;
    SendMessageW(hwnd_, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
    Pump();
  }

 private:
  HWND hwnd_;
};

class DarkMode : public ProgramTest {
 protected:
  // The windows a user meets: the main window, a ring, the missed alarms
  // and the settings dialog, all shown.
  std::vector<std::pair<const char*, TForm*>> ShowAll() {
    Start();
    wakeUp->ShowRing(L"Подъём! Пора вставать", true, 5);
    mainWindow().MissedForm().ShowMissed({{{akDaily, 1, 0}, 1800000000, 1, L"Подъём"}});
    settingsDialog().ShowNormal();
    Pump();
    return {{"main window", &mainWindow()},
            {"wake-up window", wakeUp.get()},
            {"missed alarms", &mainWindow().MissedForm()},
            {"settings", &settingsDialog()}};
  }
  void TearDown() override {
    settingsDialog().Hide();
    wakeUp->Hide();
    mainWindow().MissedForm().Hide();
  }
};

TEST_F(DarkMode, WindowsPaintDarkWithLightTextsAndFollowTheSwitch) {
  const auto windows = ShowAll();
  for (const auto& [what, form] : windows) {
    SCOPED_TRACE(what);
    const TLook light = LookOf(*form);
    EXPECT_GT(Brightness(light.ground), 170);
    EXPECT_GT(light.BrightShare(), 50);
  }
  {
    TDarkOn dark(mainWindow());
    for (const auto& [what, form] : windows) {
      SCOPED_TRACE(what);
      const TLook look = LookOf(*form);
      EXPECT_LT(Brightness(look.ground), 48);
      EXPECT_GT(look.DarkShare(), 80);
      // Light texts, and no more of them than texts take.
      EXPECT_GT(look.bright, 100);
      EXPECT_LT(look.BrightShare(), 12);
    }
    // A standard field is given the dark ground and the light text.
    const HWND memo = static_cast<HWND>(wakeUp->Memo.Peer().Handle());
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = SendMessageW(static_cast<HWND>(wakeUp->Peer().Handle()),
                                       WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(memo));
    EXPECT_NE(brush, 0);
    EXPECT_LT(Brightness(GetBkColor(dc)), 48);
    EXPECT_GT(Brightness(GetTextColor(dc)), 200);
    DeleteDC(dc);
  }
  // Switched back to light: every window, not only the one that heard it.
  for (const auto& [what, form] : windows) {
    SCOPED_TRACE(what);
    const TLook look = LookOf(*form);
    EXPECT_GT(Brightness(look.ground), 170);
    EXPECT_GT(look.BrightShare(), 50);
  }
}

// High contrast wins: the windows keep to the system colours the test sets.
TEST_F(DarkMode, HighContrastWinsOverDark) {
  const auto windows = ShowAll();
  const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT};
  const COLORREF colours[] = {RGB(0, 0, 128), RGB(255, 255, 0), RGB(0, 0, 128),
                              RGB(255, 255, 0)};
  COLORREF old[4];
  for (int i = 0; i < 4; ++i) old[i] = GetSysColor(elements[i]);
  SetSysColors(4, elements, colours);
  TestContrast().on = true;
  {
    TDarkOn dark(mainWindow());
    for (const auto& [what, form] : windows) {
      SCOPED_TRACE(what);
      EXPECT_EQ(LookOf(*form).ground, RGB(0, 0, 128));
    }
    // The drawn clock and the caption strip: ground and text colours alone.
    for (const TControl* c : std::vector<const TControl*>{&mainWindow().LabelTime,
                                                          &mainWindow().HEAD}) {
      const std::vector<COLORREF> pixels = Pixels(static_cast<HWND>(c->Peer().Handle()));
      // Navy, yellow, or a smoothed edge between them; never the clock's
      // blue, the strip's shading or a dark palette's grey.
      const auto stray = std::count_if(pixels.begin(), pixels.end(), [](COLORREF p) {
        return GetBValue(p) > 128 || (GetBValue(p) < 128 && GetRValue(p) == 0) ||
               GetRValue(p) != GetGValue(p);
      });
      EXPECT_EQ(stray, 0);
    }
    // The standard controls too: a field in the window colours.
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(static_cast<HWND>(wakeUp->Peer().Handle()), WM_CTLCOLOREDIT,
                 reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(wakeUp->Memo.Peer().Handle()));
    EXPECT_EQ(GetBkColor(dc), RGB(0, 0, 128));
    EXPECT_EQ(GetTextColor(dc), RGB(255, 255, 0));
    DeleteDC(dc);
  }
  TestContrast().on = false;
  SetSysColors(4, elements, old);
}

}  // namespace
