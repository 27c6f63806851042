// The palette: which look wins, and whether every text of the windows stays
// readable on its ground in the dark one.
#include "controls/palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(Palette, HighContrastWinsOverDark) {
  const struct {
    bool contrast, dark;
    TScheme scheme;
  } cases[] = {
      {false, false, TScheme::Light},
      {false, true, TScheme::Dark},
      {true, false, TScheme::HighContrast},
      {true, true, TScheme::HighContrast},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ChooseScheme(c.contrast, c.dark), c.scheme) << c.contrast << c.dark;
  }
}

int R(TColor c) { return static_cast<int>(c & 0xFF); }
int G(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// The readability guidelines' relative luminance and contrast ratio.
double Luminance(TColor c) {
  const auto lin = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * lin(R(c)) + 0.7152 * lin(G(c)) + 0.0722 * lin(B(c));
}
double Ratio(TColor a, TColor b) {
  const double x = Luminance(a), y = Luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Every text the windows draw on a ground of their own (the caption strip,
// the clock, the "_" and "X" images, the about dialog, the labels and the
// standard controls), and a few colours a window could be given next.
TEST(Palette, EveryTextReadsOnItsGroundInTheDark) {
  const struct {
    const char* what;
    TColor text, ground;
  } cases[] = {
      {"title on the strip's edge", clWhite, clCaptionText},
      {"title on the strip's centre", clWhite, clGradientActiveCaption},
      {"the images' glyphs", clHighlight, clSkyBlue},
      {"the clock", clBlue, clBtnFace},
      {"the about dialog's title", clMaroon, clMoneyGreen},
      {"the about dialog's texts", clBlack, clMoneyGreen},
      {"labels", clWindowText, clBtnFace},
      {"fields", clWindowText, clWindow},
      {"red on a field", clRed, clWindow},
      {"green on a panel", clGreen, clBtnFace},
      {"navy on sky blue", clNavy, clSkyBlue},
      {"purple on white", clPurple, clWhite},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TColor ground = dark::Ground(c.ground);
    const TColor ink = dark::Ink(c.text);
    EXPECT_LT(Luminance(ground), 0.05) << std::hex << ground;  // dark: no bright area
    EXPECT_GE(Ratio(ink, ground), 4.5) << std::hex << ink << " on " << ground;
    // The shadow under an embossed text is darker than the text itself.
    EXPECT_LT(Luminance(dark::Shade(c.text)), Luminance(ink));
  }
  // The palette's own pairs: text on windows and fields, and the grey of
  // disabled texts still apart from the ground.
  EXPECT_GE(Ratio(dark::kText, dark::kFace), 12.0);
  EXPECT_GE(Ratio(dark::kText, dark::kField), 10.0);
  EXPECT_GE(Ratio(dark::kGrayText, dark::kFace), 3.0);
}

// A coloured text keeps its hue, so the windows stay recognisable; a grey
// one becomes the palette's text colour.
TEST(Palette, DarkColoursKeepTheirHue) {
  const struct {
    TColor light;
    int (*strongest)(TColor);
  } coloured[] = {{clBlue, B}, {clRed, R}, {clMaroon, R}, {clGreen, G}, {clNavy, B}};
  for (const auto& c : coloured) {
    const TColor ink = dark::Ink(c.light);
    const int top = std::max({R(ink), G(ink), B(ink)});
    EXPECT_EQ(c.strongest(ink), top) << std::hex << c.light << " -> " << ink;
    EXPECT_GT(top - std::min({R(ink), G(ink), B(ink)}), 40) << std::hex << ink;
  }
  for (const TColor grey : {clBlack, clWhite, TColor{0x808080}, clWindowText}) {
    EXPECT_EQ(dark::Ink(grey), dark::kText) << std::hex << grey;
  }
  // Grounds keep a trace of their hue: the sky-blue images stay bluish.
  const TColor sky = dark::Ground(clSkyBlue);
  EXPECT_GT(B(sky), R(sky));
  EXPECT_EQ(dark::Ground(clBtnFace), dark::kFace);
  EXPECT_EQ(dark::Ground(clWindow), dark::kField);
}

}  // namespace
