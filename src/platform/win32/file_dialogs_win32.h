// The open-file dialog of Windows.
#pragma once

#include "ui/services.h"

class TWin32FileDialogs : public TFileDialogs {
 public:
  std::optional<std::wstring> PickFileToOpen(TForm& owner) override;
};
