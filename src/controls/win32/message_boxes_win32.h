#pragma once

#include "controls/message_boxes.h"

// Real message boxes, owned by the program's active window so that they
// stay in front of it.
class TWin32MessageBoxes : public TMessageBoxes {
 public:
  void ShowMessage(const std::wstring& text) override;
  void ShowErrorReport(const std::wstring& text) override;
};
