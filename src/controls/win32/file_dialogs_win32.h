// The open-file dialog of Windows.
#pragma once

#include "controls/file_dialogs.h"

class TWin32FileDialogs : public TFileDialogs {
 public:
  std::optional<std::wstring> PickFileToOpen(TForm& owner) override;
};
