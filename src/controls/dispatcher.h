// Every event handler and timer tick runs through DispatchEvent. An error
// that escapes a handler ends that handler's work and is shown in the
// default error report; the program goes on. No exception ever crosses a
// window procedure: those run their bodies through the same boundary
// (platform/callback_boundary.h), whose report this installs.
#pragma once

#include <functional>
#include <string>

class TMessageBoxes;

// Where the default error report goes: real message boxes in the program,
// recorded ones in tests. Must be set before the first event; errors that
// reach a window procedure or a wake timer's handler are told here too.
void SetErrorReport(TMessageBoxes* boxes);
TMessageBoxes* ErrorReport();

// Returns false when the handler ended with an error.
bool DispatchEvent(const std::function<void()>& handler) noexcept;

// Shows an error in the default error report now.
void ReportError(const std::wstring& text) noexcept;
