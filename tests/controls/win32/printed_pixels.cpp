#include "controls/win32/printed_pixels.h"

std::vector<COLORREF> PrintedPixels(HWND hwnd, bool withGround, int* width) {
  RECT r;
  GetClientRect(hwnd, &r);
  if (width) *width = r.right;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = r.right;
  bi.bmiHeader.biHeight = -r.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  if (withGround) SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
               withGround ? PRF_CLIENT | PRF_ERASEBKGND : PRF_CLIENT);
  GdiFlush();
  std::vector<COLORREF> out;
  const auto* px = static_cast<const DWORD*>(bits);
  for (int i = 0; i < r.right * r.bottom; ++i) {
    const DWORD p = px[i];  // 0x00RRGGBB
    out.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return out;
}
