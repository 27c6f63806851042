// Opening a file through the shell, as a double click in Explorer would.
#pragma once

#include <string>
#include <vector>

class TShell {
 public:
  virtual ~TShell() = default;
  // The verb "open" on a file: a program starts, a document opens in its
  // program. The result is the shell's own business.
  virtual void Open(const std::wstring& file) = 0;
};
