// What the windows need from outside themselves. The program passes the
// Win32 implementations; tests pass recording ones and fresh records.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/app_window.h"
#include "controls/file_dialogs.h"

class TMessageBoxes;
class TClock;
class TShell;
class TRunValue;
class TRegionalFormats;
class TMediaBackend;
class TWakeTimer;
class TPower;
class TAudioOutput;
class TTickers;
class TRandomSource;
namespace fileio {
class TFileSystem;
}

struct TServices {
  TMessageBoxes& Boxes;
  TClock& Clock;
  TShell& Shell;
  TRunValue& RunValue;
  TRegionalFormats& Formats;
  TApplicationWindow& App;
  std::wstring ExePath;
  std::vector<std::wstring> Params;
  std::function<std::unique_ptr<TMediaBackend>()> MakeMediaBackend;
  TWakeTimer& WakeTimer;
  TFileDialogs& FileDialogs;
  TPower& Power;
  TAudioOutput& Audio;
  // How the program's own files are read and written.
  fileio::TFileSystem& Files;
  // Timers of the parts that have no window.
  TTickers& Tickers;
  // Picks the tune of an alarm that plays a whole section.
  TRandomSource& Random;
};
