// What a window paints into a bitmap of the test's, row by row, as the
// window paints it for WM_PRINTCLIENT: the pixels a user would see of it,
// read without the screen.
#pragma once

#include <windows.h>

#include <vector>

// `withGround` sends WM_ERASEBKGND first, for windows whose ground is
// painted apart from their content; `width` receives a row's length.
std::vector<COLORREF> PrintedPixels(HWND hwnd, bool withGround, int* width = nullptr);
