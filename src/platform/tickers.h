// Timers for the parts of the program that have no window (the ring
// session): each ticks on the window thread, also while a modal loop runs.
// The program uses the system's; tests and the simulator move them by hand.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class TTicker {
 public:
  virtual ~TTicker() = default;
  // Ticks every `intervalMs` from now on, the first time one interval from
  // now, until Stop; a new Start replaces the old one.
  virtual void Start(std::int64_t intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
  // The interval of the last Start.
  virtual std::int64_t IntervalMs() const = 0;
  // An error that escapes it goes to the error report.
  std::function<void()> OnTick;
};

class TTickers {
 public:
  virtual ~TTickers() = default;
  virtual std::unique_ptr<TTicker> Make() = 0;
};
