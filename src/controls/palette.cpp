#include "controls/palette.h"

#include <algorithm>

TScheme ChooseScheme(bool highContrast, bool darkApps) {
  if (highContrast) return TScheme::HighContrast;
  return darkApps ? TScheme::Dark : TScheme::Light;
}

namespace dark {
namespace {

int R(TColor c) { return static_cast<int>(c & 0xFF); }
int G(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }
TColor Rgb(int r, int g, int b) {
  const auto clamp = [](int v) { return static_cast<TColor>(std::clamp(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

// Relative luminance, 0 for black and 1 for white, with the screen's gamma
// taken as 2: close enough to the readability guidelines' curve to aim by,
// without the maths library's pow in the program.
double Luminance(TColor c) {
  const auto channel = [](int v) { return v * v / 65025.0; };
  return 0.2126 * channel(R(c)) + 0.7152 * channel(G(c)) + 0.0722 * channel(B(c));
}

// How far a colour is from grey: its largest channel less its smallest.
int Chroma(TColor c) {
  return std::max({R(c), G(c), B(c)}) - std::min({R(c), G(c), B(c)});
}

// A share of the way from a colour to white (0 to 100 %).
TColor TowardWhite(TColor c, int percent) {
  const auto mix = [percent](int v) { return v + (255 - v) * percent / 100; };
  return Rgb(mix(R(c)), mix(G(c)), mix(B(c)));
}

// The colours the system colours stand for when apps are dark: Windows
// keeps its system colours light in the dark app mode, so they are not
// asked.
TColor SystemGround(TColor c) {
  if (c == clWindow) return kField;
  if (c == clGradientActiveCaption) return Rgb(38, 56, 84);  // the strip's centre
  return kFace;
}

}  // namespace

TColor Ground(TColor light) {
  if (light & kSysColor) return SystemGround(light);
  // The face colour with a third of the colour's hue over it: a sky-blue
  // picture stays bluish, a money-green dialog greenish.
  const int low = std::min({R(light), G(light), B(light)});
  const auto tint = [low](int v) { return 32 + (v - low) * 3 / 10; };
  return Rgb(tint(R(light)), tint(G(light)), tint(B(light)));
}

TColor Ink(TColor light) {
  if (light == clHighlight) return Rgb(96, 170, 255);
  if ((light & kSysColor) || Chroma(light) < 48) return kText;
  // A coloured text keeps its hue and is lightened until it reads on the
  // dark grounds as well as the guidelines ask of body text (4.5 : 1),
  // with room for the grounds' tints.
  TColor ink = TowardWhite(light, 50);
  for (int i = 0; i < 10 && Luminance(ink) < 0.36; ++i) ink = TowardWhite(ink, 20);
  return ink;
}

TColor Shade(TColor light) {
  if (light & kSysColor) return 0;
  // Nearly black, with a trace of the colour: a shadow under a light text
  // on a dark ground.
  return Rgb(R(light) / 6, G(light) / 6, B(light) / 6);
}

}  // namespace dark
