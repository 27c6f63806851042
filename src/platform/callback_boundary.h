// The edge between the system's frames and the program's. Windows calls
// the program back (window procedures, a thread's procedure) from code that
// knows nothing of C++ exceptions: one that unwinds into it ends the process
// or leaves the system's state half changed. So every such function is
// noexcept and runs its body through Guarded, which hands an error that
// reaches it to the error report; the program goes on. The event dispatcher
// of the control library runs every handler the same way.
#pragma once

#include <atomic>
#include <string>

#include "platform/errors.h"

// Where an error that reaches the edge is told: the control library installs
// its error report (SetErrorReport). Until then, and after nullptr, such an
// error is dropped. Set and called on the window thread only.
using TErrorReportHook = void (*)(const std::wstring& text) noexcept;
void SetErrorReportHook(TErrorReportHook hook) noexcept;


// Hands the error being handled to the report. Only inside a catch block.
void ReportCurrentError() noexcept;

// Runs `body`; true when it finished, false when an error ended it and was
// handed to the report.
template <typename TBody>
bool Guarded(TBody&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    ReportCurrentError();
    return false;
  }
}

// The boundary of a thread other than the window thread. An error may not
// be told there: the report is a message box, which would open unowned with
// a loop of its own beside the window thread's, and the report's hook and
// records belong to the window thread. So the thread keeps the text here
// and wakes the window thread (a posted message), which tells it.
class TPostedError {
 public:
  TPostedError() = default;
  ~TPostedError() { delete text_.exchange(nullptr); }
  TPostedError(const TPostedError&) = delete;
  TPostedError& operator=(const TPostedError&) = delete;

  // On the other thread: runs `body`; true when it finished, false when an
  // error ended it and its text is kept (in place of one not told yet).
  template <typename TBody>
  bool Guarded(TBody&& body) noexcept {
    try {
      body();
      return true;
    } catch (...) {
      Keep();
      return false;
    }
  }
  // On the window thread: tells the kept error, if there is one, once.
  void Report() noexcept;

 private:
  void Keep() noexcept;

  // Handed over whole by one atomic exchange: no lock, and no thread
  // library, for an error that should never happen.
  std::atomic<std::wstring*> text_{nullptr};
};
