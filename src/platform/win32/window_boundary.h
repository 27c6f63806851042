// The error boundary (platform/callback_boundary.h) as a window procedure
// needs it.
#pragma once

#include <windows.h>

#include "platform/callback_boundary.h"

namespace win32 {

// Runs a window procedure's body and returns its answer. When an error ends
// it, the error goes to the report and the answer is 0: the message counts
// as handled and nothing more is done with it (DefWindowProc would close a
// window on WM_CLOSE, for one). A paint that failed before it began leaves
// the window validated: Windows would otherwise ask for it again at once,
// and it would fail again, for ever.
template <typename TBody>
LRESULT WindowBoundary(HWND window, UINT message, TBody&& body) noexcept {
  LRESULT result = 0;
  if (Guarded([&] { result = body(); })) return result;
  if (message == WM_PAINT) ValidateRect(window, nullptr);
  return 0;
}

}  // namespace win32
