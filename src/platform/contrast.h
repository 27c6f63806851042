// Whether Windows' high contrast setting is on. While it is, the controls
// the program draws itself paint with the system colours alone, which the
// user has chosen to be readable: no gradient, no picture behind text.
#pragma once

class THighContrast {
 public:
  virtual ~THighContrast() = default;
  virtual bool On() const = 0;
};
