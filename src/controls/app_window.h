// The application as a whole, as the taskbar and the tray see it.
#pragma once

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
