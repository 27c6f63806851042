// What reading or writing one of the program's files did. The store only
// reports; the windows decide what the user is told.
#pragma once

#include <string>

struct TLoadResult {
  enum class TWhat {
    Loaded,     // the whole record was read and is in effect
    Absent,     // there is no file: nothing changed
    NotOpened,  // the file exists but could not be opened (held, denied)
    Damaged,    // opened, but not readable whole: nothing changed
  };
  TWhat What = TWhat::Loaded;
  int Error = 0;  // the system's reason when it was not opened
};

struct TSaveResult {
  int Error = 0;  // 0: saved; otherwise the system's reason, the old file left as it was
  // The bytes of a file that could not be read were kept under this name
  // before it was replaced (empty: nothing needed keeping).
  std::wstring KeptAs;
  bool Saved() const { return Error == 0; }
};
