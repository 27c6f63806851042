// The colours of the program's own drawing in each of Windows' looks: the
// light one the windows were designed in, the dark app mode, and high
// contrast, where the user's system colours are used alone.
#pragma once

#include "controls/backend.h"

enum class TScheme { Light, Dark, HighContrast };

// High contrast wins over the dark app mode: a user who chose high
// contrast chose the exact colours to read by.
TScheme ChooseScheme(bool highContrast, bool darkApps);

// The dark palette. The windows are described in light colours; each
// colour a description gives has a dark counterpart by its role: a ground
// (the background of a window, panel, label, picture or strip), an ink (a
// text) or a shade (the shadow under an embossed text). The counterparts
// keep a trace of the colour's hue, so that the windows stay recognisable.
namespace dark {
inline constexpr TColor kFace = 0x202020;     // windows, panels: RGB(32, 32, 32)
inline constexpr TColor kField = 0x2B2B2B;    // edits and lists: RGB(43, 43, 43)
inline constexpr TColor kButton = 0x373737;   // push buttons
inline constexpr TColor kText = 0xE6E6E6;     // RGB(230, 230, 230)
inline constexpr TColor kGrayText = 0x8C8C8C; // disabled controls
inline constexpr TColor kLine = 0x646464;     // frames and edges
inline constexpr TColor kLight = 0x505050;    // the lit edge of raised text
inline constexpr TColor kAccent = 0xD77800;   // focus and selection: RGB(0, 120, 215)

TColor Ground(TColor light);
TColor Ink(TColor light);
TColor Shade(TColor light);
}  // namespace dark
