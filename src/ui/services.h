// What the windows need from outside themselves. The program passes the
// Win32 implementations; tests pass recording ones and fresh records.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TMessageBoxes;
class TClock;
class TShell;
class TRunValue;
class TRegionalFormats;
class TMediaBackend;
class TWakeTimer;
class TPower;
class TAudioOutput;
class TForm;
namespace fileio {
class TFileSystem;
}

// The application as a whole, as the taskbar and the tray see it.
class TApplicationWindow {
 public:
  virtual ~TApplicationWindow() = default;
  // Minimises the program; does nothing when it already is.
  virtual void Minimize() = 0;
  virtual bool Minimized() const = 0;
  // Leaves the minimised state; does nothing when it is not minimised.
  virtual void Restore() = 0;
  // The program's last active window comes to the front when it can.
  virtual void BringToFront() = 0;
  // Posts the quit message: the message loop ends, the process exits.
  virtual void Terminate() = 0;
};

// The standard open-file dialog: no filter, no title, owned by `owner`.
class TFileDialogs {
 public:
  virtual ~TFileDialogs() = default;
  // The full path of the file the user confirmed, or nothing when the
  // dialog was cancelled.
  virtual std::optional<std::wstring> PickFileToOpen(TForm& owner) = 0;
};

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
};
