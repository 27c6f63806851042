// Every event handler and timer tick runs through DispatchEvent. An error
// that escapes a handler ends that handler's work and is shown in the
// default error report; the program goes on. No exception ever crosses a
// window procedure.
#pragma once

#include <functional>
#include <string>

class TMessageBoxes;

// Where the default error report goes: real message boxes in the program,
// recorded ones in tests. Must be set before the first event; it also
// sends the wake timer's events through DispatchEvent.
void SetErrorReport(TMessageBoxes* boxes);
TMessageBoxes* ErrorReport();

// Returns false when the handler ended with an error.
bool DispatchEvent(const std::function<void()>& handler) noexcept;

// Shows an error in the default error report now.
void ReportError(const std::wstring& text) noexcept;

// The text an escaped exception shows.
std::wstring ErrorText(const std::exception& e);
