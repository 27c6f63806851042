// Message boxes. The Win32 half shows real ones; the headless half records
// what would have been shown and returns at once, so tests can read it.
#pragma once

#include <string>
#include <vector>

class TMessageBoxes {
 public:
  virtual ~TMessageBoxes() = default;
  // A plain box with the text and one OK button.
  virtual void ShowMessage(const std::wstring& text) = 0;
  // The default error report: error icon, the application title as caption.
  virtual void ShowErrorReport(const std::wstring& text) = 0;
};
