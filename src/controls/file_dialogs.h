// The standard open-file dialog: no filter, no title, owned by `owner`.
#pragma once

#include <optional>
#include <string>

class TForm;

class TFileDialogs {
 public:
  virtual ~TFileDialogs() = default;
  // The full path of the file the user confirmed, or nothing when the
  // dialog was cancelled.
  virtual std::optional<std::wstring> PickFileToOpen(TForm& owner) = 0;
};
