// High contrast: while it is reported on, the drawn controls paint with
// the system colours alone, and a change of the colours or of the setting
// is followed at once. Wine cannot switch high contrast on, so the test
// reports it through the fake, sets the system colours with SetSysColors
// and samples what each control paints into a bitmap of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/win32/printed_pixels.h"
#include "fakes/fake_high_contrast.h"
#include "fakes/ui_driver.h"

namespace {

// A caption strip with an embossed title, a raised clock with a frame, an
// image that acts as a button, and a sunken panel.
class TDrawn : public TForm {
 public:
  TDrawn() : TForm(L"Контраст", 60, 60, 240, 140, TBorderStyle::None) {
    Title.SetTransparent(true);
    Title.SetFont({L"Tahoma", 10, true, clWhite});
    Clock.SetBorder(true);
    Clock.SetCentered(true);
    Clock.SetFont({L"Arial", 10, false, clBlue, true});
    Min.SetFont({L"Courier New", 12, false, clHighlight});
    Min.SetColor(clSkyBlue);
  }
  ~TDrawn() override { Hide(); }
  TGradientStrip Strip{this, 0, 0, 240, 25, clCaptionText, clGradientActiveCaption};
  TLabel Title{&Strip, 0, 0, 99, 25, L"Tivorra", TLabel::Embossed};
  TTextImage Min{this, 200, 0, 25, 25, L"_"};
  TLabel Clock{this, 8, 32, 113, 57, L"Время 7:05:09\rДата 08.12.2026", TLabel::Raised};
  TPanel Box{this, 130, 32, 100, 100, TBevel::Sunken};
};

// The pixels a control paints, row by row; `width` is the row's length.
std::vector<COLORREF> Pixels(const TControl& c, int* width = nullptr) {
  return PrintedPixels(static_cast<HWND>(c.Peer().Handle()), false, width);
}

// Whether a pixel is the ground, the text, or the text's smoothed edge
// between them: each channel between the two colours'.
bool Between(COLORREF p, COLORREF a, COLORREF b) {
  const auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
  return in(GetRValue(p), GetRValue(a), GetRValue(b)) &&
         in(GetGValue(p), GetGValue(a), GetGValue(b)) &&
         in(GetBValue(p), GetBValue(a), GetBValue(b));
}

int Stray(const std::vector<COLORREF>& pixels, COLORREF ground, COLORREF text) {
  return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [&](COLORREF p) {
    return !Between(p, ground, text);
  }));
}

// Sets the system colours for the test and puts the old ones back after.
class TSystemColours {
 public:
  TSystemColours(std::vector<int> elements, std::vector<COLORREF> colours)
      : elements_(std::move(elements)) {
    for (int e : elements_) old_.push_back(GetSysColor(e));
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colours.data());
  }
  ~TSystemColours() {
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), old_.data());
  }
  TSystemColours(const TSystemColours&) = delete;
  TSystemColours& operator=(const TSystemColours&) = delete;

 private:
  std::vector<int> elements_;
  std::vector<COLORREF> old_;
};

class TContrastOn {
 public:
  TContrastOn() { TestContrast().on = true; }
  ~TContrastOn() { TestContrast().on = false; }
  TContrastOn(const TContrastOn&) = delete;
  TContrastOn& operator=(const TContrastOn&) = delete;
};

constexpr COLORREF kFace = RGB(0, 0, 0), kText = RGB(255, 255, 0), kWindow = RGB(0, 0, 96),
                   kWindowText = RGB(0, 255, 0), kHighlight = RGB(0, 255, 255);

TEST(HighContrast, DrawnControlsPaintWithTheSystemColoursAlone) {
  const TSystemColours colours(
      {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT},
      {kFace, kText, kWindow, kWindowText, kHighlight});
  TDrawn f;
  f.ShowNormal();
  Pump();
  const struct {
    const char* what;
    const TControl& control;
  } cases[] = {
      {"strip", f.Strip}, {"title on it", f.Title}, {"image", f.Min},
      {"clock", f.Clock}, {"panel", f.Box},
  };
  // Off, the strip's gradient and the coloured texts are not the system's.
  EXPECT_GT(Stray(Pixels(f.Strip), kFace, kText), 0);
  EXPECT_GT(Stray(Pixels(f.Title), kFace, kText), 0);

  const TContrastOn on;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    int width = 0;
    const std::vector<COLORREF> pixels = Pixels(c.control, &width);
    ASSERT_GT(pixels.size(), static_cast<std::size_t>(3 * width));
    EXPECT_EQ(Stray(pixels, kFace, kText), 0);
    // The ground is the face colour: inside the frames at the top left.
    EXPECT_EQ(pixels[static_cast<std::size_t>(2 * width + 2)], kFace);
  }
  // The texts and frames are there, in the text colour.
  for (const TControl* c : std::vector<const TControl*>{&f.Clock, &f.Min, &f.Title}) {
    const std::vector<COLORREF> pixels = Pixels(*c);
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), kText), 10);
  }
}

TEST(HighContrast, AChangeIsFollowedAtOnce) {
  TDrawn f;
  f.ShowNormal();
  Pump();
  const HWND strip = static_cast<HWND>(f.Strip.Peer().Handle());
  const HWND form = static_cast<HWND>(f.Peer().Handle());
  const auto invalidated = [&](HWND h) {
    RECT r{};
    return GetUpdateRect(h, &r, FALSE) && !IsRectEmpty(&r);
  };
  // The setting turned on: Windows tells every top-level window.
  ValidateRect(strip, nullptr);
  const TContrastOn on;
  SendMessageW(form, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_TRUE(invalidated(strip));
  Pump();
  // New system colours: Windows tells every top-level window (SetSysColors
  // under Wine 8 sends nothing), and the strip paints in them.
  ValidateRect(strip, nullptr);
  const TSystemColours colours({COLOR_BTNFACE, COLOR_BTNTEXT}, {RGB(0, 0, 128), RGB(255, 255, 255)});
  SendMessageW(form, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(invalidated(strip));
  Pump();
  const std::vector<COLORREF> pixels = Pixels(f.Strip);
  EXPECT_EQ(Stray(pixels, RGB(0, 0, 128), RGB(255, 255, 255)), 0);
  EXPECT_EQ(pixels.front(), RGB(0, 0, 128));
  EXPECT_EQ(pixels.back(), RGB(255, 255, 255));  // the line under it
}

}  // namespace
